#pragma once
// Which texts the user reads: the program's own (Japanese and Korean) or the
// English catalogue. One rule for the desktop application and mevra-cli, so
// both speak the same language in the same environment.
//
// The rule is gettext's: under the C/POSIX locale the program's own texts are
// shown and LANGUAGE is ignored; otherwise the languages of LANGUAGE (or the
// locale's own name when LANGUAGE is empty) are walked in order, and the first
// one MEVRA has wins: Japanese or Korean keep the program's own texts, English
// picks the catalogue. Languages MEVRA lacks are passed over; when none of the
// list is available, English is the fallback.
#include <string>
#include <string_view>
#include <vector>

namespace mevra {

enum class text_language { own, english };

// The locale as gettext sees it for messages: LC_ALL, else LC_MESSAGES, else
// LANG (the first that is set and not empty), "C" when none is.
struct language_environment {
    std::string locale;
    std::string language_list;  // LANGUAGE, colon-separated
};

language_environment read_language_environment();

// True for "C", "POSIX" and their variants such as "C.UTF-8".
bool is_c_locale(std::string_view locale);

// The user's languages in order of preference, as gettext walks them; empty
// under the C/POSIX locale.
std::vector<std::string> preferred_languages(const language_environment& env);

// The first available language of `languages` (entries such as "fr",
// "ja_JP.UTF-8", "ko-KR"), English when none is; "C" or "POSIX" in the list
// stands for the program's own texts.
text_language choose_text_language(const std::vector<std::string>& languages);

// The choice for this process's environment.
text_language text_language_from_environment();

}  // namespace mevra
