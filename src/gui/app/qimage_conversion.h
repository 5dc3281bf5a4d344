#pragma once
// Conversions between Qt images and the core's pictures, used by the
// clipboard port.
#include <QImage>

#include "platform/clipboard_port.h"

// Indexed QImages become indexed pictures (1-bit or 8-bit); everything else
// becomes straight (not premultiplied) ARGB.
mevra::decoded_picture picture_from_qimage(const QImage& image);
// ARGB, 8-bit and 4-bit bitmaps; 4-bit ones become 8-bit QImages with a
// 16-entry colour table, since Qt has no 4-bit format.
QImage qimage_from_bitmap(const mevra::platform_bitmap& bitmap);
