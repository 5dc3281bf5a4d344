// Printing and print preview of the active image: one page, the image
// stretched over the page's margin rectangle.
#include <QFileDialog>
#include <QImage>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <cstring>

#include "app/main_window.h"
#include "views/image_window.h"

namespace {

// The printable area as the painter of a QPrinter sees it: its origin is the
// top-left corner of the margin rectangle.
QRectF margin_rect(QPrinter& printer) {
    return QRectF(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
}

// Without any installed printer the page goes into a PDF file.
bool choose_output(QWidget* parent, QPrinter& printer, const QString& fixed_path) {
    QString path = fixed_path;
    if (path.isEmpty() && QPrinterInfo::availablePrinterNames().isEmpty()) {
        path = QFileDialog::getSaveFileName(parent, "PDF", QString(), "PDF (*.pdf)", nullptr,
                                            QFileDialog::DontUseNativeDialog);
        if (path.isEmpty()) return false;
    }
    if (!path.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
    }
    return true;
}

}  // namespace

bool main_window::draw_print_page(QPainter& painter, const QRectF& target) {
    if (!image_window::check_mdi() || !image_window::lastActive->image) return false;
    // Indexed images print their colours, so a copy is turned into ARGB.
    mevra::image_info copy(*image_window::lastActive->image);
    if (copy.image_type != mevra::IMGTYP_RGB) copy.image_to_argb();
    const size_t pixels = static_cast<size_t>(copy.pixel_count());
    if (copy.width <= 0 || copy.height <= 0 || copy.argb_buff.size() < pixels) return false;
    QImage bitmap(copy.width, copy.height, QImage::Format_ARGB32);
    for (int y = 0; y < copy.height; ++y)
        std::memcpy(bitmap.scanLine(y), copy.argb_buff.data() + static_cast<size_t>(y) * copy.width,
                    static_cast<size_t>(copy.width) * 4);
    painter.drawImage(target, bitmap);
    return true;
}

void main_window::cmd_print() {
    if (!image_window::check_mdi()) return;
    QPrinter printer(QPrinter::HighResolution);
    QPageSetupDialog setup(&printer, this);
    setup.setObjectName("page_setup_dialog");
    if (setup.exec() != QDialog::Accepted) return;
    if (!choose_output(this, printer, print_to_file_path)) return;
    QPainter painter;
    if (!painter.begin(&printer)) return;
    draw_print_page(painter, margin_rect(printer));
    painter.end();
}

void main_window::cmd_print_preview() {
    if (!image_window::check_mdi()) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName("print_preview_dialog");
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) {
        QPainter painter;
        if (!painter.begin(p)) return;
        draw_print_page(painter, margin_rect(*p));
        painter.end();
    });
    preview.exec();
}
