#pragma once
// libjpeg reports fatal errors through error_exit, which must not return: the
// decoder and the encoder jump back to the frame that started the work, with
// the library's message kept here. Include after <cstdio> and <jpeglib.h>.
#include <csetjmp>

namespace mevra {

struct jpeg_failure {
    jpeg_error_mgr manager;  // first member: libjpeg hands back a pointer to it
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] inline void jpeg_jump_on_error(j_common_ptr cinfo) {
    auto* failure = reinterpret_cast<jpeg_failure*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, failure->message);
    std::longjmp(failure->jump, 1);
}

// Keeps libjpeg's warnings off stderr.
inline void jpeg_ignore_output(j_common_ptr) {}

}  // namespace mevra
