#include "app/qt_ports.h"

#include <QApplication>
#include <QClipboard>
#include <QDebug>
#include <QMessageBox>
#include <QMimeData>
#include <cstring>

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

mevra::decoded_picture picture_from_qimage(const QImage& image) {
    mevra::decoded_picture pic;
    pic.width = image.width();
    pic.height = image.height();
    const size_t pixels = static_cast<size_t>(pic.width) * static_cast<size_t>(pic.height);
    const bool mono =
        image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB;
    if ((mono || image.format() == QImage::Format_Indexed8) && image.colorCount() > 0) {
        const QImage indexed = image.convertToFormat(QImage::Format_Indexed8);
        pic.index_bits = mono ? 1 : 8;
        for (QRgb c : indexed.colorTable())
            pic.palette.push_back(c);
        pic.indices.resize(pixels);
        for (int y = 0; y < pic.height; ++y)
            std::memcpy(pic.indices.data() + static_cast<size_t>(y) * pic.width,
                        indexed.constScanLine(y), static_cast<size_t>(pic.width));
        return pic;
    }
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    pic.argb.resize(pixels);
    for (int y = 0; y < pic.height; ++y)
        std::memcpy(pic.argb.data() + static_cast<size_t>(y) * pic.width, argb.constScanLine(y),
                    static_cast<size_t>(pic.width) * 4);
    return pic;
}

QImage qimage_from_bitmap(const mevra::platform_bitmap& bitmap) {
    const int w = bitmap.width;
    const int h = bitmap.height;
    if (w <= 0 || h <= 0) return {};
    const size_t pixels = static_cast<size_t>(w) * static_cast<size_t>(h);
    if (bitmap.index_bits == 0) {
        if (bitmap.argb.size() < pixels) return {};
        QImage out(w, h, QImage::Format_ARGB32);
        for (int y = 0; y < h; ++y)
            std::memcpy(out.scanLine(y), bitmap.argb.data() + static_cast<size_t>(y) * w,
                        static_cast<size_t>(w) * 4);
        return out;
    }
    if (bitmap.indices.size() < pixels || bitmap.palette.empty()) return {};
    QImage out(w, h, QImage::Format_Indexed8);
    QList<QRgb> table(bitmap.palette.begin(), bitmap.palette.end());
    out.setColorTable(table);
    const auto last = static_cast<uint8_t>(table.size() - 1);
    for (int y = 0; y < h; ++y) {
        uchar* row = out.scanLine(y);
        const uint8_t* src = bitmap.indices.data() + static_cast<size_t>(y) * w;
        // An index past the table would make Qt read outside it when drawing.
        for (int x = 0; x < w; ++x)
            row[x] = src[x] <= last ? src[x] : last;
    }
    return out;
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

std::string qt_text_lookup(const char* context, const char* text) {
    return QCoreApplication::translate(context, text).toStdString();
}

void install_qt_ports() {
    static qt_ui_port ui;
    static qt_clipboard_port clipboard;
    mevra::set_ui_port(&ui);
    mevra::set_clipboard_port(&clipboard);
    mevra::set_text_lookup(&qt_text_lookup);
}
