#pragma once
// The save dialogs' file types in format order: entry i (from 0) is format
// code i, so the chosen entry's index is the format to save in.
#include <QStringList>

inline const QStringList& image_save_filters() {
    static const QStringList filters = {
        "ビットマップファイル(bmp) (*.bmp)", "JPEGファイル(jpg) (*.jpg)",
        "PNGファイル(png) (*.png)",          "TIFFファイル(tif) (*.tif)",
        "GIFファイル(gif) (*.gif)",          "Targaファイル(tga) (*.tga)",
        "DDSファイル(dds) (*.dds)"};
    return filters;
}
