#include "formats/dds_dxt_encoder.h"

#include "formats/dds_block_image.h"

namespace mevra::dds {

void encode_block(const uint32_t pixels[16], dxt_alpha alpha, search_kind search, uint8_t out[16]) {
    if (alpha == dxt_alpha::explicit4)
        encode_alpha_explicit(pixels, out);
    else
        encode_alpha_interpolated(pixels, out);
    dxt_block b;
    prepare_block(pixels, b);
    encode_colour_half(b, search_endpoints(b, search), out + 8);
}

void encode_dxt(const image_info& img, dxt_alpha alpha, dxt_engine engine, uint8_t* out) {
    encode_block_image(
        img,
        [alpha, search = engine.search](const uint32_t* pixels, uint8_t* block) {
            encode_block(pixels, alpha, search, block);
        },
        16, engine.threads, out);
}

}  // namespace mevra::dds
