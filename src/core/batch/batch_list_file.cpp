#include "batch/batch_list_file.h"

#include <cstdint>
#include <filesystem>
#include <span>

#include "platform/file_io.h"
#include "platform/ui_port.h"
#include "platform/ui_text.h"
#include "settings/clgbase.h"
#include "settings/ini_values.h"

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
    // The list reads like the settings file: optional byte-order mark, any
    // line end, and "a\r\n" is one line while "a\r\n\r\n" is two.
    std::vector<std::string> lines;
    for (std::string_view line : ini::split_lines(text))
        lines.emplace_back(line);
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
    show_message(path + "\n" + ui_text("file", "ファイルの保存に失敗しました。") + "\n" + error,
                 ui_text("file", "エラー"));
    return -1;
}

int save_batch_list(const std::vector<std::string>& lines) {
    return save_batch_list(batch_list_path(), lines);
}

}  // namespace mevra
