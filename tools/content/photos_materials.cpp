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

}   // namespace

RgbaImage polishedMarble(const PhotoJob &job) {
    Shader shader = [](double u, double v) {
        double x = u * 3.0, y = v * 3.0;
        // Veins: thin lines where a turbulent field crosses zero, at three scales.
        double turb = turbulence3(x * 0.7, y * 0.7, 0.3, 7, 901);
        double field = std::sin((x * 0.8 + y * 1.3) * 2.2 + turb * 7.5);
        double vein = std::exp(-field * field / 0.004);
        double halo = std::exp(-field * field / 0.08);
        double turb2 = turbulence3(x * 2.1, y * 2.1, 1.7, 6, 902);
        double field2 = std::sin((x * 1.6 - y * 0.5) * 3.0 + turb2 * 6.0);
        double vein2 = std::exp(-field2 * field2 / 0.002) * smoothstep(0.2, 0.6, fbm2(x, y, 3, 903) * 0.5 + 0.5);
        double cloud = fbm2(x * 1.5, y * 1.5, 6, 904) * 0.5 + 0.5;
        double fine = fbm2(x * 40.0, y * 40.0, 3, 905);
        Vec3 base = mix(Vec3{0.72, 0.72, 0.7}, Vec3{0.86, 0.85, 0.82}, cloud);
        base = base * (0.97 + 0.03 * fine);
        // Grey veins with a golden edge, as in Calacatta.
        Vec3 c = mix(base, Vec3{0.55, 0.5, 0.42}, halo * 0.35);
        c = mix(c, Vec3{0.12, 0.12, 0.13}, vein * 0.85);
        c = mix(c, Vec3{0.35, 0.33, 0.32}, vein2 * 0.6);
        // Light falls from the upper left; the polish mirrors a window.
        double light = 0.85 + 0.25 * (1.0 - u * 0.5 - v * 0.5);
        return c * light + Vec3{0.9, 0.92, 1.0} * (sheen(u, v) * 0.25);
    };
    Finish f;
    f.filmic = false;
    f.vignette = 0.22;
    f.grain = 0.01;
    f.seed = 501;
    return renderPhoto(shader, f, job, 0.06);
}

RgbaImage walnutGrain(const PhotoJob &job) {
    Shader shader = [](double u, double v) {
        // Four boards side by side, each sawn from its own log: the growth
        // rings are the distance to the log's axis, cut by the board's face.
        const int boards = 4;
        double bx = u * boards;
        int board = std::min(int(bx), boards - 1);
        double local = bx - board;
        // A dark gap between boards.
        double gap = smoothstep(0.0, 0.012, local) * smoothstep(1.0, 0.988, local);
        double along = v * 3.0 + board * 1.7;
        double across = (local - 0.5) * 0.75;
        double depth = 0.35 + 0.25 * hashUnit(board, 0, 0, 911);
        double tilt = (hashUnit(board, 1, 0, 911) - 0.5) * 0.3;
        double warp = fbm3(across * 2.0, along * 0.6, board * 3.0, 4, 912) * 0.12;
        double r = std::hypot(across + tilt * along * 0.1 + warp, depth + along * tilt * 0.05) * 26.0;
        r += fbm3(across * 8.0, along * 3.0, board, 4, 913) * 0.6;
        double ring = r - std::floor(r);
        // Late wood: a dark band at the end of each year's ring.
        double late = smoothstep(0.55, 0.85, ring) * smoothstep(1.0, 0.88, ring);
        double pores = fbm3(across * 60.0, along * 4.0, board * 2.0, 3, 914);
        double streak = fbm3(across * 12.0, along * 0.8, board * 5.0, 4, 915);
        Vec3 early{0.34, 0.2, 0.11}, lateWood{0.12, 0.06, 0.03};
        Vec3 c = mix(early, lateWood, late * 0.8);
        c = c * (0.8 + 0.25 * streak) * (0.93 + 0.07 * pores);
        // A knot on the second board.
        double kx = (local - 0.6) * 4.0, ky = (v - 0.35) * 12.0;
        double kr = std::hypot(kx, ky);
        if (board == 1) {
            double knotRings = std::sin(kr * 14.0 + fbm2(kx * 3, ky * 3, 3, 916) * 2.0) * 0.5 + 0.5;
            double knot = smoothstep(1.0, 0.3, kr);
            c = mix(c, mix(Vec3{0.09, 0.04, 0.02}, Vec3{0.25, 0.13, 0.06}, knotRings), knot);
        }
        double light = 0.9 + 0.2 * (1.0 - v);
        Vec3 lit = c * (light * gap) + Vec3{1.0, 0.95, 0.85} * (sheen(u, v) * 0.18 * gap);
        return lit * 1.6;
    };
    Finish f;
    f.filmic = false;
    f.vignette = 0.25;
    f.grain = 0.01;
    f.seed = 502;
    return renderPhoto(shader, f, job, 0.06);
}

