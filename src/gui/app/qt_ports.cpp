#include "app/qt_ports.h"

#include <QApplication>
#include <QClipboard>
#include <QDebug>
#include <QMessageBox>
#include <QMimeData>

#include "app/qimage_conversion.h"
#include "app/qt_text_lookup.h"
#include "platform/ui_text.h"

using mevra::msg_answer;
using mevra::msg_buttons;

namespace {

QMessageBox::StandardButtons standard_buttons(msg_buttons buttons) {
    switch (buttons) {
        case msg_buttons::ok_cancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case msg_buttons::yes_no:
            return QMessageBox::Yes | QMessageBox::No;
        case msg_buttons::yes_no_cancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case msg_buttons::ok:
            break;
    }
    return QMessageBox::Ok;
}

// Closing the box with Escape or the title bar's close button gives the
// box's escape button: Cancel where there is one, else No, else OK.
msg_answer answer_of(int button) {
    switch (button) {
        case QMessageBox::Cancel:
            return msg_answer::cancel;
        case QMessageBox::Yes:
            return msg_answer::yes;
        case QMessageBox::No:
            return msg_answer::no;
        default:
            return msg_answer::ok;
    }
}

}  // namespace

msg_answer qt_ui_port::message_box(const std::string& text, const std::string& caption,
                                   msg_buttons buttons) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption),
                    QString::fromStdString(text), standard_buttons(buttons),
                    QApplication::activeWindow());
    return answer_of(box.exec());
}

void qt_ui_port::exclamation() {
    QApplication::beep();
}

void qt_ui_port::debug_line(const std::string& line) {
    qDebug().noquote() << QString::fromStdString(line);
}

void qt_ui_port::process_events() {
    QCoreApplication::processEvents();
}

bool qt_clipboard_port::has_image() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasImage();
}

bool qt_clipboard_port::get_image(mevra::decoded_picture& out) {
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull()) return false;
    out = picture_from_qimage(image);
    return true;
}

bool qt_clipboard_port::set_image(const mevra::platform_bitmap& bitmap, std::string& error) {
    const QImage image = qimage_from_bitmap(bitmap);
    if (image.isNull()) {
        error = "the bitmap is empty or damaged";
        return false;
    }
    QGuiApplication::clipboard()->setImage(image);
    return true;
}

void install_qt_ports() {
    static qt_ui_port ui;
    static qt_clipboard_port clipboard;
    mevra::set_ui_port(&ui);
    mevra::set_clipboard_port(&clipboard);
    mevra::set_text_lookup(&qt_text_lookup);
}
