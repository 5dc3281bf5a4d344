#include "dialogs/environment_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "dialogs/colour_swatch.h"
#include "dialogs/dialog_style.h"
#include "settings/clgbase.h"

namespace {

// The wide blanks are ideographic spaces that line the columns up.
const char* const grid_widths[] = {
    QT_TRANSLATE_NOOP("environment_options_dialog", "　２ドットＸ　　８ドット"),
    QT_TRANSLATE_NOOP("environment_options_dialog", "　２ドットＸ　１０ドット"),
    QT_TRANSLATE_NOOP("environment_options_dialog", "　２ドットＸ　１２ドット"),
    QT_TRANSLATE_NOOP("environment_options_dialog", "　４ドットＸ　１６ドット"),
    QT_TRANSLATE_NOOP("environment_options_dialog", "　４ドットＸ　２４ドット"),
    QT_TRANSLATE_NOOP("environment_options_dialog", "　８ドットＸ　４０ドット"),
    QT_TRANSLATE_NOOP("environment_options_dialog", "１２ドットＸ　４８ドット"),
    QT_TRANSLATE_NOOP("environment_options_dialog", "１６ドットＸ　６４ドット"),
    QT_TRANSLATE_NOOP("environment_options_dialog", "３０ドットＸ１２０ドット"),
    QT_TRANSLATE_NOOP("environment_options_dialog", "４０ドットＸ１６０ドット")};

const char* const joiner_text[] = {"", "_", "-"};
const char* const extension_text[] = {"bmp", "jpg", "png", "tif", "gif", "tga", "dds"};

QComboBox* make_list(QWidget* parent, const char* name, std::initializer_list<QString> items) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const QString& item : items)
        list->addItem(item);
    return list;
}

QLabel* text_label(const QString& text) {
    return new QLabel(text);
}

void set_index(QComboBox* list, int index) {
    list->setCurrentIndex(std::clamp(index, 0, list->count() - 1));
}

// The component boxes take an unsigned decimal number; anything else
// (letters, a negative number, more than 32 bits) counts as 0, and the value
// is limited to 255.
int component_value(const QString& text) {
    bool ok = false;
    const uint value = text.trimmed().toUInt(&ok, 10);
    if (!ok) return 0;
    return static_cast<int>(std::min<uint>(value, 255));
}

}  // namespace

environment_options_dialog::environment_options_dialog(QWidget* parent) : QDialog(parent) {
    setObjectName("environment_options_dialog");
    setWindowTitle(tr("환경설정"));
    dialog_style::apply_look(this);

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("options_scroll");
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* panel = new QWidget;
    build_panel(panel);
    scroll->setWidget(panel);
    scroll->viewport()->setAutoFillBackground(false);
    panel->setAutoFillBackground(false);
    // The panel never gets narrower than its contents; the scroll bar comes on top.
    panel->setMinimumWidth(panel->sizeHint().width());
    scroll->setFixedSize(
        panel->minimumWidth() + scroll->verticalScrollBar()->sizeHint().width() + 2, 400);

    auto* body = new QVBoxLayout;
    body->addWidget(scroll);
    dialog_style::finish_options_dialog(this, body);
    set_aviren_sample_name();
}