RgbaImage amethystGeode(const PhotoJob &job) {
    Shader shader = [](double u, double v) {
        double x = (u - 0.5) * 2.2, y = (v - 0.52) * 2.2;
        // The geode's outline: a lumpy ellipse.
        double angle = std::atan2(y, x);
        double lump = 1.0 + 0.12 * fbm2(std::cos(angle) * 1.5, std::sin(angle) * 1.5, 4, 921);
        double r = std::hypot(x / 0.95, y / 0.78) / lump;
        Vec3 background{0.02, 0.02, 0.025};
        background = background * (0.8 + 0.4 * (fbm2(u * 3, v * 3, 3, 922) * 0.5 + 0.5));
        if (r > 1.0) {
            // Soft shadow of the stone on the dark cloth.
            double shadow = smoothstep(1.25, 1.0, std::hypot(x / 0.95 - 0.05, y / 0.78 - 0.07) / lump);
            return background * (1.0 - 0.6 * shadow);
        }
        double wobble = fbm2(x * 3.0, y * 3.0, 5, 923) * 0.03;
        double rr = r + wobble;
        // Rough grey rind.
        if (rr > 0.9) {
            double grit = fbm2(x * 60.0, y * 60.0, 3, 924);
            return Vec3{0.22, 0.2, 0.18} * (0.7 + 0.4 * grit) * (0.8 + 0.4 * (fbm2(x * 5, y * 5, 3, 925) * 0.5 + 0.5));
        }
        // Agate bands following the outline, blue-grey and white.
        if (rr > 0.74) {
            double band = std::sin(rr * 160.0 + fbm2(x * 8, y * 8, 3, 926) * 2.0) * 0.5 + 0.5;
            double band2 = std::sin(rr * 47.0) * 0.5 + 0.5;
            Vec3 c = mix(Vec3{0.45, 0.5, 0.58}, Vec3{0.85, 0.86, 0.88}, band);
            c = mix(c, Vec3{0.3, 0.3, 0.4}, band2 * 0.4);
            return c * 0.9;
        }
        // Crystals: each Voronoi cell a point of quartz, facets lit differently,
        // violet deepening towards the hollow centre.
        Cellular cell = cellular2(x * 14.0, y * 14.0, 927, 0.9);
        double depth = clamp01((0.74 - rr) / 0.74);
        double h1 = hashUnit(cell.cellX, cell.cellY, 0, 928), h2 = hashUnit(cell.cellX, cell.cellY, 1, 928);
        // Facet: which side of the crystal's ridge this point is on.
        double fx = x * 14.0 - cell.nearest.x, fy = y * 14.0 - cell.nearest.y;
        double facetAngle = std::atan2(fy, fx) + h1 * 6.283;
        double facet = std::floor((facetAngle + 12.566) / 1.0472);
        double facetLight = hashUnit(int(facet), cell.cellX, cell.cellY, 929);
        Vec3 violet = mix(Vec3{0.62, 0.48, 0.72}, Vec3{0.2, 0.03, 0.35}, smoothstep(0.0, 0.8, depth));
        Vec3 c = violet * (0.45 + 0.9 * facetLight) * (0.7 + 0.3 * h2);
        // Edges between crystals darker, highlights on some facets.
        double edge = smoothstep(0.0, 0.08, cell.f2 - cell.f1);
        c = c * (0.35 + 0.65 * edge);
        c += Vec3{1.0, 0.9, 1.0} * (std::pow(facetLight, 14.0) * 0.8 * edge);
        // The hollow: deep shadow at the heart of the geode.
        c = c * (1.0 - 0.75 * smoothstep(0.55, 1.0, depth));
        return c * 1.3;
    };
    Finish f;
    f.filmic = false;
    f.vignette = 0.2;
    f.grain = 0.01;
    f.seed = 503;
    return renderPhoto(shader, f, job, 0.06);
}

namespace {

struct Leaf {
    double x, y;          // centre, image units 0..1
    double size;          // image units
    double angle;         // radians
    int kind;             // 0 maple, 1 oval
    Vec3 colour, edgeColour;
    double curl;          // how much the leaf's halves tilt (shading)
};

// The leaf's outline in its own frame: true when (lx, ly) lies inside. ly
// runs from the stem (negative) to the tip (positive), units of its size.
bool insideLeaf(const Leaf &leaf, double lx, double ly, double &edgeDistance) {
    double r = std::hypot(lx, ly), a = std::atan2(lx, ly);
    double outline;
    if (leaf.kind == 0) {
        // Five pointed lobes.
        double lobes = std::pow(std::fabs(std::cos(a * 2.5)), 0.6);
        outline = 0.32 + 0.18 * lobes - 0.08 * smoothstep(2.2, 3.14, std::fabs(a));
        double teeth = 0.015 * std::sin(a * 40.0);
        outline += teeth;
    } else {
        // An oval pointed at the tip.
        double ca = std::cos(a);
        outline = 0.42 * (0.55 + 0.45 * ca) * (1.0 - 0.25 * std::fabs(std::sin(a))) + 0.008 * std::sin(a * 30.0);
    }
    edgeDistance = outline - r;
    return r < outline;
}

}   // namespace

