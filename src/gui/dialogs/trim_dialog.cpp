// The trim/resize dialog's controls and its opening; the rules that act while
// the user edits are in trim_dialog_rules.cpp.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/dialog_style.h"
#include "dialogs/trim_dialog.h"
#include "settings/clgbase.h"

namespace {

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

QComboBox* make_list(const char* name, std::initializer_list<QString> items) {
    auto* list = new QComboBox;
    list->setObjectName(name);
    for (const QString& item : items)
        list->addItem(item);
    return list;
}

QLineEdit* make_box(const char* name, const char* text) {
    auto* box = new QLineEdit(u8(text));
    box->setObjectName(name);
    box->setFixedWidth(64);
    return box;
}

// A label that names `control`, for the eye and for assistive technology.
QLabel* label_for(QWidget* control, QLabel* label) {
    label->setBuddy(control);
    return label;
}

QLabel* make_label(const char* name, const char* text) {
    auto* label = new QLabel(u8(text));
    label->setObjectName(name);
    return label;
}

// Tab pages are drawn by the style; let them show the dialog's dark grey.
QWidget* page_with(QLayout* layout) {
    auto* page = new QWidget;
    page->setAutoFillBackground(true);
    page->setBackgroundRole(QPalette::Window);
    page->setLayout(layout);
    return page;
}

}  // namespace

