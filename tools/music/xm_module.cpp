#include "tools/music/xm_module.h"

#include <algorithm>
#include <stdexcept>

namespace {

// Little-endian byte writer with fixed-width text fields.
class ByteWriter {
public:
    void u8(unsigned v) { bytes.push_back(uint8_t(v)); }
    void u16(unsigned v) { u8(v & 0xFF); u8(v >> 8); }
    void u32(uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); }
    void text(const std::string &s, size_t width, char pad = '\0') {
        for (size_t i = 0; i < width; ++i) u8(i < s.size() ? s[i] : pad);
    }
    void zeros(size_t n) { bytes.insert(bytes.end(), n, 0); }
    size_t size() const { return bytes.size(); }
    std::vector<uint8_t> bytes;
};

}  // namespace

// Size of the song header, counted from its own size field.
static constexpr uint32_t SONG_HEADER_SIZE = 276;
// FastTracker 2 writes instrument headers of 263 bytes; the tail is reserved.
static constexpr uint32_t INSTRUMENT_HEADER_SIZE = 263;
static constexpr uint32_t SAMPLE_HEADER_SIZE = 40;

// A cell is packed as a flag byte (high bit set) naming the fields that
// follow, unless all five follow, in which case they are written plainly.
static void packCell(ByteWriter &out, const XmCell &c) {
    unsigned flags = (c.note ? 1 : 0) | (c.instrument ? 2 : 0) | (c.volume ? 4 : 0) |
                     (c.effect ? 8 : 0) | (c.param ? 16 : 0);
    if (flags != 31) out.u8(0x80 | flags);
    if (c.note) out.u8(c.note);
    if (c.instrument) out.u8(c.instrument);
    if (c.volume) out.u8(c.volume);
    if (c.effect) out.u8(c.effect);
    if (c.param) out.u8(c.param);
}

static void writePattern(ByteWriter &out, const XmPattern &p) {
    ByteWriter packed;
    for (const XmCell &c : p.cells) packCell(packed, c);
    if (packed.size() > 0xFFFF) throw std::runtime_error("pattern too large to pack");
    out.u32(9);                         // pattern header length
    out.u8(0);                          // packing type
    out.u16(p.rows);
    out.u16(unsigned(packed.size()));
    out.bytes.insert(out.bytes.end(), packed.bytes.begin(), packed.bytes.end());
}

static void writeEnvelopePoints(ByteWriter &out, const XmEnvelope &e) {
    for (size_t i = 0; i < 12; ++i) {
        out.u16(i < e.points.size() ? e.points[i].tick : 0);
        out.u16(i < e.points.size() ? e.points[i].value : 0);
    }
}

// Envelope flags: bit 0 on, bit 1 sustain, bit 2 loop.
static unsigned envelopeType(const XmEnvelope &e) {
    if (e.points.empty()) return 0;
    return 1 | (e.sustain >= 0 ? 2 : 0) | (e.loopStart >= 0 ? 4 : 0);
}

static void writeInstrument(ByteWriter &out, const XmInstrument &ins) {
    const XmEnvelope &vol = ins.volumeEnvelope;
    const XmEnvelope &pan = ins.panningEnvelope;
    if (vol.points.size() > 12 || pan.points.size() > 12) throw std::runtime_error("envelope has more than 12 points");
    size_t start = out.size();
    out.u32(INSTRUMENT_HEADER_SIZE);
    out.text(ins.name, 22);
    out.u8(0);                          // instrument type
    out.u16(1);                         // one sample
    out.u32(SAMPLE_HEADER_SIZE);
    out.zeros(96);                      // every note plays sample 0
    writeEnvelopePoints(out, vol);
    writeEnvelopePoints(out, pan);
    out.u8(unsigned(vol.points.size()));
    out.u8(unsigned(pan.points.size()));
    out.u8(std::max(vol.sustain, 0));
    out.u8(std::max(vol.loopStart, 0));
    out.u8(std::max(vol.loopEnd, 0));
    out.u8(std::max(pan.sustain, 0));
    out.u8(std::max(pan.loopStart, 0));
    out.u8(std::max(pan.loopEnd, 0));
    out.u8(envelopeType(vol));
    out.u8(envelopeType(pan));
    out.u8(ins.vibratoType);
    out.u8(ins.vibratoSweep);
    out.u8(ins.vibratoDepth);
    out.u8(ins.vibratoRate);
    out.u16(ins.fadeout);
    out.zeros(INSTRUMENT_HEADER_SIZE - (out.size() - start));

    const XmSample &s = ins.sample;
    out.u32(uint32_t(s.data.size()));
    out.u32(s.loopLength ? s.loopStart : 0);
    out.u32(s.loopLength);
    out.u8(s.volume);
    out.u8(uint8_t(s.finetune));
    out.u8(s.loopLength ? (s.pingPong ? 2 : 1) : 0);
    out.u8(s.panning);
    out.u8(uint8_t(s.relativeNote));
    out.u8(0);                          // plain delta encoding
    out.text(s.name, 22);

    // Each byte holds the difference to the previous sample, wrapping.
    int8_t previous = 0;
    for (int8_t v : s.data) {
        out.u8(uint8_t(v - previous));
        previous = v;
    }
}

std::vector<uint8_t> writeXm(const XmModule &m) {
    if (m.orders.empty() || m.orders.size() > 256) throw std::runtime_error("order list must hold 1..256 entries");
    ByteWriter out;
    out.text("Extended Module: ", 17);
    out.text(m.name, 20, ' ');
    out.u8(0x1A);
    out.text(m.tracker, 20, ' ');
    out.u16(0x0104);
    out.u32(SONG_HEADER_SIZE);
    out.u16(unsigned(m.orders.size()));
    out.u16(m.restartPosition);
    out.u16(m.channels);
    out.u16(unsigned(m.patterns.size()));
    out.u16(unsigned(m.instruments.size()));
    out.u16(1);                         // linear frequency table
    out.u16(m.speed);
    out.u16(m.bpm);
    for (size_t i = 0; i < 256; ++i) out.u8(i < m.orders.size() ? m.orders[i] : 0);
    for (const XmPattern &p : m.patterns) writePattern(out, p);
    for (const XmInstrument &ins : m.instruments) writeInstrument(out, ins);
    return out.bytes;
}
