#pragma once
// The user-facing services the core needs: message boxes, the exclamation
// sound, debug output and letting the host process pending events. The GUI
// installs a Qt implementation; the headless default prints to stderr.
#include <string>

namespace mevra {

enum class msg_buttons { ok, ok_cancel, yes_no, yes_no_cancel };
enum class msg_answer { ok, cancel, yes, no };

class ui_port {
  public:
    virtual ~ui_port() = default;
    // Shows a modal message and returns the answer. The headless default
    // answers the first button (OK or Yes).
    virtual msg_answer message_box(const std::string& text, const std::string& caption,
                                   msg_buttons buttons) = 0;
    virtual void exclamation() {}
    virtual void debug_line(const std::string& line);
    virtual void process_events() {}
};

// The port currently installed (the headless default when none is).
ui_port& ui();
// Installs a port; nullptr restores the headless default. Returns the previous one.
ui_port* set_ui_port(ui_port* port);

// Shorthand for the common single-button message.
inline void show_message(const std::string& text, const std::string& caption) {
    ui().message_box(text, caption, msg_buttons::ok);
}

}  // namespace mevra
