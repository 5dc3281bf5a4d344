#pragma once
// The DXT3 / DXT5 pixel data of a whole image: 16 bytes per 4 × 4 block,
// blocks left to right, block rows from the top.
#include <cstdint>

#include "formats/dds_dxt_block.h"
#include "formats/dds_dxt_search.h"
#include "image/image_info.h"

namespace mevra::dds {

// How to run the encoder. Every engine writes the same bytes; they differ
// only in speed.
struct dxt_engine {
    search_kind search = search_kind::plain;
    int threads = 1;  // 0: one per processor

    // The reference: one thread, the plain search.
    static dxt_engine plain() { return {search_kind::plain, 1}; }
    // The fastest search on every processor.
    static dxt_engine fast() { return {fastest_search(), 0}; }
};

// Encodes one block of 16 pixels (row by row) into 16 bytes.
void encode_block(const uint32_t pixels[16], dxt_alpha alpha, search_kind search, uint8_t out[16]);

// Encodes the image, whose width and height must be multiples of 4, into
// width × height bytes at `out`.
void encode_dxt(const image_info& img, dxt_alpha alpha, dxt_engine engine, uint8_t* out);

}  // namespace mevra::dds