void environment_options_dialog::build_panel(QWidget* panel) {
    grid_width_combo = make_list(panel, "grid_width_combo", {});
    for (const char* entry : grid_widths)
        grid_width_combo->addItem(tr(entry));
    colour_unit_combo =
        make_list(panel, "colour_unit_combo", {tr("１０進( 0 - 255 )"), tr("１６進( 0 - FF )")});
    cursor_zoom_combo = make_list(panel, "cursor_zoom_combo", {"x1", "x2", "x4", "x8"});
    wallpaper_combo =
        make_list(panel, "wallpaper_combo",
                  {tr("チェック ( 紺 )"), tr("ひし形 ( 緑 )"), tr("ピラミッド ( 黄 )"),
                   tr("セメント ( グレイ )"), tr("ロゴ ( グレイ )")});
    jpeg_quality_spin = new QSpinBox(panel);
    jpeg_quality_spin->setObjectName("jpeg_quality_spin");
    jpeg_quality_spin->setRange(10, 100);
    dds_format_combo = make_list(panel, "dds_format_combo",
                                 {"FMT_A8R8G8B8", "FMT_A4R4G4B4", "FMT_A1R5G5B5", "FMT_DXT5",
                                  "FMT_DXT3", "FMT_DXT1", "FMT_BC7", "FMT_BC4", "FMT_BC5"});
    dds_mipmaps_check = new QCheckBox(tr("Write mipmaps"), panel);
    dds_mipmaps_check->setObjectName("dds_mipmaps_check");
    dds_mipmaps_check->setAccessibleName(tr("Write DDS mipmaps"));
    dds_mipmaps_check->setToolTip(
        tr("DDS files get every smaller level down to 1 x 1, filtered in linear light"));
    key_colour_transparent_check = new QCheckBox(tr("抜き色を[透過対象色]とする"), panel);
    key_colour_transparent_check->setObjectName("key_colour_transparent_check");
    alpha_zero_transparent_check =
        new QCheckBox(tr("アルファ値が0の色を[透過対象色]とする"), panel);
    alpha_zero_transparent_check->setObjectName("alpha_zero_transparent_check");
    first_entry_transparent_check =
        new QCheckBox(tr("パレットの最初の色を[透過対象色]とする"), panel);
    first_entry_transparent_check->setObjectName("first_entry_transparent_check");
    frame_joiner_combo = make_list(panel, "frame_joiner_combo",
                                   {tr("없음"), tr("アンダースコア ( _ )"), tr("ハイフン ( - )")});
    frame_digits_combo = make_list(panel, "frame_digits_combo",
                                   {tr("4桁"), tr("5桁"), tr("6桁"), tr("7桁"), tr("8桁")});
    frame_extension_combo =
        make_list(panel, "frame_extension_combo",
                  {"0=BMP", "1=JPG", "2=PNG", "3=TIF", "4=GIF", "5=TGA", "6=DDS"});
    sample_name_label = new QLabel(panel);
    sample_name_label->setObjectName("sample_name_label");

    // Colour component rows: A R G B boxes and the swatch.
    const char* box_names[2][4] = {
        {"key_alpha_edit", "key_red_edit", "key_green_edit", "key_blue_edit"},
        {"back_alpha_edit", "back_red_edit", "back_green_edit", "back_blue_edit"}};
    const char* swatch_names[2] = {"key_colour_swatch", "back_colour_swatch"};
    QHBoxLayout* colour_rows[2];
    for (int g = 0; g < 2; ++g) {
        colour_rows[g] = new QHBoxLayout;
        for (int c = 0; c < 4; ++c) {
            colour_rows[g]->addWidget(new QLabel(QString("ARGB"[c])));
            auto* box = new QLineEdit(panel);
            box->setObjectName(box_names[g][c]);
            box->setFixedWidth(40);
            boxes[g][c] = box;
            colour_rows[g]->addWidget(box);
            connect(box, &QLineEdit::textChanged, this, [this, box] { component_changed(box); });
        }
        swatches[g] = new colour_swatch(panel);
        swatches[g]->setObjectName(swatch_names[g]);
        colour_rows[g]->addWidget(swatches[g]);
        colour_rows[g]->addStretch(1);
    }

    auto* grid = new QGridLayout(panel);
    int row = 0;
    auto add = [&](const QString& label, QWidget* control) {
        QLabel* text = text_label(label);
        text->setBuddy(control);
        grid->addWidget(text, row, 0);
        grid->addWidget(control, row++, 1);
    };
    add(tr("グリッド幅( 細 x 太 )"), grid_width_combo);
    add(tr("カラー数値単位( 10進 16進 )"), colour_unit_combo);
    add(tr("マウスカーソルズームサイズ"), cursor_zoom_combo);
    add(tr("壁紙タイプ"), wallpaper_combo);
    add(tr("JPEG圧縮率(%) [ 10 - 100 ]"), jpeg_quality_spin);
    add(tr("DDS保存タイプ"), dds_format_combo);
    grid->addWidget(dds_mipmaps_check, row++, 1);
    QLabel* key_heading = text_label(tr("抜き色 ( 0 - 255 )"));
    grid->addWidget(key_heading, row++, 0, 1, 2);
    grid->addLayout(colour_rows[0], row++, 0, 1, 2);
    grid->addWidget(key_colour_transparent_check, row++, 0, 1, 2);
    grid->addWidget(alpha_zero_transparent_check, row++, 0, 1, 2);
    grid->addWidget(first_entry_transparent_check, row++, 0, 1, 2);
    QLabel* back_heading = text_label(tr("バックカラー ( 0 - 255 )"));
    grid->addWidget(back_heading, row++, 0, 1, 2);
    grid->addLayout(colour_rows[1], row++, 0, 1, 2);
    grid->addWidget(text_label(tr("AVI連番桁設定")), row++, 0, 1, 2);
    add(tr("つなぎ記号"), frame_joiner_combo);
    add(tr("桁数"), frame_digits_combo);
    add(tr("拡張子"), frame_extension_combo);
    grid->addWidget(sample_name_label, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);

    // A lone "A" would not tell the two colours apart: each box is named by
    // its heading and its component.
    const QLabel* headings[2] = {key_heading, back_heading};
    for (int g = 0; g < 2; ++g)
        for (int c = 0; c < 4; ++c)
            boxes[g][c]->setAccessibleName(headings[g]->text() + " " + QString("ARGB"[c]));

    for (QComboBox* list : {frame_joiner_combo, frame_digits_combo, frame_extension_combo})
        connect(list, &QComboBox::currentIndexChanged, this,
                &environment_options_dialog::set_aviren_sample_name);
}

