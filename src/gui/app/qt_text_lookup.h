#pragma once
// The text lookup the core's fixed texts go through in the program.
#include <string>

// The core's fixed texts, looked up in the installed translators.
std::string qt_text_lookup(const char* context, const char* text);
