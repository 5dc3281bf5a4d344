#include "views/image_save_dialog.h"

#include <QFileDialog>

#include "views/image_save_filters.h"

namespace {

const char* const filter_suffixes[] = {"bmp", "jpg", "png", "tif", "gif", "tga", "dds"};

}  // namespace

void prepare_image_save_dialog(QFileDialog& dialog, int entry) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(image_save_filters());
    if (entry < 0 || entry >= image_save_filters().size()) entry = 0;
    dialog.selectNameFilter(image_save_filters()[entry]);
    dialog.setDefaultSuffix(filter_suffixes[entry]);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) {
                         const auto i = image_save_filters().indexOf(filter);
                         if (i >= 0) dialog.setDefaultSuffix(filter_suffixes[i]);
                     });
}
