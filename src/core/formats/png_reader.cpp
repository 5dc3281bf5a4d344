// Placeholder until the PNG reader lands: declines every file.
#include "image/image_info.h"
#include "platform/byte_reader.h"

namespace mevra {
int image_info::file_check_png(byte_reader&) { return -1; }
int image_info::file_load_png(byte_reader&) { return -1; }
}  // namespace mevra
