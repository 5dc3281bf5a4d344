// Feeds arbitrary bytes to the palette file reader under each extension that
// changes how it reads: whatever it accepts holds 1 to 256 colours, and every
// type writes those colours so that they read back the same.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/palette_file.h"
#include "fuzz_support.h"

using namespace mevra;

namespace {

void require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "palette file reader: %s\n", what);
        std::abort();
    }
}

// The colours a type keeps: alpha only where the type stores it.
uint32_t kept(palette_file_type type, uint32_t c) {
    if (type == palette_file_type::png) return c;
    return 0xFF000000u | (c & 0xFFFFFFu);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::silent_ui quiet;
    if (size == 0 || fuzz::too_slow(data + 1, size - 1)) return 0;
    static const char* const extensions[] = {".gpl", ".pal", ".act", ".hex", ".png", ""};
    const std::string ext = extensions[data[0] % 6];
    std::vector<uint32_t> colours;
    std::string error;
    if (!read_palette_bytes({data + 1, size - 1}, ext, colours, error)) {
        require(!error.empty(), "a refusal without a reason");
        return 0;
    }
    require(!colours.empty() && colours.size() <= palette_max_colours, "a palette of 0 or >256");
    for (auto type : {palette_file_type::gimp, palette_file_type::jasc, palette_file_type::riff,
                      palette_file_type::hex, palette_file_type::png}) {
        std::vector<uint8_t> bytes;
        std::vector<uint32_t> back;
        require(palette_file_bytes(type, colours, bytes, error), "a palette could not be written");
        const char* name = type == palette_file_type::hex ? ".hex" : ".pal";
        require(read_palette_bytes(bytes, name, back, error), "a written palette does not read");
        require(back.size() == colours.size(), "a written palette changed its length");
        for (size_t i = 0; i < back.size(); ++i)
            require(back[i] == kept(type, colours[i]), "a written palette changed its colours");
    }
    return 0;
}
