#include "platform/ui_text.h"

namespace mevra {
namespace {

text_lookup current_lookup = nullptr;

}  // namespace

std::string ui_text(const char* context, const char* text) {
    return current_lookup ? current_lookup(context, text) : std::string(text);
}

text_lookup set_text_lookup(text_lookup lookup) {
    const text_lookup previous = current_lookup;
    current_lookup = lookup;
    return previous;
}

std::string fill_text(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const size_t index = static_cast<size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && index < args.size()) {
            out += args.begin()[index];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace mevra
