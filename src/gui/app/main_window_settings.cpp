#include "app/main_window_settings.h"

#include "platform/ui_port.h"
#include "platform/ui_text.h"
#include "settings/clgbase.h"

namespace mevra::gui {

window_layout load_settings_file(const layout_windows& windows) {
    window_layout layout;
    std::string error;
    const std::string path = ini_file_path();
    if (read_ini(path, settings(), layout, error) == ini_read_status::unreadable)
        ui().debug_line(path + ": settings file not read (" + error + "), defaults used");
    apply_layout(windows, layout);
    return layout;
}

bool save_settings_file(const layout_windows& windows, const window_layout& layout_extra) {
    window_layout layout = collect_layout(windows);
    layout.listview_path1 = layout_extra.listview_path1;
    layout.listview_path2 = layout_extra.listview_path2;
    std::string error;
    const std::string path = ini_file_path();
    if (write_ini(path, settings(), layout, error)) return true;
    ui().message_box(
        path + "\n" + ui_text("main_window", "設定ファイルを保存できませんでした。") + "\n" + error,
        ui_text("main_window", "エラー"), msg_buttons::ok);
    return false;
}

}  // namespace mevra::gui
