// Saving an image window: straight to its file, or through the save dialog.
#include <QFileDialog>
#include <QFileInfo>

#include "platform/ui_port.h"
#include "views/image_save_dialog.h"
#include "views/image_save_filters.h"
#include "views/image_window.h"

namespace {

// The entry last chosen, kept for images that have no format of their own.
int last_filter_index = 0;

}  // namespace

bool image_window::save_image(int mode) {
    if (!image) return false;
    const QString title = windowTitle();
    if (mode == 0 && QFileInfo(title).isFile() && image->format != mevra::IMGFMT_NONE)
        return save_file(image->format, title);

    int entry = last_filter_index;
    if (image->format == mevra::IMGFMT_CLIPBOARD)
        entry = 0;
    else if (image->format >= mevra::IMGFMT_BMP && image->format <= mevra::IMGFMT_DDS)
        entry = image->format;
    QFileDialog dialog(this, tr("イメージ保存"));
    dialog.setObjectName("save_file_dialog");
    prepare_image_save_dialog(dialog, entry);
    const QFileInfo info(title);
    if (title.isEmpty()) {
        mevra::ui().debug_line("The path is empty : 新規保存");
    } else {
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.absolutePath() + "/" + info.completeBaseName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    const int chosen = static_cast<int>(image_save_filters().indexOf(dialog.selectedNameFilter()));
    if (chosen < 0) return false;
    last_filter_index = chosen;
    return save_file(chosen, dialog.selectedFiles().front());
}

bool image_window::save_file(int format, const QString& path) {
    // A failed or refused save has been reported by the save path; the window
    // keeps its name, format and modified flag so the changes are not lost.
    if (image->save_to_file(format, path.toStdString()) != 0) return false;
    if (format >= mevra::IMGFMT_BMP && format <= mevra::IMGFMT_DDS) {
        image->format = format;
        setWindowTitle(path);
    }
    undo_add();
    zoom_changed();
    edit_change = 0;
    return true;
}
