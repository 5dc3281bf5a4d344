#include "dialogs/reduction_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

#include "dialogs/dialog_style.h"
#include "settings/clgbase.h"

namespace {

// The tips appear after half a second and stay for twenty seconds. Qt has no
// separate delay between two tips: once one has shown, the next appears at
// once as long as the pointer moves on within the style's fall-asleep time.
constexpr int tip_wake_ms = 500;
constexpr int tip_show_ms = 20000;

QLabel* add_row(QGridLayout* grid, int row, const QString& label, QWidget* control) {
    auto* text = new QLabel(label);
    text->setBuddy(control);  // also the control's name for assistive technology
    grid->addWidget(text, row, 0);
    grid->addWidget(control, row, 1);
    return text;
}

}  // namespace

reduction_options_dialog::reduction_options_dialog(QWidget* parent) : QDialog(parent) {
    setObjectName("reduction_options_dialog");
    setWindowTitle(tr("감색 옵션  "));
    dialog_style::apply_look(this);

    colours_spin = new QSpinBox(this);
    colours_spin->setObjectName("colours_spin");
    colours_spin->setRange(2, 256);
    colours_spin->setToolTip(
        tr("감색後のカラー数を指定します。元の画像のカラー数が２万色以上になると\n"
           "변환に1分以上かかることがあります。"));

    priority_combo = new QComboBox(this);
    priority_combo->setObjectName("priority_combo");
    for (const char* item : {QT_TR_NOOP("배경중시(강)"), QT_TR_NOOP("배경중시(중)"),
                             QT_TR_NOOP("배경중시(약)"), QT_TR_NOOP("컬러 중시")})
        priority_combo->addItem(tr(item));
    priority_combo->setToolTip(
        tr("「背景重視」は画像上で多くの面積を使用している色を重視します。"));

    dither_combo = new QComboBox(this);
    dither_combo->setObjectName("dither_combo");
    for (const char* item : {QT_TR_NOOP("없음"), QT_TR_NOOP("오차확산A"), QT_TR_NOOP("오차확산B"),
                             QT_TR_NOOP("패턴 디터  ")})
        dither_combo->addItem(tr(item));
    dither_combo->setToolTip(
        tr("오차확산B→오차확산A→패턴 디터  →없음　の順に計算が複雑です。\n"
           "３００万画素以上になると1分ほど時間がかかる場合があります。"));

    dither_level_spin = new QSpinBox(this);
    dither_level_spin->setObjectName("dither_level_spin");
    dither_level_spin->setRange(1, 10);
    dither_level_spin->setToolTip(tr("１は弱く、１０は強くディザリングします"));

    refine_passes_spin = new QSpinBox(this);
    refine_passes_spin->setObjectName("refine_passes_spin");
    refine_passes_spin->setRange(0, 16);
    refine_passes_spin->setToolTip(
        tr("減色後のパレットを画像の色に近づける補正の回数です。０で補正しません。\n"
           "写真には「배경중시(강)」と１６回を推奨します。"));

    key_colour_out_check = new QCheckBox(tr("빼는색 감색 안함"), this);
    key_colour_out_check->setObjectName("key_colour_out_check");

    for (QWidget* w :
         {static_cast<QWidget*>(colours_spin), static_cast<QWidget*>(priority_combo),
          static_cast<QWidget*>(dither_combo), static_cast<QWidget*>(dither_level_spin),
          static_cast<QWidget*>(refine_passes_spin)})
        dialog_style::set_tooltip_timing(w, tip_wake_ms, tip_show_ms);

    auto* grid = new QGridLayout;
    add_row(grid, 0, tr("색수 [ 2 - 256 ]"), colours_spin);
    add_row(grid, 1, tr("감색 우선타입"), priority_combo);
    add_row(grid, 2, tr("디저링 타입   "), dither_combo);
    add_row(grid, 3, tr("디저링 레벨  [ 1 - 10 ]  "), dither_level_spin);
    const QLabel* refine_label =
        add_row(grid, 4, tr("팔레트 보정 횟수 [ 0 - 16 ]"), refine_passes_spin);
    refine_passes_spin->setAccessibleName(refine_label->text());
    grid->addWidget(key_colour_out_check, 5, 0, 1, 2);

    dialog_style::finish_options_dialog(this, grid);
}

void reduction_options_dialog::read_settings() {
    const mevra::clgbase& s = mevra::settings();
    colours_spin->setValue(s.target_color);
    priority_combo->setCurrentIndex(std::clamp(s.conv_mode, 0, priority_combo->count() - 1));
    dither_combo->setCurrentIndex(std::clamp(s.dither_type, 0, dither_combo->count() - 1));
    dither_level_spin->setValue(s.dither_level);
    key_colour_out_check->setChecked(s.transparency_mode != 0);
    refine_passes_spin->setValue(s.refine_passes);
}

void reduction_options_dialog::write_settings() {
    mevra::clgbase& s = mevra::settings();
    s.target_color = std::clamp(colours_spin->value(), 2, 256);
    s.conv_mode = priority_combo->currentIndex();
    s.dither_type = dither_combo->currentIndex();
    s.dither_level = std::clamp(dither_level_spin->value(), 1, 10);
    s.transparency_mode = key_colour_out_check->isChecked() ? 1 : 0;
    s.refine_passes = std::clamp(refine_passes_spin->value(), 0, 16);
}

int reduction_options_dialog::open_dialog() {
    read_settings();
    const int result = exec();
    if (result != QDialog::Accepted) return result;
    write_settings();
    if (on_accepted) on_accepted();
    return result;
}
