#include "tests/music/xm_walk.h"

#include <cstring>

namespace {

class Reader {
public:
    explicit Reader(const std::vector<uint8_t> &b) : bytes(b) {}
    bool has(size_t n) const { return pos + n <= bytes.size(); }
    unsigned u8() { return has(1) ? bytes[pos++] : (ok = false, 0u); }
    unsigned u16() { unsigned lo = u8(); return lo | (u8() << 8); }
    uint32_t u32() { uint32_t lo = u16(); return lo | (uint32_t(u16()) << 16); }
    std::string text(size_t n) {
        std::string s;
        for (size_t i = 0; i < n; ++i) s += char(u8());
        return s.substr(0, s.find('\0'));
    }
    void seek(size_t to) { if (to > bytes.size()) ok = false; else pos = to; }
    size_t pos = 0;
    bool ok = true;
private:
    const std::vector<uint8_t> &bytes;
};

}  // namespace

XmWalk walkXm(const std::vector<uint8_t> &file) {
    XmWalk w;
    Reader r(file);
    if (r.text(17) != "Extended Module: ") return w.error = "no XM signature", w;
    r.text(20);
    if (r.u8() != 0x1A) return w.error = "no 0x1A after the title", w;
    r.text(20);
    w.version = int(r.u16());
    size_t headerStart = r.pos;
    uint32_t headerSize = r.u32();
    w.songLength = int(r.u16());
    w.restartPosition = int(r.u16());
    w.channels = int(r.u16());
    int patternCount = int(r.u16());
    int instrumentCount = int(r.u16());
    w.flags = int(r.u16());
    w.speed = int(r.u16());
    w.bpm = int(r.u16());
    for (int i = 0; i < 256; ++i) {
        int order = int(r.u8());
        if (i < w.songLength) w.orders.push_back(order);
    }
    r.seek(headerStart + headerSize);

    for (int p = 0; p < patternCount && r.ok; ++p) {
        size_t start = r.pos;
        uint32_t length = r.u32();
        r.u8();                         // packing type
        int rows = int(r.u16());
        size_t packedSize = r.u16();
        r.seek(start + length);
        size_t end = r.pos + packedSize;
        std::vector<XmWalkCell> cells;
        while (r.ok && r.pos < end) {
            XmWalkCell c;
            unsigned first = r.u8();
            unsigned flags = (first & 0x80) ? first : 0x1F;
            if (!(first & 0x80)) c.note = int(first);
            else if (flags & 1) c.note = int(r.u8());
            if (flags & 2) c.instrument = int(r.u8());
            if (flags & 4) c.volume = int(r.u8());
            if (flags & 8) c.effect = int(r.u8());
            if (flags & 16) c.param = int(r.u8());
            cells.push_back(c);
        }
        if (r.pos != end || cells.size() != size_t(rows) * size_t(w.channels))
            return w.error = "pattern " + std::to_string(p) + " does not unpack to rows x channels", w;
        w.patterns.push_back(std::move(cells));
    }

    for (int i = 0; i < instrumentCount && r.ok; ++i) {
        size_t start = r.pos;
        uint32_t size = r.u32();
        XmWalkInstrument ins;
        ins.name = r.text(22);
        r.u8();                         // type
        ins.samples = int(r.u16());
        uint32_t sampleHeaderSize = 0;
        if (ins.samples > 0) {
            sampleHeaderSize = r.u32();
            r.seek(start + 4 + 22 + 1 + 2 + 4 + 96 + 48 + 48 + 8);
            unsigned volumeType = r.u8(), panningType = r.u8();
            ins.volumeEnvelope = volumeType & 1;
            ins.panningEnvelope = panningType & 1;
        }
        r.seek(start + size);
        std::vector<uint32_t> lengths;
        for (int s = 0; s < ins.samples && r.ok; ++s) {
            size_t sampleStart = r.pos;
            lengths.push_back(r.u32());
            r.seek(sampleStart + sampleHeaderSize);
        }
        for (uint32_t length : lengths) {
            ins.sampleBytes += length;
            r.seek(r.pos + length);
        }
        w.instruments.push_back(ins);
    }
    w.bytesWalked = r.pos;
    if (!r.ok) w.error = "the file ends before its headers say it should";
    else if (r.pos != file.size()) w.error = std::to_string(file.size() - r.pos) + " bytes after the last sample";
    return w;
}
