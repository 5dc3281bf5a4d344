#include "batch/batch_list_file.h"

#include <cstdint>
#include <filesystem>
#include <span>

#include "platform/file_io.h"
#include "platform/ui_port.h"
#include "settings/clgbase.h"

namespace mevra {

std::string batch_list_path() {
    return clgbase::get_clg_app_path() + "/batch.lst";
}

std::string batch_list_text(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::vector<std::string> batch_list_lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    // A line end closes a line; text after the last line end is one more line,
    // so "a\r\n" is one line and "a\r\n\r\n" two (the second empty).
    while (pos < text.size()) {
        const size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) {
            lines.push_back(text.substr(pos));
            break;
        }
        lines.push_back(text.substr(pos, end - pos));
        pos = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

int load_batch_list(const std::string& path, std::vector<std::string>& lines, std::string* error) {
    lines.clear();
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!read_whole_file(path, bytes, reason)) {
        if (error) *error = reason;
        return -1;
    }
    lines = batch_list_lines(std::string(bytes.begin(), bytes.end()));
    return 0;
}

int load_batch_list(std::vector<std::string>& lines) {
    return load_batch_list(batch_list_path(), lines);
}

int save_batch_list(const std::string& path, const std::vector<std::string>& lines) {
    std::string error;
    if (lines.empty()) {
        std::error_code ec;
        std::filesystem::remove(path, ec);
        if (!ec) return 0;
        error = ec.message();
    } else {
        const std::string text = batch_list_text(lines);
        const auto* data = reinterpret_cast<const uint8_t*>(text.data());
        if (write_file_atomic(path, std::span<const uint8_t>(data, text.size()), error)) return 0;
    }
    show_message(path + "\n" + "ファイルの保存に失敗しました。" + "\n" + error, "エラー");
    return -1;
}

int save_batch_list(const std::vector<std::string>& lines) {
    return save_batch_list(batch_list_path(), lines);
}

}  // namespace mevra
