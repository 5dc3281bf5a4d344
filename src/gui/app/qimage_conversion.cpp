#include "app/qimage_conversion.h"

#include <cstring>

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
