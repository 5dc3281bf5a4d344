// Build tool: turns the English catalogue (a Qt Linguist .ts file) into a C++
// table, so mevra-cli prints the core's messages in English without Qt.
//   make_text_table CATALOGUE.ts OUTPUT.cpp
// Only finished translations of plain messages are taken; a text without one
// stays in the program's own words, as it does in the desktop application.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct entry {
    std::string context, source, translation;
};

// The text between <tag ...> and </tag> from `from` on, with `open_tag` set to
// the opening tag itself; false when there is none before `limit`.
bool element(const std::string& xml, const std::string& tag, size_t& from, size_t limit,
             std::string& open_tag, std::string& body) {
    const size_t open = xml.find("<" + tag, from);
    if (open == std::string::npos || open >= limit) return false;
    const size_t open_end = xml.find('>', open);
    if (open_end == std::string::npos) return false;
    open_tag = xml.substr(open, open_end + 1 - open);
    if (xml[open_end - 1] == '/') {  // <translation/>
        body.clear();
        from = open_end + 1;
        return true;
    }
    const std::string close = "</" + tag + ">";
    const size_t end = xml.find(close, open_end);
    if (end == std::string::npos || end > limit) return false;
    body = xml.substr(open_end + 1, end - open_end - 1);
    from = end + close.size();
    return true;
}

void put_utf8(std::string& out, unsigned long code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// XML character data to UTF-8: the five named entities and numeric references.
std::string unescape(const std::string& text) {
    static const std::pair<const char*, char> named[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t semi = text[i] == '&' ? text.find(';', i) : std::string::npos;
        if (semi == std::string::npos) {
            out += text[i];
            continue;
        }
        const std::string name = text.substr(i + 1, semi - i - 1);
        bool known = false;
        if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x';
            put_utf8(out, std::stoul(name.substr(hex ? 2 : 1), nullptr, hex ? 16 : 10));
            known = true;
        }
        for (const auto& [word, c] : named)
            if (!known && name == word) out += c, known = true;
        if (!known) throw std::runtime_error("unknown entity &" + name + ";");
        i = semi;
    }
    return out;
}

std::vector<entry> read_catalogue(const std::string& xml) {
    std::vector<entry> entries;
    std::string tag, context_body;
    for (size_t at = 0; element(xml, "context", at, xml.size(), tag, context_body);) {
        size_t pos = 0;
        std::string name;
        if (!element(context_body, "name", pos, context_body.size(), tag, name)) continue;
        std::string message;
        while (element(context_body, "message", pos, context_body.size(), tag, message)) {
            // Plural forms and disambiguated texts are not looked up by the core.
            if (tag.find("numerus") != std::string::npos ||
                message.find("<comment>") != std::string::npos)
                continue;
            size_t in = 0;
            std::string source, translation, translation_tag;
            if (!element(message, "source", in, message.size(), tag, source)) continue;
            if (!element(message, "translation", in, message.size(), translation_tag, translation))
                continue;
            if (translation_tag.find("type=") != std::string::npos || translation.empty()) continue;
            entries.push_back({unescape(name), unescape(source), unescape(translation)});
        }
    }
    return entries;
}

// A C++ string literal; every byte outside printable ASCII as an octal escape,
// so that no following character can extend it.
std::string literal(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\' || c == '?') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\%03o", c);
            out += buf;
        }
    }
    return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_text_table CATALOGUE.ts OUTPUT.cpp\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "make_text_table: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string xml{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<entry> entries;
    try {
        entries = read_catalogue(xml);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_text_table: %s: %s\n", argv[1], e.what());
        return 1;
    }
    // Sorted by context, then source, as the lookup searches them (bytewise).
    std::sort(entries.begin(), entries.end(), [](const entry& a, const entry& b) {
        return a.context != b.context ? a.context < b.context : a.source < b.source;
    });
    entries.erase(std::unique(entries.begin(), entries.end(),
                              [](const entry& a, const entry& b) {
                                  return a.context == b.context && a.source == b.source;
                              }),
                  entries.end());
    std::ostringstream out;
    out << "// Generated by make_text_table from the English catalogue. Do not edit.\n"
        << "#include \"cli/english_texts.h\"\n\nnamespace mevra::cli {\n\n"
        << "std::span<const catalogue_text> english_texts() {\n"
        << "    static constexpr catalogue_text table[] = {\n";
    for (const entry& e : entries)
        out << "        {" << literal(e.context) << ", " << literal(e.source) << ",\n         "
            << literal(e.translation) << "},\n";
    out << "        {nullptr, nullptr, nullptr},\n    };\n"
        << "    return std::span<const catalogue_text>(table, std::size(table) - 1);\n"
        << "}\n\n}  // namespace mevra::cli\n";
    std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
    file << out.str();
    if (!file.flush()) {
        std::fprintf(stderr, "make_text_table: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
