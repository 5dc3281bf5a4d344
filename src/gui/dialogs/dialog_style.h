#pragma once
// What the option dialogs share: the frame and colours, the OK/Cancel row,
// remembering where a dialog was, tooltip timing, and reading numbers typed
// into text boxes.
#include <QColor>
#include <QString>
#include <optional>

class QDialog;
class QLayout;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace dialog_style {

// The program's dark grey behind `widget` (filled, not inherited), with
// `text` as its label colour when given.
void paint_dark(QWidget* widget, std::optional<QColor> text = std::nullopt);

// A fixed tool window with only a title bar (no close, minimise or maximise
// box, no taskbar entry), dark grey background and white label text.
void apply_look(QDialog* dialog);

// Number boxes draw their arrows in the text colour of the window, which is
// white here; they keep the application's light colours instead. Call once the
// controls exist.
void light_fields(QDialog* dialog);

// The text Qt gives its own OK or Cancel button, in the language of Qt's
// installed catalogue ("Cancel", "キャンセル", "Abbrechen"), so that these
// dialogs' buttons read like those of Qt's own dialogs.
QString ok_text();
QString cancel_text();

// "OK" (the default button, so Enter presses it) and "Cancel" (rejects, as
// Escape does) as Qt words them, named ok_button and cancel_button. OK is left
// unconnected because some dialogs check their input before accepting.
QHBoxLayout* make_ok_cancel(QDialog* dialog, QPushButton** ok, QPushButton** cancel);

// Lays an options dialog out: `body` above OK (accepts) and Cancel, the size
// fixed to the contents, reopened where it was left, fields light. Call once
// every control exists.
void finish_options_dialog(QDialog* dialog, QLayout* body);

// Qt centres a dialog again on every show unless it has been moved on purpose;
// these dialogs reopen where they were last (or where the settings file put them).
void keep_position(QDialog* dialog);

// Tooltips of `widget` (and of its inner parts, which receive the pointer)
// appear after wake_ms and stay for show_ms.
void set_tooltip_timing(QWidget* widget, int wake_ms, int show_ms);

// A text box read as a signed decimal 32-bit integer: blanks around it and a
// sign are allowed; empty text, anything else or a value that does not fit is
// no number.
std::optional<int> parse_int(const QString& text);

}  // namespace dialog_style
