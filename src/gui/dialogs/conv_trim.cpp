// The trim/resize dialog's controls and its opening; the rules that act while
// the user edits are in conv_trim_rules.cpp.
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

#include "dialogs/conv_trim.h"
#include "dialogs/dialog_style.h"
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

ConvTrim::ConvTrim(QWidget* parent) : QDialog(parent) {
    setObjectName("ConvTrim");
    setWindowTitle(tr("リサイズ"));
    dialog_style::apply_look(this);

    comboBox4 = make_list("comboBox4", {tr("사이즈변경"), tr("확대/축소")});
    tabControl1 = new QTabWidget;
    tabControl1->setObjectName("tabControl1");
    // The style draws tabs in light colours that white text cannot be read on.
    tabControl1->tabBar()->setStyleSheet(
        "QTabBar::tab { background: rgb(96, 96, 96); color: white; padding: 3px 10px; "
        "border: 1px solid rgb(40, 40, 40); }"
        "QTabBar::tab:selected { background: rgb(68, 68, 68); border-bottom-color: rgb(68, 68, "
        "68); }");
    // All four tabs stay in sight: the dialog widens for longer tab texts.
    tabControl1->tabBar()->setUsesScrollButtons(false);
    tabControl1->addTab(build_size_tab(), tr("サイズ 割合"));
    tabControl1->addTab(build_margin_tab(), tr("余白"));
    tabControl1->addTab(build_multiple_tab(), tr("倍数"));
    tabControl1->addTab(build_power_tab(), tr("累乗"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(comboBox4);
    layout->addWidget(tabControl1);
    layout->addLayout(build_bottom());
    layout->setSizeConstraint(QLayout::SetFixedSize);
    dialog_style::keep_position(this);
    dialog_style::light_fields(this);

    connect(comboBox4, &QComboBox::currentIndexChanged, this, &ConvTrim::operation_changed);
    connect(checkBox2, &QCheckBox::toggled, this, &ConvTrim::keep_aspect_changed);
    connect(checkBox3, &QCheckBox::toggled, this, &ConvTrim::resize_to_size_changed);
    connect(textBox1, &QLineEdit::textChanged, this, &ConvTrim::width_changed);
    connect(textBox2, &QLineEdit::textChanged, this, &ConvTrim::height_changed);
    connect(comboBox3, &QComboBox::currentIndexChanged, this, &ConvTrim::unit_changed);
    connect(tabControl1, &QTabWidget::currentChanged, this, &ConvTrim::update_preview);
    for (QLineEdit* box : {textBox3, textBox4, textBox5, textBox6, textBox7})
        connect(box, &QLineEdit::textChanged, this, &ConvTrim::update_preview);
    for (QComboBox* list : {comboBox5, comboBox7})
        connect(list, &QComboBox::currentIndexChanged, this, &ConvTrim::update_preview);
    operation_changed();
}

QWidget* ConvTrim::build_size_tab() {
    textBox1 = make_box("textBox1", "100");
    textBox2 = make_box("textBox2", "100");
    comboBox3 = make_list("comboBox3", {"dot", "%"});
    comboBox3->setCurrentIndex(1);
    comboBox1 = make_list("comboBox1", {tr("左寄せ"), tr("センタリング"), tr("右寄せ")});
    comboBox2 = make_list("comboBox2", {tr("上詰め"), tr("センター"), tr("下詰め")});
    checkBox2 = new QCheckBox(tr("縦横比を固定"));
    checkBox2->setObjectName("checkBox2");
    checkBox2->setChecked(true);
    checkBox3 = new QCheckBox(tr("指定サイズにリサイズ"));
    checkBox3->setObjectName("checkBox3");
    radioButton1 = new QRadioButton(tr("元絵の全体がサイズに入る大きさ"));
    radioButton1->setObjectName("radioButton1");
    radioButton1->setChecked(true);
    radioButton2 = new QRadioButton(tr("指定サイズが元絵に入る大きさ"));
    radioButton2->setObjectName("radioButton2");

    auto* grid = new QGridLayout;
    grid->addWidget(label_for(textBox1, new QLabel(tr("幅"))), 0, 0);
    grid->addWidget(textBox1, 0, 1);
    grid->addWidget(label_for(textBox2, new QLabel(tr("高さ"))), 1, 0);
    grid->addWidget(textBox2, 1, 1);
    grid->addWidget(comboBox3, 0, 2, 2, 1);
    grid->addWidget(comboBox1, 2, 0, 1, 2);
    grid->addWidget(comboBox2, 2, 2);
    grid->addWidget(checkBox2, 3, 0, 1, 3);
    grid->addWidget(checkBox3, 4, 0, 1, 3);
    grid->addWidget(radioButton1, 5, 0, 1, 3);
    grid->addWidget(radioButton2, 6, 0, 1, 3);
    grid->setRowStretch(7, 1);
    return page_with(grid);
}

QWidget* ConvTrim::build_margin_tab() {
    textBox3 = make_box("textBox3", "0");
    textBox4 = make_box("textBox4", "0");
    textBox5 = make_box("textBox5", "0");
    textBox6 = make_box("textBox6", "0");
    auto* grid = new QGridLayout;
    const std::pair<const char*, QLineEdit*> rows[] = {
        {"↑", textBox3}, {"↓", textBox4}, {"←", textBox5}, {"→", textBox6}};
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

QWidget* ConvTrim::build_multiple_tab() {
    comboBox5 =
        make_list("comboBox5", {tr("２の倍数の余白を足す"), tr("４の倍数の余白を足す"),
                                tr("８の倍数の余白を足す"), tr("１６の倍数の余白を足す"),
                                tr("２の倍数で右下をカット"), tr("４の倍数で右下をカット"),
                                tr("８の倍数で右下をカット"), tr("１６の倍数で右下をカット")});
    comboBox5->setCurrentIndex(1);
    auto* note = new QLabel(tr("選択した単位に画像の右下に余白を足す。又は、カットします"));
    note->setWordWrap(true);
    auto* column = new QVBoxLayout;
    column->addWidget(comboBox5);
    column->addWidget(note);
    column->addStretch(1);
    return page_with(column);
}

QWidget* ConvTrim::build_power_tab() {
    comboBox7 = make_list("comboBox7", {tr("２の累乗の「長方形」"), tr("２の累乗の「正方形」")});
    textBox7 = make_box("textBox7", "100");
    auto* note = new QLabel(tr("元の画像を指定した割合でリサイズした画像の入る２の累乗にリサイズ"));
    note->setWordWrap(true);
    note->setBuddy(textBox7);
    auto* percent = new QHBoxLayout;
    percent->addWidget(textBox7);
    percent->addWidget(new QLabel(u8("％")));
    percent->addStretch(1);
    auto* column = new QVBoxLayout;
    column->addWidget(comboBox7);
    column->addWidget(note);
    column->addLayout(percent);
    column->addStretch(1);
    return page_with(column);
}

QLayout* ConvTrim::build_bottom() {
    checkBox1 = new QCheckBox(tr("元のパレットを使う"));
    checkBox1->setObjectName("checkBox1");
    comboBox6 =
        make_list("comboBox6", {tr("없음"), tr("오차확산A"), tr("오차확산B"), tr("패턴 디터  ")});
    numericUpDown2 = new QSpinBox;
    numericUpDown2->setObjectName("numericUpDown2");
    numericUpDown2->setRange(1, 10);
    label3 = make_label("label3", "Width");
    label4 = make_label("label4", "Height");
    label5 = make_label("label5", "Width");
    label6 = make_label("label6", "Height");

    auto* grid = new QGridLayout;
    grid->addWidget(checkBox1, 0, 0, 1, 2);
    grid->addWidget(new QLabel(tr("디저링 타입   ")), 1, 0);
    grid->addWidget(comboBox6, 1, 1);
    grid->addWidget(label_for(numericUpDown2, new QLabel(tr("디저링 레벨  [ 1 - 10 ]  "))), 2, 0);
    grid->addWidget(numericUpDown2, 2, 1);

    auto* sizes = new QHBoxLayout;
    sizes->addWidget(label3);
    sizes->addWidget(label4);
    sizes->addWidget(new QLabel(u8("⇒")));
    sizes->addWidget(label5);
    sizes->addWidget(label6);
    sizes->addStretch(1);

    QPushButton *ok = nullptr, *cancel = nullptr;
    auto* buttons = dialog_style::make_ok_cancel(this, &ok, &cancel);
    connect(ok, &QPushButton::clicked, this, &ConvTrim::button1_Click);

    auto* column = new QVBoxLayout;
    column->addLayout(grid);
    column->addLayout(sizes);
    column->addLayout(buttons);
    return column;
}

int ConvTrim::OpenTrimOptionDialog(int mode) {
    if (mode == 0 || mode == 1) comboBox4->setCurrentIndex(mode);
    mevra::clgbase& s = mevra::settings();
    checkBox1->setChecked(s.trim_palette_reserve != 0);
    comboBox6->setCurrentIndex(std::clamp(s.dither_type, 0, comboBox6->count() - 1));
    numericUpDown2->setValue(s.dither_level);
    const int result = exec();
    if (result == QDialog::Accepted) {
        s.trim_palette_reserve = checkBox1->isChecked() ? 1 : 0;
        s.dither_type = comboBox6->currentIndex();
        s.dither_level = std::clamp(numericUpDown2->value(), 1, 10);
    }
    return result;
}

void ConvTrim::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    text_change_time = 0;
    const auto [w, h] = image_size();
    label3->setText(QString::number(w));
    label4->setText(QString::number(h));
    if (w <= 0 || h <= 0) {
        // No image: no result to show, and none left over from an earlier one.
        label5->setText("Width");
        label6->setText("Height");
    }
    update_preview();
}
