#pragma once
// A palette as a PNG picture: one pixel per colour in a row, stored as an
// 8-bit palette image whose PLTE holds exactly the palette (tRNS its alpha).
#include <cstdint>
#include <string>
#include <vector>

namespace mevra {

bool encode_palette_png(const std::vector<uint32_t>& colours, std::vector<uint8_t>& out,
                        std::string& error);

}  // namespace mevra
