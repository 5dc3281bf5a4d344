// Hand-made blocks with pixels worked out from the formats' definitions
// (endpoint widening, interpolation weights, anchors, P-bits, rotation).
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <utility>

#include "formats/bc_decode.h"

namespace mevra {
namespace {

// Writes fields least significant bit first, as BC7 stores them.
struct bit_writer {
    uint8_t bytes[16] = {};
    int pos = 0;
    void put(uint32_t value, int count) {
        for (int i = 0; i < count; ++i, ++pos)
            if (value >> i & 1)
                bytes[pos >> 3] = static_cast<uint8_t>(bytes[pos >> 3] | 1 << (pos & 7));
    }
    void fields(std::initializer_list<uint32_t> values, int count) {
        for (uint32_t v : values)
            put(v, count);
    }
    // Sixteen indices; the anchors' top bit is not stored.
    void indices(std::initializer_list<std::pair<int, uint32_t>> set, int bits,
                 std::initializer_list<int> anchors) {
        uint32_t idx[16] = {};
        for (auto [p, v] : set)
            idx[p] = v;
        for (int p = 0; p < 16; ++p) {
            bool anchor = false;
            for (int a : anchors)
                anchor = anchor || a == p;
            put(idx[p], anchor ? bits - 1 : bits);
        }
    }
};

// Sixteen 3-bit codes, pixel 0 lowest, as six bytes.
void put_codes(uint8_t* at, const uint32_t (&codes)[16]) {
    uint64_t bits = 0;
    for (int p = 0; p < 16; ++p)
        bits |= uint64_t{codes[p]} << (3 * p);
    for (int k = 0; k < 6; ++k)
        at[k] = static_cast<uint8_t>(bits >> (8 * k));
}

std::array<uint32_t, 16> decoded(const bit_writer& b) {
    std::array<uint32_t, 16> out;
    dds::decode_bc7_block(b.bytes, out.data());
    return out;
}

constexpr uint32_t codes_0_to_7[16] = {0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2, 3, 4, 5, 6, 7};

TEST(BcDecode, Bc1FourColourBlock) {
    // Red above blue: four colours, thirds rounded to nearest. Row codes 0,1,2,3.
    const uint8_t block[8] = {0x00, 0xF8, 0x1F, 0x00, 0xE4, 0xE4, 0xE4, 0xE4};
    uint32_t out[16];
    dds::decode_bc1_block(block, out);
    const uint32_t row[4] = {0xFFFF0000u, 0xFF0000FFu, 0xFFAA0055u, 0xFF5500AAu};
    for (int p = 0; p < 16; ++p)
        EXPECT_EQ(out[p], row[p % 4]) << p;

    // 5:6:5 widening by bit replication: 0x8410 is (16, 32, 16) -> (132, 130, 132).
    const uint8_t grey[8] = {0x10, 0x84, 0x00, 0x00, 0, 0, 0, 0};
    dds::decode_bc1_block(grey, out);
    EXPECT_EQ(out[5], 0xFF848284u);
}

TEST(BcDecode, Bc1ThreeColourBlockHasTransparentBlack) {
    // Blue not above red: midpoint and transparent black; equal endpoints too.
    const uint8_t block[8] = {0x1F, 0x00, 0x00, 0xF8, 0xE4, 0xE4, 0xE4, 0xE4};
    uint32_t out[16];
    dds::decode_bc1_block(block, out);
    EXPECT_EQ(out[0], 0xFF0000FFu);
    EXPECT_EQ(out[1], 0xFFFF0000u);
    EXPECT_EQ(out[2], 0xFF800080u);
    EXPECT_EQ(out[3], 0x00000000u);
    const uint8_t equal[8] = {0x1F, 0x00, 0x1F, 0x00, 0xFF, 0, 0, 0};
    dds::decode_bc1_block(equal, out);
    EXPECT_EQ(out[0], 0u);
    EXPECT_EQ(out[4], 0xFF0000FFu);
}

TEST(BcDecode, Bc2ExplicitAlphaAndAlwaysFourColours) {
    uint8_t block[16] = {0x10, 0xF0, 0, 0, 0, 0, 0, 0};
    // Colour half with the first endpoint below the second: still four colours.
    const uint8_t colour[8] = {0x1F, 0x00, 0x00, 0xF8, 0xE4, 0xE4, 0xE4, 0xE4};
    for (int i = 0; i < 8; ++i)
        block[8 + i] = colour[i];
    uint32_t out[16];
    dds::decode_bc2_block(block, out);
    EXPECT_EQ(out[0], 0x000000FFu);  // alpha nibble 0
    EXPECT_EQ(out[1], 0x11FF0000u);  // nibble 1 -> 17
    EXPECT_EQ(out[3], 0xFFAA0055u);  // nibble 15; index 3 is a colour, not transparent
}

TEST(BcDecode, Bc3AlphaEightAndSixValueModes) {
    uint8_t block[16] = {255, 0};
    put_codes(block + 2, codes_0_to_7);
    uint32_t out[16];
    dds::decode_bc3_block(block, out);
    // 255 and 0: sevenths rounded to nearest.
    const uint32_t eight[8] = {255, 0, 219, 182, 146, 109, 73, 36};
    for (int p = 0; p < 16; ++p)
        EXPECT_EQ(out[p] >> 24, eight[p % 8]) << p;

    block[0] = 41, block[1] = 240;  // first not above second: fifths, then 0 and 255
    dds::decode_bc3_block(block, out);
    const uint32_t six[8] = {41, 240, 81, 121, 160, 200, 0, 255};
    for (int p = 0; p < 16; ++p)
        EXPECT_EQ(out[p] >> 24, six[p % 8]) << p;
}

TEST(BcDecode, Bc4GreyAndBc5RedGreen) {
    uint8_t block[16] = {41, 240};
    put_codes(block + 2, codes_0_to_7);
    block[8] = 255, block[9] = 0;
    put_codes(block + 10, codes_0_to_7);
    uint32_t out[16];
    dds::decode_bc4_block(block, out);
    EXPECT_EQ(out[2], 0xFF515151u);  // 81 grey, opaque
    EXPECT_EQ(out[7], 0xFFFFFFFFu);
    dds::decode_bc5_block(block, out);
    EXPECT_EQ(out[2], 0xFF51DB00u);  // red 81, green 219, blue 0
    EXPECT_EQ(out[6], 0xFF004900u);  // red 0, green 73
}

TEST(BcDecode, Bc7Mode0ThreeSubsetsWithEndpointPBits) {
    bit_writer b;
    b.put(1, 1);
    b.put(0, 4);  // partition 0: anchors at pixels 0, 3 and 15
    b.fields({15, 0, 0, 0, 0, 0}, 4);
    b.fields({0, 0, 15, 0, 0, 0}, 4);
    b.fields({0, 0, 0, 0, 15, 0}, 4);
    b.fields({1, 0, 1, 0, 1, 0}, 1);
    b.indices({{3, 3}, {5, 4}, {9, 7}, {15, 1}}, 3, {0, 3, 15});
    const auto out = decoded(b);
    EXPECT_EQ(out[0], 0xFFFF0808u);   // 4 bits + P-bit 1: 15 -> 255, 0 -> 8
    EXPECT_EQ(out[3], 0xFF059305u);   // subset 1, weight 27
    EXPECT_EQ(out[5], 0xFF6C0303u);   // subset 0, weight 37
    EXPECT_EQ(out[9], 0xFF000000u);   // subset 2, weight 64
    EXPECT_EQ(out[15], 0xFF0707DBu);  // subset 2, weight 9
}

TEST(BcDecode, Bc7Mode1PartitionWithAnchorInsideTheBlock) {
    bit_writer b;
    b.put(2, 2);
    b.put(17, 6);  // pixels 1, 2, 3 and 7 form subset 1, anchored at pixel 2
    b.fields({0, 63, 0, 0}, 6);
    b.fields({0, 0, 0, 0}, 6);
    b.fields({0, 0, 0, 63}, 6);
    b.put(0, 1), b.put(1, 1);  // shared P-bits of subsets 0 and 1
    b.indices({{1, 7}, {2, 3}, {4, 7}, {7, 4}, {15, 5}}, 3, {0, 2});
    const auto out = decoded(b);
    EXPECT_EQ(out[0], 0xFF000000u);
    EXPECT_EQ(out[1], 0xFF0202FFu);
    EXPECT_EQ(out[2], 0xFF02026Du);
    EXPECT_EQ(out[4], 0xFFFD0000u);  // 63 with P-bit 0 -> 126 of 7 bits -> 253
    EXPECT_EQ(out[7], 0xFF020294u);
    EXPECT_EQ(out[15], 0xFFB60000u);
}

TEST(BcDecode, Bc7Mode2ThreeSubsetsTwoBitIndices) {
    bit_writer b;
    b.put(4, 3);
    b.put(0, 6);
    b.fields({16, 31, 0, 0, 0, 0}, 5);
    b.fields({0, 0, 0, 31, 0, 0}, 5);
    b.fields({0, 0, 0, 0, 0, 31}, 5);
    b.indices({{1, 2}, {3, 1}, {10, 3}, {15, 1}}, 2, {0, 3, 15});
    const auto out = decoded(b);
    EXPECT_EQ(out[0], 0xFF840000u);
    EXPECT_EQ(out[1], 0xFFD70000u);
    EXPECT_EQ(out[3], 0xFF005400u);
    EXPECT_EQ(out[10], 0xFF0000FFu);
    EXPECT_EQ(out[15], 0xFF000054u);
}

TEST(BcDecode, Bc7Mode3TwoSubsetsSevenBitColour) {
    bit_writer b;
    b.put(8, 4);
    b.put(0, 6);
    b.fields({127, 0, 0, 0}, 7);
    b.fields({0, 0, 0, 127}, 7);
    b.fields({0, 0, 0, 0}, 7);
    b.fields({1, 0, 0, 1}, 1);
    b.indices({{1, 1}, {2, 2}, {15, 1}}, 2, {0, 15});
    const auto out = decoded(b);
    EXPECT_EQ(out[0], 0xFFFF0101u);
    EXPECT_EQ(out[1], 0xFFAB0101u);
    EXPECT_EQ(out[2], 0xFF01AB01u);
    EXPECT_EQ(out[15], 0xFF005400u);
}

TEST(BcDecode, Bc7Mode4IndexSelectionSwapsTheIndexSets) {
    bit_writer b;
    b.put(16, 5);
    b.put(0, 2);  // no rotation
    b.put(1, 1);  // colour from the 3-bit set, alpha from the 2-bit set
    b.fields({0, 31, 0, 0, 0, 0}, 5);
    b.put(0, 6), b.put(63, 6);
    b.indices({{1, 2}}, 2, {0});
    b.indices({{1, 5}, {2, 7}}, 3, {0});
    const auto out = decoded(b);
    EXPECT_EQ(out[0], 0x00000000u);
    EXPECT_EQ(out[1], 0xABB70000u);  // colour weight 46, alpha weight 43
    EXPECT_EQ(out[2], 0x00FF0000u);
}

TEST(BcDecode, Bc7Mode5RotationSwapsAlphaAndRed) {
    bit_writer b;
    b.put(32, 6);
    b.put(1, 2);  // rotation 1: swap alpha and red
    b.fields({127, 0, 64, 64, 0, 127}, 7);
    b.put(0, 8), b.put(255, 8);
    b.indices({{1, 1}, {2, 2}, {3, 3}}, 2, {0});
    b.indices({{1, 3}}, 2, {0});
    const auto out = decoded(b);
    EXPECT_EQ(out[0], 0xFF008100u);
    EXPECT_EQ(out[1], 0xABFF8154u);
    EXPECT_EQ(out[3], 0x000081FFu);
}

TEST(BcDecode, Bc7Mode6FourBitIndices) {
    bit_writer b;
    b.put(64, 7);
    b.fields({0, 127, 127, 0, 64, 64, 127, 127}, 7);
    b.put(0, 1), b.put(1, 1);
    for (uint32_t p = 0; p < 16; ++p)  // pixel p gets index p; pixel 0 is the anchor
        b.put(p, p == 0 ? 3 : 4);
    const auto out = decoded(b);
    EXPECT_EQ(out[0], 0xFE00FE80u);
    EXPECT_EQ(out[5], 0xFE54AB80u);
    EXPECT_EQ(out[15], 0xFFFF0181u);
}

TEST(BcDecode, Bc7Mode7TwoSubsetsWithAlpha) {
    bit_writer b;
    b.put(128, 8);
    b.put(0, 6);
    b.fields({31, 0, 0, 0}, 5);
    b.fields({0, 0, 0, 0}, 5);
    b.fields({0, 0, 0, 31}, 5);
    b.fields({31, 0, 31, 31}, 5);
    b.fields({1, 1, 1, 1}, 1);
    b.indices({{1, 2}, {15, 1}}, 2, {0, 15});
    const auto out = decoded(b);
    EXPECT_EQ(out[0], 0xFFFF0404u);
    EXPECT_EQ(out[1], 0x56560404u);
    EXPECT_EQ(out[2], 0xFF040404u);
    EXPECT_EQ(out[15], 0xFF040456u);
}

TEST(BcDecode, Bc7ReservedModeIsTransparentBlack) {
    uint8_t block[16];
    for (auto& v : block)
        v = 0xFF;
    block[0] = 0;
    uint32_t out[16];
    dds::decode_bc7_block(block, out);
    for (uint32_t v : out)
        EXPECT_EQ(v, 0u);
}

}  // namespace
}  // namespace mevra
