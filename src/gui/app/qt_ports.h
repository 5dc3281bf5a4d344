#pragma once
// The Qt side of the core's ports: message boxes, the exclamation sound, debug
// lines and event processing through Qt Widgets, and the system clipboard
// through QClipboard. main() installs them before the first window exists.
#include "platform/clipboard_port.h"
#include "platform/ui_port.h"

class qt_ui_port final : public mevra::ui_port {
  public:
    mevra::msg_answer message_box(const std::string& text, const std::string& caption,
                                  mevra::msg_buttons buttons) override;
    void exclamation() override;
    void debug_line(const std::string& line) override;
    void process_events() override;
};

class qt_clipboard_port final : public mevra::clipboard_port {
  public:
    bool has_image() override;
    bool get_image(mevra::decoded_picture& out) override;
    bool set_image(const mevra::platform_bitmap& bitmap, std::string& error) override;
};

// Installs both ports and the text lookup for the life of the process.
void install_qt_ports();
