#pragma once
// The system clipboard as an image source and target. The GUI installs a Qt
// implementation; the headless default is an empty clipboard that drops what
// it is given.
#include <string>

#include "platform/picture.h"

namespace mevra {

class clipboard_port {
  public:
    virtual ~clipboard_port() = default;
    virtual bool has_image() = 0;
    // Returns false when the clipboard holds no usable image.
    virtual bool get_image(decoded_picture& out) = 0;
    // Returns false with a reason when the clipboard cannot take the bitmap.
    virtual bool set_image(const platform_bitmap& bitmap, std::string& error) = 0;
};

clipboard_port& clipboard();
// Installs a port; nullptr restores the headless default. Returns the previous one.
clipboard_port* set_clipboard_port(clipboard_port* port);

}  // namespace mevra
