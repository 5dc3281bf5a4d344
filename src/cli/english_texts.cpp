#include "cli/english_texts.h"

#include <algorithm>
#include <cstring>

#include "platform/text_language.h"
#include "platform/ui_text.h"

namespace mevra::cli {

std::string english_text(const char* context, const char* source) {
    const std::span<const catalogue_text> table = english_texts();
    const auto before = [](const catalogue_text& entry, const catalogue_text& key) {
        const int by_context = std::strcmp(entry.context, key.context);
        return by_context != 0 ? by_context < 0 : std::strcmp(entry.source, key.source) < 0;
    };
    const catalogue_text key{context, source, nullptr};
    const auto it = std::lower_bound(table.begin(), table.end(), key, before);
    if (it != table.end() && !before(key, *it)) return it->translation;
    return source;
}

void use_interface_language() {
    if (text_language_from_environment() == text_language::english)
        set_text_lookup(&english_text);
}

}  // namespace mevra::cli