trim_dialog::trim_dialog(QWidget* parent) : QDialog(parent) {
    setObjectName("trim_dialog");
    setWindowTitle(tr("リサイズ"));
    dialog_style::apply_look(this);

    operation_combo = make_list("operation_combo", {tr("사이즈변경"), tr("확대/축소")});
    tabs = new QTabWidget;
    tabs->setObjectName("tabs");
    // The style draws tabs in light colours that white text cannot be read on.
    tabs->tabBar()->setStyleSheet(
        "QTabBar::tab { background: rgb(96, 96, 96); color: white; padding: 3px 10px; "
        "border: 1px solid rgb(40, 40, 40); }"
        "QTabBar::tab:selected { background: rgb(68, 68, 68); border-bottom-color: rgb(68, 68, "
        "68); }");
    // All four tabs stay in sight: the dialog widens for longer tab texts.
    tabs->tabBar()->setUsesScrollButtons(false);
    tabs->addTab(build_size_tab(), tr("サイズ 割合"));
    tabs->addTab(build_margin_tab(), tr("余白"));
    tabs->addTab(build_multiple_tab(), tr("倍数"));
    tabs->addTab(build_power_tab(), tr("累乗"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(operation_combo);
    layout->addWidget(tabs);
    layout->addLayout(build_bottom());
    layout->setSizeConstraint(QLayout::SetFixedSize);
    dialog_style::keep_position(this);
    dialog_style::light_fields(this);

    connect(operation_combo, &QComboBox::currentIndexChanged, this,
            &trim_dialog::operation_changed);
    connect(keep_aspect_check, &QCheckBox::toggled, this, &trim_dialog::keep_aspect_changed);
    connect(resize_to_size_check, &QCheckBox::toggled, this, &trim_dialog::resize_to_size_changed);
    connect(width_edit, &QLineEdit::textChanged, this, &trim_dialog::width_changed);
    connect(height_edit, &QLineEdit::textChanged, this, &trim_dialog::height_changed);
    connect(unit_combo, &QComboBox::currentIndexChanged, this, &trim_dialog::unit_changed);
    connect(tabs, &QTabWidget::currentChanged, this, &trim_dialog::update_preview);
    for (QLineEdit* box : {margin_top_edit, margin_bottom_edit, margin_left_edit, margin_right_edit,
                           power_percent_edit})
        connect(box, &QLineEdit::textChanged, this, &trim_dialog::update_preview);
    for (QComboBox* list : {multiple_combo, power_combo})
        connect(list, &QComboBox::currentIndexChanged, this, &trim_dialog::update_preview);
    operation_changed();
}

QWidget* trim_dialog::build_size_tab() {
    width_edit = make_box("width_edit", "100");
    height_edit = make_box("height_edit", "100");
    unit_combo = make_list("unit_combo", {"dot", "%"});
    unit_combo->setCurrentIndex(1);
    horizontal_align_combo =
        make_list("horizontal_align_combo", {tr("左寄せ"), tr("センタリング"), tr("右寄せ")});
    vertical_align_combo =
        make_list("vertical_align_combo", {tr("上詰め"), tr("センター"), tr("下詰め")});
    keep_aspect_check = new QCheckBox(tr("縦横比を固定"));
    keep_aspect_check->setObjectName("keep_aspect_check");
    keep_aspect_check->setChecked(true);
    resize_to_size_check = new QCheckBox(tr("指定サイズにリサイズ"));
    resize_to_size_check->setObjectName("resize_to_size_check");
    fit_inside_radio = new QRadioButton(tr("元絵の全体がサイズに入る大きさ"));
    fit_inside_radio->setObjectName("fit_inside_radio");
    fit_inside_radio->setChecked(true);
    cover_radio = new QRadioButton(tr("指定サイズが元絵に入る大きさ"));
    cover_radio->setObjectName("cover_radio");

    auto* grid = new QGridLayout;
    grid->addWidget(label_for(width_edit, new QLabel(tr("幅"))), 0, 0);
    grid->addWidget(width_edit, 0, 1);
    grid->addWidget(label_for(height_edit, new QLabel(tr("高さ"))), 1, 0);
    grid->addWidget(height_edit, 1, 1);
    grid->addWidget(unit_combo, 0, 2, 2, 1);
    grid->addWidget(horizontal_align_combo, 2, 0, 1, 2);
    grid->addWidget(vertical_align_combo, 2, 2);
    grid->addWidget(keep_aspect_check, 3, 0, 1, 3);
    grid->addWidget(resize_to_size_check, 4, 0, 1, 3);
    grid->addWidget(fit_inside_radio, 5, 0, 1, 3);
    grid->addWidget(cover_radio, 6, 0, 1, 3);
    grid->setRowStretch(7, 1);
    return page_with(grid);
}

QWidget* trim_dialog::build_margin_tab() {
    margin_top_edit = make_box("margin_top_edit", "0");
    margin_bottom_edit = make_box("margin_bottom_edit", "0");
    margin_left_edit = make_box("margin_left_edit", "0");
    margin_right_edit = make_box("margin_right_edit", "0");
    auto* grid = new QGridLayout;
    const std::pair<const char*, QLineEdit*> rows[] = {{"↑", margin_top_edit},
                                                       {"↓", margin_bottom_edit},
                                                       {"←", margin_left_edit},
                                                       {"→", margin_right_edit}};
    int row = 0;
    for (const auto& [arrow, box] : rows) {
        grid->addWidget(label_for(box, new QLabel(u8(arrow))), row, 0);
        grid->addWidget(box, row, 1);
        grid->addWidget(new QLabel("dot"), row++, 2);
    }
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(row, 1);
    return page_with(grid);
}

QWidget* trim_dialog::build_multiple_tab() {
    multiple_combo =
        make_list("multiple_combo", {tr("２の倍数の余白を足す"), tr("４の倍数の余白を足す"),
                                     tr("８の倍数の余白を足す"), tr("１６の倍数の余白を足す"),
                                     tr("２の倍数で右下をカット"), tr("４の倍数で右下をカット"),
                                     tr("８の倍数で右下をカット"), tr("１６の倍数で右下をカット")});
    multiple_combo->setCurrentIndex(1);
    auto* note = new QLabel(tr("選択した単位に画像の右下に余白を足す。又は、カットします"));
    note->setWordWrap(true);
    auto* column = new QVBoxLayout;
    column->addWidget(multiple_combo);
    column->addWidget(note);
    column->addStretch(1);
    return page_with(column);
}

QWidget* trim_dialog::build_power_tab() {
    power_combo =
        make_list("power_combo", {tr("２の累乗の「長方形」"), tr("２の累乗の「正方形」")});
    power_percent_edit = make_box("power_percent_edit", "100");
    auto* note = new QLabel(tr("元の画像を指定した割合でリサイズした画像の入る２の累乗にリサイズ"));
    note->setWordWrap(true);
    note->setBuddy(power_percent_edit);
    auto* percent = new QHBoxLayout;
    percent->addWidget(power_percent_edit);
    percent->addWidget(new QLabel(u8("％")));
    percent->addStretch(1);
    auto* column = new QVBoxLayout;
    column->addWidget(power_combo);
    column->addWidget(note);
    column->addLayout(percent);
    column->addStretch(1);
    return page_with(column);
}

QLayout* trim_dialog::build_bottom() {
    original_palette_check = new QCheckBox(tr("元のパレットを使う"));
    original_palette_check->setObjectName("original_palette_check");
    dither_combo = make_list("dither_combo",
                             {tr("없음"), tr("오차확산A"), tr("오차확산B"), tr("패턴 디터  ")});
    dither_level_spin = new QSpinBox;
    dither_level_spin->setObjectName("dither_level_spin");
    dither_level_spin->setRange(1, 10);
    old_width_label = make_label("old_width_label", "Width");
    old_height_label = make_label("old_height_label", "Height");
    new_width_label = make_label("new_width_label", "Width");
    new_height_label = make_label("new_height_label", "Height");

    auto* grid = new QGridLayout;
    grid->addWidget(original_palette_check, 0, 0, 1, 2);
    grid->addWidget(new QLabel(tr("디저링 타입   ")), 1, 0);
    grid->addWidget(dither_combo, 1, 1);
    grid->addWidget(label_for(dither_level_spin, new QLabel(tr("디저링 레벨  [ 1 - 10 ]  "))), 2,
                    0);
    grid->addWidget(dither_level_spin, 2, 1);

    auto* sizes = new QHBoxLayout;
    sizes->addWidget(old_width_label);
    sizes->addWidget(old_height_label);
    sizes->addWidget(new QLabel(u8("⇒")));
    sizes->addWidget(new_width_label);
    sizes->addWidget(new_height_label);
    sizes->addStretch(1);

    QPushButton *ok = nullptr, *cancel = nullptr;
    auto* buttons = dialog_style::make_ok_cancel(this, &ok, &cancel);
    connect(ok, &QPushButton::clicked, this, &trim_dialog::ok_clicked);

    auto* column = new QVBoxLayout;
    column->addLayout(grid);
    column->addLayout(sizes);
    column->addLayout(buttons);
    return column;
}

int trim_dialog::open_dialog(int mode) {
    if (mode == 0 || mode == 1) operation_combo->setCurrentIndex(mode);
    mevra::clgbase& s = mevra::settings();
    original_palette_check->setChecked(s.trim_palette_reserve != 0);
    dither_combo->setCurrentIndex(std::clamp(s.dither_type, 0, dither_combo->count() - 1));
    dither_level_spin->setValue(s.dither_level);
    const int result = exec();
    if (result == QDialog::Accepted) {
        s.trim_palette_reserve = original_palette_check->isChecked() ? 1 : 0;
        s.dither_type = dither_combo->currentIndex();
        s.dither_level = std::clamp(dither_level_spin->value(), 1, 10);
    }
    return result;
}

void trim_dialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    text_change_time = 0;
    const auto [w, h] = image_size();
    old_width_label->setText(QString::number(w));
    old_height_label->setText(QString::number(h));
    if (w <= 0 || h <= 0) {
        // No image: no result to show, and none left over from an earlier one.
        new_width_label->setText("Width");
        new_height_label->setText("Height");
    }
    update_preview();
}
