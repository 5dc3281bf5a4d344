#include "platform/ui_port.h"

#include <cstdio>

namespace mevra {
namespace {

class stderr_ui_port final : public ui_port {
  public:
    msg_answer message_box(const std::string& text, const std::string& caption,
                           msg_buttons buttons) override {
        if (caption.empty())
            std::fprintf(stderr, "%s\n", text.c_str());
        else
            std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return buttons == msg_buttons::ok || buttons == msg_buttons::ok_cancel ? msg_answer::ok
                                                                               : msg_answer::yes;
    }
};

stderr_ui_port default_port;
ui_port* current_port = &default_port;

}  // namespace

void ui_port::debug_line(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
}

ui_port& ui() {
    return *current_port;
}

ui_port* set_ui_port(ui_port* port) {
    ui_port* previous = current_port;
    current_port = port ? port : &default_port;
    return previous;
}

}  // namespace mevra
