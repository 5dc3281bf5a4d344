#include "platform/text_language.h"

#include <cstdlib>

namespace mevra {
namespace {

std::string environment_value(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// "ja_JP.UTF-8@euro", "ko-KR" and "ja" all name the language "ja".
std::string_view language_code(std::string_view entry) {
    const size_t end = entry.find_first_of("_-.@");
    return entry.substr(0, end);
}

}  // namespace

language_environment read_language_environment() {
    language_environment env;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        env.locale = environment_value(name);
        if (!env.locale.empty()) break;
    }
    // assign(1, c) rather than = "C": GCC 12 warns falsely about the latter at -O3.
    if (env.locale.empty()) env.locale.assign(1, 'C');
    env.language_list = environment_value("LANGUAGE");
    return env;
}

bool is_c_locale(std::string_view locale) {
    const std::string_view code = language_code(locale);
    return code == "C" || code == "POSIX";
}

std::vector<std::string> preferred_languages(const language_environment& env) {
    std::vector<std::string> languages;
    if (is_c_locale(env.locale)) return languages;
    std::string_view list = env.language_list;
    while (!list.empty()) {
        const size_t colon = list.find(':');
        const std::string_view entry = list.substr(0, colon);
        if (!entry.empty()) languages.emplace_back(entry);
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    }
    if (languages.empty()) languages.push_back(env.locale);
    return languages;
}

text_language choose_text_language(const std::vector<std::string>& languages) {
    for (const std::string& entry : languages) {
        if (is_c_locale(entry)) return text_language::own;
        const std::string_view code = language_code(entry);
        if (code == "ja" || code == "ko") return text_language::own;
        if (code == "en") return text_language::english;
    }
    return text_language::english;
}

text_language text_language_from_environment() {
    const language_environment env = read_language_environment();
    if (is_c_locale(env.locale)) return text_language::own;
    return choose_text_language(preferred_languages(env));
}

}  // namespace mevra
