#pragma once
// What every program built on these windows does before its first window:
// the application's names and icon, the interface language, and the Qt
// implementations of the core's ports. The desktop program and the
// screenshot tool share it, so the tool shows the program exactly as users
// see it.
namespace mevra::gui {

// Call once, after the QApplication exists and before the first window.
void prepare_application();

}  // namespace mevra::gui
