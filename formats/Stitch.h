// Decoded stitches and the constants of the PEC stitch encoding that every stitch decoder and
// encoder of the program shares.
//
// Units: every coordinate is an integer in PEC units of 0.1 mm, x to the right, y downwards.
//
// The encoding: stitch data is a sequence of records. 0xFF 0x00 ends the data; 0xFE 0xB0 n is a
// colour change (n is skipped); anything else is a stitch record, dx then dy, each either
//  - short form: one byte with bit 7 clear, a 7-bit two's complement value (-64..63), or
//  - long form: two bytes h l with bit 7 of h set, ((h & 0x0F) << 8) | l as a 12-bit two's
//    complement value (-2048..2047); bits 0x70 of h are flags (0x10 jump, 0x20 trim, 0x40 kept).
// The tests are made in that order on the first two bytes of a record, so 0xFF 0x05 or 0xFE 0x20
// start a long-form dx. A stitch is "long" when either value is in long form; long stitches are
// movements without a visible stitch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pec {

// Record markers.
constexpr uint8_t kEndByte0 = 0xFF;
constexpr uint8_t kEndByte1 = 0x00;
constexpr uint8_t kColorChangeByte0 = 0xFE;
constexpr uint8_t kColorChangeByte1 = 0xB0;
constexpr std::size_t kColorChangeSize = 3;  // 0xFE 0xB0 n

// High byte of a long-form value.
constexpr uint8_t kLongFormBit = 0x80;
constexpr uint8_t kJumpFlag = 0x10;
constexpr uint8_t kTrimFlag = 0x20;
constexpr uint8_t kUnusedFlag = 0x40;  // carried along, no meaning to us
constexpr uint8_t kFlagMask = 0x70;
// High nibbles written by the stitch edits: plain long form, and long form with the jump flag.
constexpr uint8_t kLongNibble = 0x80;
constexpr uint8_t kLongJumpNibble = 0x90;

// Value ranges of the two forms.
constexpr int kShortMin = -64;
constexpr int kShortMax = 63;
constexpr int kLongMin = -2048;
constexpr int kLongMax = 2047;

// Layout of the PES container and its PEC block, as read. P is the PEC offset (uint32 at byte 8).
constexpr std::size_t kPesMagicSize = 4;       // "#PES"
constexpr std::size_t kPesVersionOffset = 4;   // four ASCII digits
constexpr std::size_t kPesPecOffsetField = 8;  // uint32 little-endian
constexpr std::size_t kPesHeaderSize = 12;
constexpr std::size_t kPecColorCountOffset = 48;       // number of colours - 1
constexpr std::size_t kPecColorListOffset = 49;        // palette indexes in stitching order
constexpr std::size_t kPecGraphicsLengthOffset = 514;  // L, 24-bit: graphics at P + 513 + L
constexpr std::size_t kPecWidthOffset = 520;           // uint16
constexpr std::size_t kPecHeightOffset = 522;          // uint16
constexpr std::size_t kPecLeftOffset = 528;            // big-endian origin offset of the left edge
constexpr std::size_t kPecTopOffset = 530;             // same form, top edge
constexpr std::size_t kPecHeaderSize = 532;            // stitch data starts at P + 532
constexpr std::size_t kPecGraphicsBase = 513;          // graphics offset = P + 513 + L
constexpr std::size_t kPecLengthExtra = 19;            // L = stitch data length + 19

// The thread palette has 65 entries; 0 is the fall-back, 1..64 are real threads.
constexpr int kPaletteSize = 65;

// Stitch types of a decoded stitch.
enum StitchType : uint8_t { kNormal = 0, kJump = 1, kTrim = 2 };

// Whether a byte starts a long-form value.
inline bool isLong(uint8_t b) {
    return (b & kLongFormBit) != 0;
}

// Value of a short-form byte (bit 7 clear): 0x00..0x3F give 0..63, 0x40..0x7F give -64..-1.
inline int shortValue(uint8_t b) {
    return (b & 0x40) ? int(b & 0x7F) - 128 : int(b & 0x7F);
}

// Value of a long-form pair h l: 12-bit two's complement of ((h & 0x0F) << 8) | l.
inline int longValue(uint8_t h, uint8_t l) {
    int v = ((h & 0x0F) << 8) | l;
    return (v & 0x800) ? v - 4096 : v;
}

// Short form of v, stored modulo 128 in 7 bits.
inline uint8_t shortByte(int v) {
    return static_cast<uint8_t>(v & 0x7F);
}

// Long form of v (taken modulo 4096) with the given high nibble (kLongNibble or kLongJumpNibble).
inline void longBytes(int v, uint8_t nibble, uint8_t& h, uint8_t& l) {
    h = static_cast<uint8_t>(nibble | ((v >> 8) & 0x0F));
    l = static_cast<uint8_t>(v & 0xFF);
}

// Type of a stitch from the high byte of a long value: 0x10 jump, else 0x20 trim, else normal.
inline uint8_t typeFromHigh(uint8_t h) {
    if (h & kJumpFlag)
        return kJump;
    if (h & kTrimFlag)
        return kTrim;
    return kNormal;
}

}  // namespace pec

// A colour as the bytes R, G, B, A; thread colours always have A = 255.
struct Rgba {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;
};

inline bool operator==(Rgba p, Rgba q) {
    return p.r == q.r && p.g == q.g && p.b == q.b && p.a == q.a;
}
inline bool operator!=(Rgba p, Rgba q) {
    return !(p == q);
}

// One decoded stitch. x, y are absolute (0.1 mm). longForm is 1 when either value was long.
// type is pec::kNormal, pec::kJump or pec::kTrim (from the long dx high byte, replaced by the long
// dy high byte when that one carries the jump or trim flag). xFlags/yFlags are the 0x70 bits of
// the high bytes, 0 for short forms.
struct Stitch {
    int32_t x = 0;
    int32_t y = 0;
    uint8_t longForm = 0;
    uint8_t type = pec::kNormal;
    uint8_t xFlags = 0;
    uint8_t yFlags = 0;
    int32_t reserved = 0;
};

inline bool operator==(const Stitch& a, const Stitch& b) {
    return a.x == b.x && a.y == b.y && a.longForm == b.longForm && a.type == b.type &&
           a.xFlags == b.xFlags && a.yFlags == b.yFlags && a.reserved == b.reserved;
}
inline bool operator!=(const Stitch& a, const Stitch& b) {
    return !(a == b);
}

// One colour run: palette index (0..64), its opaque colour, and the stitches in stitching order.
struct StitchBlock {
    uint8_t colorIndex = 0;
    Rgba color;
    std::vector<Stitch> stitches;
};
