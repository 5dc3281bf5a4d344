#include "dialogs/dialog_style.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QPalette>
#include <QProxyStyle>
#include <QPushButton>

namespace dialog_style {
namespace {

const QColor dark_grey(68, 68, 68);

// Qt takes the tooltip wake-up delay from the style of the widget under the
// pointer, so the timing is a style hint rather than a property.
class tooltip_style final : public QProxyStyle {
  public:
    tooltip_style(int wake_ms, QObject* owner) : wake_ms_(wake_ms) { setParent(owner); }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_ToolTip_WakeUpDelay) return wake_ms_;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }

  private:
    int wake_ms_;
};

// Pins the dialog at its last place when it hides: an explicit move() tells
// QDialog not to centre it again on the next show.
class position_keeper final : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide) {
            auto* w = static_cast<QWidget*>(watched);
            w->move(w->pos());
        }
        return false;
    }
};

}  // namespace

void paint_dark(QWidget* widget, std::optional<QColor> text) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, dark_grey);
    if (text) pal.setColor(QPalette::WindowText, *text);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

void apply_look(QDialog* dialog) {
    dialog->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    dialog->setSizeGripEnabled(false);
    paint_dark(dialog, QColor(Qt::white));
    QPalette pal = dialog->palette();
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(150, 150, 150));
    dialog->setPalette(pal);
}

void light_fields(QDialog* dialog) {
    const QPalette app = QApplication::palette();
    for (QAbstractSpinBox* box : dialog->findChildren<QAbstractSpinBox*>()) {
        QPalette pal = box->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            pal.setColor(group, QPalette::WindowText, app.color(group, QPalette::WindowText));
        box->setPalette(pal);
    }
}

namespace {

QString standard_button_text(QDialogButtonBox::StandardButton which) {
    const QDialogButtonBox box(which);
    return box.button(which)->text();
}

}  // namespace

QString ok_text() { return standard_button_text(QDialogButtonBox::Ok); }

QString cancel_text() { return standard_button_text(QDialogButtonBox::Cancel); }

QHBoxLayout* make_ok_cancel(QDialog* dialog, QPushButton** ok, QPushButton** cancel) {
    auto* row = new QHBoxLayout;
    *ok = new QPushButton(ok_text(), dialog);
    (*ok)->setObjectName("ok_button");
    (*ok)->setDefault(true);
    (*ok)->setAutoDefault(true);
    *cancel = new QPushButton(cancel_text(), dialog);
    (*cancel)->setObjectName("cancel_button");
    (*cancel)->setAutoDefault(false);
    QObject::connect(*cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    row->addStretch(1);
    row->addWidget(*ok);
    row->addWidget(*cancel);
    return row;
}

void finish_options_dialog(QDialog* dialog, QLayout* body) {
    QPushButton *ok = nullptr, *cancel = nullptr;
    QHBoxLayout* buttons = make_ok_cancel(dialog, &ok, &cancel);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(body);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    keep_position(dialog);
    light_fields(dialog);
}

void keep_position(QDialog* dialog) {
    dialog->installEventFilter(new position_keeper(dialog));
}

void set_tooltip_timing(QWidget* widget, int wake_ms, int show_ms) {
    auto* style = new tooltip_style(wake_ms, widget);
    widget->setStyle(style);
    widget->setToolTipDuration(show_ms);
    for (QWidget* part : widget->findChildren<QWidget*>())
        part->setStyle(style);
}

std::optional<int> parse_int(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return value;
}

}  // namespace dialog_style