RgbaImage autumnLeaves(const PhotoJob &job) {
    auto leaves = std::make_shared<std::vector<Leaf>>();
    Random random(777);
    const Vec3 palette[] = {{0.55, 0.06, 0.02}, {0.75, 0.22, 0.02}, {0.8, 0.45, 0.04}, {0.7, 0.55, 0.08},
                            {0.35, 0.12, 0.03}, {0.5, 0.3, 0.05}, {0.3, 0.35, 0.05}};
    for (int i = 0; i < 230; ++i) {
        Leaf l;
        l.x = random.range(-0.1, 1.1);
        l.y = random.range(-0.1, 1.1);
        l.size = random.range(0.12, 0.24);
        l.angle = random.range(0, 2 * PI);
        l.kind = random.unit() < 0.55 ? 0 : 1;
        l.colour = palette[int(random.unit() * 7) % 7];
        l.colour = l.colour * random.range(0.8, 1.15);
        l.edgeColour = mix(l.colour, Vec3{0.25, 0.08, 0.02}, 0.6);
        l.curl = random.range(-0.35, 0.35);
        leaves->push_back(l);
    }
    Shader shader = [leaves](double u, double v) {
        // Damp soil and a few blades of grass beneath.
        double soil = fbm2(u * 30.0, v * 30.0, 5, 931);
        Vec3 c = Vec3{0.04, 0.03, 0.02} * (0.7 + 0.6 * (soil * 0.5 + 0.5));
        // Shadow: leaves above this point, shifted towards the light.
        double shadow = 1.0;
        // Walk the leaves from the top of the pile (last) down to the first that covers this point.
        for (int pass = 0; pass < 2; ++pass) {
            double su = pass == 0 ? u : u - 0.012, sv = pass == 0 ? v : v - 0.018;
            for (int i = int(leaves->size()) - 1; i >= 0; --i) {
                const Leaf &l = (*leaves)[size_t(i)];
                double dx = su - l.x, dy = sv - l.y;
                if (std::fabs(dx) > l.size || std::fabs(dy) > l.size) continue;
                double ca = std::cos(l.angle), sa = std::sin(l.angle);
                double lx = (dx * ca - dy * sa) / l.size, ly = (dx * sa + dy * ca) / l.size;
                double edge;
                if (!insideLeaf(l, lx, ly, edge)) continue;
                if (pass == 1) {
                    shadow = 0.45;
                    break;
                }
                // Veins: the midrib and side veins running out to the edge.
                double mid = std::fabs(lx);
                double side = std::fabs(std::sin((ly - mid * 0.9) * 26.0));
                double vein = std::max(std::exp(-mid * mid / 0.0001), std::exp(-side * side / 0.01) * smoothstep(0.3, 0.0, mid) * 0.5);
                double blotch = fbm2(lx * 6.0 + i, ly * 6.0, 4, 932);
                Vec3 colour = mix(l.colour, l.edgeColour, smoothstep(0.05, 0.0, edge) * 0.7 + smoothstep(0.1, 0.5, blotch) * 0.4);
                colour = mix(colour, colour * 1.5 + Vec3{0.08, 0.06, 0.0}, vein * 0.5);
                // Brown spots.
                double spots = smoothstep(0.35, 0.45, fbm2(lx * 14.0, ly * 14.0 + i, 3, 933));
                colour = mix(colour, Vec3{0.12, 0.05, 0.02}, spots * 0.7);
                // The leaf's two halves tilt: one catches more light.
                double tiltLight = 1.0 + l.curl * (lx > 0 ? 1.0 : -1.0);
                double fineTex = fbm2(lx * 80.0, ly * 80.0, 2, 934);
                c = colour * tiltLight * (0.9 + 0.15 * fineTex);
                // The stem.
                (void)0;
                break;
            }
            if (pass == 0 && c.x == 0 && c.y == 0) break;
        }
        double light = 1.05 - 0.3 * std::hypot(u - 0.3, v - 0.25);
        return c * shadow * light * 1.2;
    };
    Finish f;
    f.filmic = false;
    f.vignette = 0.25;
    f.grain = 0.012;
    f.seed = 504;
    return renderPhoto(shader, f, job, 0.06);
}
