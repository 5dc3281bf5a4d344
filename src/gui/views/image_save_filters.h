#pragma once
// The save dialogs' file types in format order: entry i (from 0) is format
// code i, so the chosen entry's index is the format to save in.
// Made once, after the interface language is chosen.
#include <QCoreApplication>
#include <QStringList>

inline const QStringList& image_save_filters() {
    static const QStringList filters = {
        QCoreApplication::translate("image_save_filters", "ビットマップファイル(bmp) (*.bmp)"),
        QCoreApplication::translate("image_save_filters", "JPEGファイル(jpg) (*.jpg)"),
        QCoreApplication::translate("image_save_filters", "PNGファイル(png) (*.png)"),
        QCoreApplication::translate("image_save_filters", "TIFFファイル(tif) (*.tif)"),
        QCoreApplication::translate("image_save_filters", "GIFファイル(gif) (*.gif)"),
        QCoreApplication::translate("image_save_filters", "Targaファイル(tga) (*.tga)"),
        QCoreApplication::translate("image_save_filters", "DDSファイル(dds) (*.dds)")};
    return filters;
}
