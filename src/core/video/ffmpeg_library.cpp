#include "video/ffmpeg_library.h"

#include <dlfcn.h>

#include <cerrno>
#include <cstring>
#include <type_traits>

namespace mevra::video_detail {
namespace {

// What a function answers while its library is missing.
template <class R, class... A>
R unavailable(A...) {
    if constexpr (std::is_void_v<R>)
        return;
    else if constexpr (std::is_pointer_v<R>)
        return nullptr;
    else
        return static_cast<R>(AVERROR(ENOSYS));
}

template <class R, class... A>
bool resolve(R (*&slot)(A...), void* library, const char* name) {
    void* symbol = library != nullptr ? dlsym(library, name) : nullptr;
    slot = symbol != nullptr ? reinterpret_cast<R (*)(A...)>(symbol) : &unavailable<R, A...>;
    return symbol != nullptr;
}

struct loaded_ffmpeg {
    ffmpeg_functions functions{};
    bool ok = false;
    std::string why;
};

std::string soname(const char* library, int major) {
    return std::string("lib") + library + ".so." + std::to_string(major);
}

loaded_ffmpeg load() {
    loaded_ffmpeg out;
    struct library {
        const char* name;
        int major;
        void* handle = nullptr;
    } libraries[] = {{"avutil", LIBAVUTIL_VERSION_MAJOR},
                     {"avcodec", LIBAVCODEC_VERSION_MAJOR},
                     {"avformat", LIBAVFORMAT_VERSION_MAJOR},
                     {"swscale", LIBSWSCALE_VERSION_MAJOR}};
    bool found = true;
    for (library& l : libraries) {
        // Kept for the life of the program: the functions stay in use.
        l.handle = dlopen(soname(l.name, l.major).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (l.handle == nullptr && found) {
            const char* error = dlerror();
            out.why = error != nullptr ? error : soname(l.name, l.major) + ": not found";
            found = false;
        }
    }
    auto handle_of = [&](const char* name) -> void* {
        for (const library& l : libraries)
            if (found && std::strcmp(l.name, name) == 0) return l.handle;
        return nullptr;
    };
    bool all = true;
#define MEVRA_FFMPEG_RESOLVE(library, name) \
    all = resolve(out.functions.name, handle_of(#library), #name) && all;
    MEVRA_FFMPEG_FUNCTIONS(MEVRA_FFMPEG_RESOLVE)
    if (found && !all) {
        // A library of another make: use none of it rather than a mix.
        out.why = "the FFmpeg libraries lack functions this program needs";
        found = false;
        MEVRA_FFMPEG_FUNCTIONS(MEVRA_FFMPEG_RESOLVE)
    }
#undef MEVRA_FFMPEG_RESOLVE
    out.ok = found;
    return out;
}

const loaded_ffmpeg& loaded() {
    static const loaded_ffmpeg library = load();
    return library;
}

}  // namespace

const ffmpeg_functions& ffmpeg() {
    return loaded().functions;
}

bool ffmpeg_loaded(std::string* why) {
    if (why != nullptr) *why = loaded().why;
    return loaded().ok;
}

}  // namespace mevra::video_detail
