#include "platform/clipboard_port.h"

namespace mevra {
namespace {

class empty_clipboard final : public clipboard_port {
  public:
    bool has_image() override { return false; }
    bool get_image(decoded_picture&) override { return false; }
    bool set_image(const platform_bitmap&, std::string& error) override {
        error = "no clipboard is available";
        return false;
    }
};

empty_clipboard default_clipboard;
clipboard_port* current_clipboard = &default_clipboard;

}  // namespace

clipboard_port& clipboard() {
    return *current_clipboard;
}

clipboard_port* set_clipboard_port(clipboard_port* port) {
    clipboard_port* previous = current_clipboard;
    current_clipboard = port ? port : &default_clipboard;
    return previous;
}

}  // namespace mevra
