#include "dialogs/conv_option.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
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

ConvOption::ConvOption(QWidget* parent) : QDialog(parent) {
    setObjectName("ConvOption");
    setWindowTitle(tr("감색 옵션  "));
    dialog_style::apply_look(this);

    numericUpDown1 = new QSpinBox(this);
    numericUpDown1->setObjectName("numericUpDown1");
    numericUpDown1->setRange(2, 256);
    numericUpDown1->setToolTip(
        tr("감색後のカラー数を指定します。元の画像のカラー数が２万色以上になると\n"
           "변환に1分以上かかることがあります。"));

    comboBox1 = new QComboBox(this);
    comboBox1->setObjectName("comboBox1");
    for (const char* item : {QT_TR_NOOP("배경중시(강)"), QT_TR_NOOP("배경중시(중)"),
                             QT_TR_NOOP("배경중시(약)"), QT_TR_NOOP("컬러 중시")})
        comboBox1->addItem(tr(item));
    comboBox1->setToolTip(tr("「背景重視」は画像上で多くの面積を使用している色を重視します。"));

    comboBox2 = new QComboBox(this);
    comboBox2->setObjectName("comboBox2");
    for (const char* item : {QT_TR_NOOP("없음"), QT_TR_NOOP("오차확산A"), QT_TR_NOOP("오차확산B"),
                             QT_TR_NOOP("패턴 디터  ")})
        comboBox2->addItem(tr(item));
    comboBox2->setToolTip(
        tr("오차확산B→오차확산A→패턴 디터  →없음　の順に計算が複雑です。\n"
           "３００万画素以上になると1分ほど時間がかかる場合があります。"));

    numericUpDown2 = new QSpinBox(this);
    numericUpDown2->setObjectName("numericUpDown2");
    numericUpDown2->setRange(1, 10);
    numericUpDown2->setToolTip(tr("１は弱く、１０は強くディザリングします"));

    checkBox1 = new QCheckBox(tr("빼는색 감색 안함"), this);
    checkBox1->setObjectName("checkBox1");

    for (QWidget* w : {static_cast<QWidget*>(numericUpDown1), static_cast<QWidget*>(comboBox1),
                       static_cast<QWidget*>(comboBox2), static_cast<QWidget*>(numericUpDown2)})
        dialog_style::set_tooltip_timing(w, tip_wake_ms, tip_show_ms);

    auto* grid = new QGridLayout;
    add_row(grid, 0, tr("색수 [ 2 - 256 ]"), numericUpDown1);
    add_row(grid, 1, tr("감색 우선타입"), comboBox1);
    add_row(grid, 2, tr("디저링 타입   "), comboBox2);
    add_row(grid, 3, tr("디저링 레벨  [ 1 - 10 ]  "), numericUpDown2);
    grid->addWidget(checkBox1, 4, 0, 1, 2);

    QPushButton *ok = nullptr, *cancel = nullptr;
    auto* buttons = dialog_style::make_ok_cancel(this, &ok, &cancel);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    dialog_style::keep_position(this);
    dialog_style::light_fields(this);
}

void ConvOption::read_settings() {
    const mevra::clgbase& s = mevra::settings();
    numericUpDown1->setValue(s.target_color);
    comboBox1->setCurrentIndex(std::clamp(s.conv_mode, 0, comboBox1->count() - 1));
    comboBox2->setCurrentIndex(std::clamp(s.dither_type, 0, comboBox2->count() - 1));
    numericUpDown2->setValue(s.dither_level);
    checkBox1->setChecked(s.transparency_mode != 0);
}

void ConvOption::write_settings() {
    mevra::clgbase& s = mevra::settings();
    s.target_color = std::clamp(numericUpDown1->value(), 2, 256);
    s.conv_mode = comboBox1->currentIndex();
    s.dither_type = comboBox2->currentIndex();
    s.dither_level = std::clamp(numericUpDown2->value(), 1, 10);
    s.transparency_mode = checkBox1->isChecked() ? 1 : 0;
}

int ConvOption::OpenGenshokuDialog() {
    read_settings();
    const int result = exec();
    if (result != QDialog::Accepted) return result;
    write_settings();
    if (on_accepted) on_accepted();
    return result;
}
