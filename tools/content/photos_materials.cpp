// The four material studies: polished marble, walnut boards, an amethyst
// geode cut open, and autumn leaves on the ground.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "noise.h"
#include "photos.h"

namespace {

// A soft window reflection on a polished surface, brightest along a diagonal.
double sheen(double u, double v) {
    double d = (u - v) * 0.7 + 0.15;
    return std::exp(-d * d / 0.05) * 0.5 + std::exp(-d * d / 0.004) * 0.35;
}

Shader polishedMarble() {
    return [](double u, double v) {
        double x = u * 2.5, y = v * 2.5;
        // Veins flow along turbulent bands: a sine of a warped coordinate
        // gives soft grey clouds around thin dark cores, in two directions.
        double warp = fbm2(x * 1.3, y * 1.3, 7, 901) * 1.6 + turbulence3(x * 2.0, y * 2.0, 0.5, 6, 902) * 0.9;
        double w1 = (x * 0.75 + y * 0.45) * 2.4 + warp * 1.1;
        double band1 = 1.0 - std::fabs(std::sin(w1));
        double cloud1 = std::pow(band1, 3.0), core1 = std::pow(band1, 40.0);
        double warp2 = fbm2(x * 2.2 + 4.0, y * 2.2, 6, 903) * 1.2;
        double w2 = (x * -0.4 + y * 0.9) * 4.0 + warp2 * 1.4;
        double band2 = 1.0 - std::fabs(std::sin(w2));
        double core2 = std::pow(band2, 60.0) * smoothstep(0.2, 0.6, fbm2(x * 1.5, y * 1.5, 3, 904) * 0.5 + 0.5);
        double fineWarp = turbulence3(x * 6.0, y * 6.0, 2.0, 5, 906);
        double core3 = std::pow(1.0 - std::fabs(std::sin((x * 1.1 + y * 0.3) * 9.0 + fineWarp * 4.0)), 80.0) *
                       smoothstep(0.45, 0.75, fbm2(x * 3, y * 3, 3, 907) * 0.5 + 0.5);
        double mottle = fbm2(x * 4.0, y * 4.0, 6, 905) * 0.5 + 0.5;
        // Calcite grains glint faintly in the polish.
        Cellular grain = cellular2(u * 520.0, v * 520.0, 908, 1.0);
        double grainLight = (hashUnit(grain.cellX, grain.cellY, 0, 909) - 0.5) * 0.08;
        double speckle = fbm2(u * 300.0, v * 300.0, 2, 910) * 0.025;
        Vec3 base = mix(Vec3{0.8, 0.79, 0.76}, Vec3{0.9, 0.89, 0.86}, mottle) * (1.0 + grainLight + speckle);
        Vec3 c = mix(base, Vec3{0.5, 0.5, 0.52}, cloud1 * 0.6);
        c = mix(c, Vec3{0.2, 0.2, 0.22}, core1 * 0.8);
        c = mix(c, Vec3{0.42, 0.4, 0.38}, core2 * 0.6);
        c = mix(c, Vec3{0.5, 0.45, 0.36}, core3 * 0.5);
        // Light falls from the upper left; the polish mirrors a window.
        double light = 0.85 + 0.25 * (1.0 - u * 0.5 - v * 0.5);
        return c * light + Vec3{0.9, 0.92, 1.0} * (sheen(u, v) * 0.22);
    };
}

Shader walnutGrain() {
    return [](double u, double v) {
        // Four boards side by side, each sawn from its own log: the growth
        // rings are the distance to the log's axis, which runs at a slight
        // angle to the board's face, so the rings show as arches.
        const int boards = 4;
        double bx = u * boards;
        int board = std::min(int(bx), boards - 1);
        double local = bx - board;
        double groove = smoothstep(0.0, 0.01, local) * smoothstep(1.0, 0.99, local);
        double along = v * 2.2 + board * 0.9;
        double across = (local - 0.5) * 0.55 + (hashUnit(board, 2, 0, 911) - 0.5) * 0.3;
        double depth = 0.05 + 0.08 * hashUnit(board, 0, 0, 911);
        double incline = 0.1 + 0.06 * hashUnit(board, 1, 0, 911);
        double warpA = fbm3(across * 3.0, along * 0.8, board * 3.0, 4, 912) * 0.05;
        double height = depth + (along - 1.2) * incline;
        double r = std::hypot(across + warpA, height) * 34.0;
        r += fbm3(across * 10.0, along * 2.0, board, 4, 913) * 0.35;
        double ring = r - std::floor(r);
        // Late wood: a dark band at the end of each year's ring.
        double late = smoothstep(0.5, 0.85, ring) * smoothstep(1.0, 0.9, ring);
        // Pores: short dark streaks along the grain.
        double pores = smoothstep(0.35, 0.7, fbm3(across * 260.0, along * 9.0, board * 2.0, 3, 914) * 0.5 + 0.5);
        double streak = fbm3(across * 14.0, along * 1.2, board * 5.0, 4, 915);
        double boardTone = 0.85 + 0.3 * hashUnit(board, 3, 0, 911);
        Vec3 early{0.2, 0.085, 0.035}, lateWood{0.06, 0.024, 0.01};
        Vec3 c = mix(early, lateWood, late * 0.85);
        c = c * (0.8 + 0.3 * streak) * (1.0 - 0.35 * pores) * boardTone;
        // A knot on the second board.
        if (board == 1) {
            double kx = (local - 0.62) * 4.0, ky = (v - 0.33) * 9.0;
            double kr = std::hypot(kx, ky);
            double knotRings = std::sin(kr * 18.0 + fbm2(kx * 3, ky * 3, 3, 916) * 2.0) * 0.5 + 0.5;
            double knot = smoothstep(0.9, 0.25, kr);
            c = mix(c, mix(Vec3{0.035, 0.015, 0.008}, Vec3{0.14, 0.07, 0.03}, knotRings), knot);
        }
        // Oiled finish: a warm, soft reflection of a window.
        double light = 0.95 + 0.25 * (1.0 - v);
        Vec3 lit = c * light + Vec3{1.0, 0.85, 0.65} * (sheen(u, v) * 0.16);
        return lit * (0.15 + 0.85 * groove) * 1.0;
    };
}

Shader amethystGeode() {
    return [](double u, double v) {
        double x = (u - 0.5) * 1.95, y = (v - 0.5) * 1.95;
        // The geode's outline: a lumpy ellipse.
        double angle = std::atan2(y, x);
        double lump = 1.0 + 0.1 * fbm2(std::cos(angle) * 1.5, std::sin(angle) * 1.5, 4, 921);
        double r = std::hypot(x / 0.95, y / 0.8) / lump;
        // Dark slate underneath, lit from the upper left.
        double slate = fbm2(u * 6, v * 2, 5, 922) * 0.5 + 0.5;
        Vec3 background = Vec3{0.03, 0.032, 0.038} * (0.7 + 0.5 * slate) * (1.3 - 0.6 * std::hypot(u - 0.2, v - 0.2));
        if (r > 1.0) {
            double shadow = smoothstep(1.22, 1.0, std::hypot(x / 0.95 - 0.06, y / 0.8 - 0.08) / lump);
            return background * (1.0 - 0.7 * shadow);
        }
        double wobble = fbm2(x * 3.0, y * 3.0, 5, 923) * 0.03;
        double rr = r + wobble;
        Vec3 lightDir = normalize(Vec3{-0.5, -0.6, 0.8});
        // Rough grey-brown rind, pitted.
        if (rr > 0.9) {
            double bumps = fbm2(x * 40.0, y * 40.0, 4, 924);
            double bx = fbm2(x * 40.0 + 0.02, y * 40.0, 4, 924) - bumps, by = fbm2(x * 40.0, y * 40.0 + 0.02, 4, 924) - bumps;
            Vec3 n = normalize(Vec3{-bx * 30.0, -by * 30.0, 1.0});
            double lit = 0.45 + 0.7 * std::max(dot(n, lightDir), 0.0);
            Vec3 rind = mix(Vec3{0.2, 0.17, 0.14}, Vec3{0.3, 0.27, 0.23}, fbm2(x * 6, y * 6, 3, 925) * 0.5 + 0.5);
            return rind * lit * smoothstep(1.0, 0.97, rr + 0.02);
        }
        // Agate: fine translucent bands following the outline.
        if (rr > 0.74) {
            double w = rr + fbm2(x * 12, y * 12, 3, 926) * 0.006;
            double band = std::sin(w * 420.0) * 0.5 + 0.5;
            double band2 = std::sin(w * 95.0 + 1.3) * 0.5 + 0.5;
            double band3 = smoothstep(0.8, 0.95, std::sin(w * 31.0) * 0.5 + 0.5);
            Vec3 c = mix(Vec3{0.42, 0.47, 0.55}, Vec3{0.78, 0.8, 0.84}, band * 0.6 + band2 * 0.4);
            c = mix(c, Vec3{0.93, 0.93, 0.95}, band3 * 0.7);
            c = mix(c, Vec3{0.25, 0.27, 0.35}, smoothstep(0.78, 0.74, rr) * 0.6);
            return c * 0.85;
        }
        // Crystals: each a six-sided point seen from above, small near the
        // wall and larger towards the hollow; facets lit by how they face
        // the light; colourless at the wall, deep violet inside.
        double depth = clamp01((0.74 - rr) / 0.74);
        double k = 30.0 - 14.0 * std::sqrt(depth);
        Cellular cell = cellular2(x * k, y * k, 927, 0.9);
        double h1 = hashUnit(cell.cellX, cell.cellY, 0, 928), h2 = hashUnit(cell.cellX, cell.cellY, 1, 928);
        double fx = x * k - cell.nearest.x, fy = y * k - cell.nearest.y;
        double turn = h1 * PI / 3;
        double sector = std::floor((std::atan2(fy, fx) - turn + 4 * PI) / (PI / 3));
        double facetAngle = turn + (sector + 0.5) * PI / 3;
        double steep = 0.9 + 1.0 * h2;
        Vec3 normal = normalize(Vec3{std::cos(facetAngle) * steep, std::sin(facetAngle) * steep, 1.0});
        double lambert = std::max(dot(normal, lightDir), 0.0);
        double glint = std::pow(std::max(dot(reflect(Vec3{0, 0, -1}, normal), lightDir), 0.0), 60.0);
        double tip = std::exp(-cell.f1 * cell.f1 / 0.015);
        Vec3 quartz{0.8, 0.78, 0.84}, amethyst{0.32, 0.06, 0.5}, deep{0.16, 0.02, 0.3};
        Vec3 colour = depth < 0.35 ? mix(quartz, amethyst, smoothstep(0.0, 0.35, depth)) : mix(amethyst, deep, smoothstep(0.35, 1.0, depth));
        colour = colour * (0.8 + 0.4 * hashUnit(cell.cellX, cell.cellY, 2, 928));
        Vec3 c = colour * (0.15 + 1.25 * lambert) + colour * (tip * 0.35);
        double edge = smoothstep(0.0, 0.1, cell.f2 - cell.f1);
        c = c * (0.25 + 0.75 * edge);
        c += Vec3{1.0, 0.94, 1.0} * (glint * 1.2 * edge);
        // The hollow: deep shadow at the heart of the geode.
        c = c * (1.0 - 0.6 * smoothstep(0.7, 1.0, depth));
        return c * 1.2;
    };
}

struct Leaf {
    double x, y;          // centre, image units 0..1
    double size;          // image units
    double angle;         // radians
    int kind;             // 0 maple, 1 beech
    Vec3 colour, edgeColour;
    double curl;          // how much the leaf's halves tilt (shading)
    double seed;
};

// The leaf's outline in its own frame: true when (lx, ly) lies inside. ly
// runs from the stem (negative) to the tip (positive), units of its size.
bool insideLeaf(const Leaf &leaf, double lx, double ly, double &edgeDistance) {
    double r = std::hypot(lx, ly), a = std::atan2(lx, ly);
    double outline;
    if (leaf.kind == 0) {
        // Five pointed lobes with toothed edges, a notch at the stem.
        double lobes = std::pow(std::fabs(std::cos(a * 2.5)), 1.3);
        outline = 0.23 + 0.27 * lobes;
        outline *= 1.0 - 0.35 * smoothstep(2.3, 3.14, std::fabs(a));
        outline += 0.018 * std::pow(std::fabs(std::sin(a * 22.0)), 3.0) * (0.5 + lobes);
    } else {
        // Beech: a narrow oval pointed at the tip, finely toothed.
        r = std::hypot(lx * 1.7, ly);
        a = std::atan2(lx * 1.7, ly);
        double ca = std::cos(a);
        outline = 0.46 * (0.55 + 0.45 * ca) * (1.0 - 0.3 * std::pow(std::fabs(std::sin(a)), 1.5)) + 0.01 * std::fabs(std::sin(a * 18.0));
    }
    edgeDistance = outline - r;
    return r < outline;
}

// Veins seen in the leaf's own frame: 1 on a vein, 0 between them.
double leafVeins(const Leaf &leaf, double lx, double ly) {
    if (leaf.kind == 0) {
        // Main veins run from the stem out to the five lobe tips.
        double a = std::atan2(lx, ly), r = std::hypot(lx, ly);
        double nearest = std::round(a / (2 * PI / 5)) * (2 * PI / 5);
        double off = std::sin(a - nearest) * r;
        double side = std::fabs(std::sin((r - std::fabs(off) * 1.2) * 40.0));
        return std::max(std::exp(-off * off / 0.00008), std::exp(-side * side / 0.01) * smoothstep(0.1, 0.0, std::fabs(off)) * 0.5);
    }
    double mid = std::fabs(lx);
    double side = std::fabs(std::sin((ly - mid * 0.8) * 30.0));
    return std::max(std::exp(-mid * mid / 0.00008), std::exp(-side * side / 0.006) * 0.6);
}

Shader autumnLeaves() {
    auto leaves = std::make_shared<std::vector<Leaf>>();
    Random random(777);
    const Vec3 palette[] = {{0.6, 0.05, 0.02}, {0.78, 0.18, 0.02}, {0.85, 0.38, 0.03}, {0.85, 0.58, 0.06},
                            {0.45, 0.1, 0.03}, {0.7, 0.28, 0.04}, {0.4, 0.38, 0.06}};
    for (int i = 0; i < 190; ++i) {
        Leaf l;
        l.x = random.range(-0.12, 1.12);
        l.y = random.range(-0.12, 1.12);
        l.kind = random.unit() < 0.6 ? 0 : 1;
        l.size = l.kind == 0 ? random.range(0.17, 0.3) : random.range(0.13, 0.2);
        l.angle = random.range(0, 2 * PI);
        l.colour = palette[int(random.unit() * 7) % 7] * random.range(0.8, 1.1);
        l.edgeColour = mix(l.colour, Vec3{0.3, 0.07, 0.02}, 0.6);
        l.curl = random.range(-0.3, 0.3);
        l.seed = random.range(0, 100);
        leaves->push_back(l);
    }
    // Finds the topmost leaf covering (u, v); fills its colour unless only
    // asked whether one is there.
    auto topLeaf = [leaves](double u, double v, Vec3 *colour) {
        for (int i = int(leaves->size()) - 1; i >= 0; --i) {
            const Leaf &l = (*leaves)[size_t(i)];
            double dx = u - l.x, dy = v - l.y;
            if (std::fabs(dx) > l.size * 0.75 || std::fabs(dy) > l.size * 0.75) continue;
            double ca = std::cos(l.angle), sa = std::sin(l.angle);
            double lx = (dx * ca - dy * sa) / l.size, ly = (dx * sa + dy * ca) / l.size;
            double edge;
            bool inside = insideLeaf(l, lx, ly, edge);
            // The stalk.
            bool stalk = ly < 0 && ly > -0.42 && std::fabs(lx + 0.05 * ly * ly) < 0.012;
            if (!inside && !stalk) continue;
            if (!colour) return true;
            if (!inside) {
                *colour = l.edgeColour * 0.7;
                return true;
            }
            double blotch = fbm2(lx * 5.0 + l.seed, ly * 5.0, 4, 932);
            Vec3 c = mix(l.colour, l.edgeColour, smoothstep(0.06, 0.0, edge) * 0.8 + smoothstep(0.15, 0.6, blotch) * 0.5);
            double vein = leafVeins(l, lx, ly);
            c = mix(c, c * 1.35 + Vec3{0.06, 0.05, 0.0}, vein * 0.6);
            double spots = smoothstep(0.38, 0.48, fbm2(lx * 12.0, ly * 12.0 + l.seed, 3, 933));
            c = mix(c, Vec3{0.1, 0.04, 0.015}, spots * 0.75);
            // The halves tilt towards or away from the light.
            double tilt = 1.0 + l.curl * (lx > 0 ? 1.0 : -1.0) - 0.15 * ly;
            double texture = fbm2(lx * 90.0, ly * 90.0, 2, 934);
            *colour = c * tilt * (0.9 + 0.15 * texture);
            return true;
        }
        return false;
    };
    return [topLeaf](double u, double v) {
        // Damp dark soil where no leaf lies.
        double soil = fbm2(u * 30.0, v * 30.0, 5, 931);
        Vec3 c = Vec3{0.035, 0.025, 0.018} * (0.7 + 0.6 * (soil * 0.5 + 0.5));
        Vec3 leaf;
        bool covered = topLeaf(u, v, &leaf);
        if (covered) c = leaf;
        // A soft shadow where a leaf higher in the pile blocks the light.
        double shadow = 1.0;
        if (topLeaf(u - 0.01, v - 0.014, nullptr)) shadow = covered ? 0.8 : 0.45;
        double light = 1.1 - 0.35 * std::hypot(u - 0.3, v - 0.25);
        return c * shadow * light * 1.25;
    };
}

}   // namespace

std::vector<PhotoScene> materialPhotos() {
    return {
        {"04_polished-marble.jpg", polishedMarble, {.filmic = false, .vignette = 0.22, .grain = 0.012, .seed = 501}, 0.06},
        {"10_walnut-grain.jpg", walnutGrain, {.filmic = false, .vignette = 0.25, .grain = 0.012, .seed = 502}, 0.06},
        {"16-amethyst-geode.jpg", amethystGeode, {.filmic = false, .vignette = 0.2, .grain = 0.01, .seed = 503}, 0.06},
        {"22-autumn-leaves.jpg", autumnLeaves, {.filmic = false, .vignette = 0.25, .grain = 0.012, .seed = 504}, 0.06},
    };
}
