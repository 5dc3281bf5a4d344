#pragma once
// The English catalogue of the desktop application, compiled into mevra-cli
// as a table (generated from the .ts file at build time), so the core's
// messages reach the terminal in the language the desktop would show.
#include <span>
#include <string>

namespace mevra::cli {

struct catalogue_text {
    const char* context;
    const char* source;
    const char* translation;
};

// Every finished entry, sorted bytewise by context, then source.
std::span<const catalogue_text> english_texts();

// The English text for `source` in `context`, or `source` itself.
std::string english_text(const char* context, const char* source);

// Installs the English texts for the core when the environment asks for
// English, by the rule the desktop application follows.
void use_interface_language();

}  // namespace mevra::cli
