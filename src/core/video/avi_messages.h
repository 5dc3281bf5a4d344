#pragma once
// The player's own texts and captions, and the failure record the video core
// hands back instead of showing anything itself: the caller decides whether a
// failure becomes a message box (the player) or a line on stderr (the CLI).
#include <string>

#include "platform/ui_port.h"
#include "platform/ui_text.h"

namespace mevra {

// A failure as the user is told about it: the message box text and caption.
struct avi_failure {
    std::string text;
    std::string caption;
    bool empty() const { return text.empty() && caption.empty(); }
};

namespace avi_text {
// Opening: the file does not exist (the previous file stays open).
inline std::string missing_file(const std::string& path) {
    return ui_text("avi", "파일  を開くことができませんでした") + "\n" + path;
}
inline constexpr const char* missing_file_caption = "AVI file";
// Opening: not readable as AVI, no video stream, no decoder for it.
inline std::string open_error(const std::string& path) {
    return "error:\n" + path;
}
inline constexpr const char* open_caption = "AVIFileOpen";
inline constexpr const char* stream_caption = "AVIFileGetStream";
inline constexpr const char* decoder_caption = "AVIStreamGetFrameOpen";
// A frame that cannot be decoded.
inline std::string frame_error(int frame) {
    return "error:\n" + fill_text(ui_text("avi", "フレーム%1"), {std::to_string(frame)});
}
inline constexpr const char* frame_caption = "AVIStreamGetFrames";
// The context menu's close command while playing.
inline std::string close_while_playing() {
    return ui_text("avi", "再生中は閉じることが出来ません");
}
inline std::string close_caption() {
    return ui_text("avi", "閉じる");
}
// Saving.
inline std::string save_caption() {
    return ui_text("avi", "AVI保存");
}
inline std::string nothing_to_save() {
    return ui_text("avi", "保存するAVIが読み込まれていません");
}
inline std::string save_while_playing() {
    return ui_text("avi", "再生中は保存できません");
}
// The same wording as every other failed save, with the reason appended.
inline std::string save_failed(const std::string& path, const std::string& reason) {
    return path + "\n" + ui_text("file", "ファイルの保存に失敗しました。") + "\n" + reason;
}
}  // namespace avi_text

// Shows a failure through the installed ui port (nothing for an empty one).
inline void report_avi_failure(const avi_failure& failure) {
    if (!failure.empty()) show_message(failure.text, failure.caption);
}

}  // namespace mevra
