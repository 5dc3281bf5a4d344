// The palette window's palette files: loading a palette onto the active image
// and saving the active image's palette.
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>

#include "formats/palette_file.h"
#include "image/image_info.h"
#include "platform/ui_port.h"
#include "reduce/palette_mapping.h"
#include "views/image_window.h"
#include "views/indexed_image.h"
#include "views/palette_window.h"

using namespace mevra;

namespace {

struct palette_filter {
    const char* text;
    palette_file_type type;
};

// The save dialog's types; two share .pal, so the filter, not the name, decides.
const palette_filter save_filters[] = {
    {QT_TRANSLATE_NOOP("palette_window", "GIMP 팔레트 (*.gpl)"), palette_file_type::gimp},
    {QT_TRANSLATE_NOOP("palette_window", "JASC-PAL 팔레트 (*.pal)"), palette_file_type::jasc},
    {QT_TRANSLATE_NOOP("palette_window", "RIFF 팔레트 (*.pal)"), palette_file_type::riff},
    {QT_TRANSLATE_NOOP("palette_window", "Adobe 컬러 테이블 (*.act)"), palette_file_type::act},
    {QT_TRANSLATE_NOOP("palette_window", "16진 컬러 리스트 (*.hex)"), palette_file_type::hex},
    {QT_TRANSLATE_NOOP("palette_window", "PNG 이미지 (*.png)"), palette_file_type::png},
};

void report(const QString& path, const QString& what, const std::string& reason) {
    show_message((path + "\n" + what + " : ").toStdString() + reason,
                 palette_window::tr("エラー").toStdString());
}

}  // namespace

void palette_window::build_palette_file_buttons() {
    auto button = [this](const char* name, const QString& text, QRect where) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setGeometry(where);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    connect(button("load_palette_button", tr("팔레트 불러오기…"), QRect(3, 482, 124, 20)),
            &QPushButton::clicked, this, [this] { load_palette(); });
    connect(button("save_palette_button", tr("팔레트 저장…"), QRect(130, 482, 124, 20)),
            &QPushButton::clicked, this, [this] { save_palette(); });
}

void palette_window::load_palette(const QString& given) {
    image_window* active = active_image_window();
    if (!active || !active->image || active->image->flag == 0) return;
    QString path = given;
    if (path.isEmpty()) {
        QFileDialog dialog(this, tr("팔레트 불러오기"));
        dialog.setObjectName("load_palette_dialog");
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters({tr("팔레트 (*.gpl *.pal *.act *.hex *.png)"), tr("모든 파일 (*)")});
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
        path = dialog.selectedFiles().front();
    }
    std::vector<uint32_t> colours;
    std::string reason;
    if (!read_palette_file(path.toStdString(), colours, reason)) {
        report(path, tr("팔레트를 읽을 수 없습니다"), reason);
        return;
    }
    image_info& image = *active->image;
    const int done =
        is_indexed(image) ? replace_palette(image, colours) : map_to_palette(image, colours);
    if (done != 0) return;
    active->undo_add();
    active->zoom_changed();
}

void palette_window::save_palette() {
    image_window* active = active_image_window();
    if (!active || !active->image || active->image->flag == 0) return;
    const image_info& image = *active->image;
    std::vector<uint32_t> colours;
    std::string reason;
    const QString title = active->windowTitle();
    if (is_indexed(image)) {
        colours = palette_of(image);
    } else if (!palette_of_pixels(image.argb_buff, colours, reason)) {
        report(title, tr("팔레트를 저장할 수 없습니다"), reason);
        return;
    }
    QFileDialog dialog(this, tr("팔레트 저장"));
    dialog.setObjectName("save_palette_dialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    for (const auto& f : save_filters)
        filters << tr(f.text);
    dialog.setNameFilters(filters);
    const QFileInfo info(title);
    if (info.isFile()) dialog.selectFile(info.absolutePath() + "/" + info.completeBaseName());
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
        const QString ext = f.section("*", 1).section(")", 0, 0);
        dialog.setDefaultSuffix(ext.mid(1));
    });
    dialog.setDefaultSuffix("gpl");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    if (chosen < 0) return;
    const QString path = dialog.selectedFiles().front();
    if (!write_palette_file(path.toStdString(), save_filters[chosen].type, colours, reason))
        report(path, tr("팔레트를 저장할 수 없습니다"), reason);
}
