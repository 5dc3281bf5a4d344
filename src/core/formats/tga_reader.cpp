// Placeholder until the TGA reader lands: declines every file.
#include "image/image_info.h"
#include "platform/byte_reader.h"

namespace mevra {
int image_info::file_load_tga(byte_reader&) { return -1; }
}  // namespace mevra
