#pragma once
// The program's fixed user-facing texts, in the interface language the host
// chose. The core writes every such text in its own words with a context
// name; a host with a translation catalogue installs a lookup, and without
// one (mevra-cli, the core tests) each text comes back exactly as written.
//
// The translation tools collect the texts from these two spellings, so the
// context and the text must be string literals at the call:
//   ui_text("context", "text")          looked up where it is used;
//   MEVRA_TEXT_NOOP("context", "text")  only marked, for tables that are
//                                       looked up later with the same context.
// Paths, numbers and library reasons are never looked up: messages put
// them around or into the looked-up text (fill_text).
#include <initializer_list>
#include <string>
#include <string_view>

#define MEVRA_TEXT_NOOP(context, text) text

namespace mevra {

// Returns the translation of `text` in `context`, or `text` itself.
using text_lookup = std::string (*)(const char* context, const char* text);

std::string ui_text(const char* context, const char* text);

// Installs a lookup; nullptr restores the identity. Returns the previous one.
// Installed once at start-up, before any thread that shows texts runs.
text_lookup set_text_lookup(text_lookup lookup);

// Replaces %1 … %9 in `pattern` by the matching argument; the arguments are
// inserted as they are, never scanned for markers themselves.
std::string fill_text(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace mevra
