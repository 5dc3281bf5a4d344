#pragma once
// Names of numbered frame files, the rule the environment dialog's sample
// name shows with the settings aviren_option1 … aviren_option3.
#include <string>

namespace mevra {

// stem + joiner + number with leading zeros + "." + extension:
// joiner 0 none, 1 "_", 2 "-"; digits index 0 … 4 for 4 … 8 digits; type
// 0 bmp, 1 jpg, 2 png, 3 tif, 4 gif, 5 tga, 6 dds (the IMGFMT order).
// Out-of-range indexes read as 0. ("movie", 1, 0, 0, 1) gives "movie_0001.bmp".
std::string aviren_file_name(const std::string& stem, int joiner, int digits_index, int type,
                             int number);

}  // namespace mevra