void environment_options_dialog::component_changed(QLineEdit* box) {
    const QString plain = QString::number(component_value(box->text()));
    if (box->text() != plain) {
        box->setText(plain);  // runs this rule again, which then agrees and repaints
        return;
    }
    const int group = std::find(boxes[0].begin(), boxes[0].end(), box) != boxes[0].end() ? 0 : 1;
    uint32_t argb = 0;
    for (QLineEdit* part : boxes[group])
        argb = argb << 8 | static_cast<uint32_t>(component_value(part->text()));
    swatches[group]->set_argb(argb);
}

void environment_options_dialog::fill_boxes_from_swatch(int group) {
    const uint32_t argb = swatches[group]->argb();
    for (int c = 0; c < 4; ++c)
        boxes[group][c]->setText(QString::number((argb >> (24 - 8 * c)) & 0xFF));
}

void environment_options_dialog::read_env_option() {
    const mevra::clgbase& s = mevra::settings();
    jpeg_quality_spin->setValue(s.jpeg_compress);
    set_index(dds_format_combo, s.dds_format);
    dds_mipmaps_check->setChecked(s.dds_mipmaps != 0);
    set_index(grid_width_combo, s.grid_type);
    set_index(colour_unit_combo, s.argb_unit);
    set_index(cursor_zoom_combo, s.cursor_zoom);
    set_index(wallpaper_combo, s.background_type);
    swatches[0]->set_argb(s.nuki_color);
    swatches[1]->set_argb(s.back_color);
    key_colour_transparent_check->setChecked(s.nuki_flg_color != 0);
    alpha_zero_transparent_check->setChecked(s.nuki_flg_alpha0 != 0);
    first_entry_transparent_check->setChecked(s.nuki_flg_palette0 != 0);
    set_index(frame_joiner_combo, s.aviren_option1);
    set_index(frame_digits_combo, s.aviren_option2);
    set_index(frame_extension_combo, s.aviren_option3);
    // Filling box by box repaints the swatch from a half-updated group on the
    // way; after the fourth box it shows the stored colour again.
    fill_boxes_from_swatch(0);
    fill_boxes_from_swatch(1);
}

void environment_options_dialog::write_env_option() {
    if (result() != QDialog::Accepted) return;
    mevra::clgbase& s = mevra::settings();
    s.jpeg_compress = std::clamp(jpeg_quality_spin->value(), 10, 100);
    s.dds_format = dds_format_combo->currentIndex();
    s.dds_mipmaps = dds_mipmaps_check->isChecked() ? 1 : 0;
    s.grid_type = grid_width_combo->currentIndex();
    s.argb_unit = colour_unit_combo->currentIndex();
    s.cursor_zoom = cursor_zoom_combo->currentIndex();
    s.background_type = wallpaper_combo->currentIndex();
    s.nuki_color = swatches[0]->argb();
    s.nuki_flg_color = key_colour_transparent_check->isChecked() ? 1 : 0;
    s.nuki_flg_alpha0 = alpha_zero_transparent_check->isChecked() ? 1 : 0;
    s.nuki_flg_palette0 = first_entry_transparent_check->isChecked() ? 1 : 0;
    s.back_color = swatches[1]->argb();
    s.aviren_option1 = frame_joiner_combo->currentIndex();
    s.aviren_option2 = frame_digits_combo->currentIndex();
    s.aviren_option3 = frame_extension_combo->currentIndex();
}

int environment_options_dialog::open_dialog() {
    read_env_option();
    const int result = exec();
    write_env_option();
    return result;
}

void environment_options_dialog::set_aviren_sample_name() {
    const int joiner = frame_joiner_combo->currentIndex(),
              digits = frame_digits_combo->currentIndex(),
              extension = frame_extension_combo->currentIndex();
    if (joiner < 0 || digits < 0 || extension < 0) return;
    // Frame 1 of "movie" with the chosen joiner, 4 to 8 digits and extension.
    char name[64];
    std::snprintf(name, sizeof name, "movie%s%0*d.%s", joiner_text[joiner], digits + 4, 1,
                  extension_text[extension]);
    sample_name_label->setText(tr("ファイル名 例 %1").arg(QString::fromUtf8(name)));
}
