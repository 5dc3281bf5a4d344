// What the trim/resize dialog does while the user edits it: which controls
// are enabled, the linked width and height boxes, the result preview, and
// the checks and settings of OK.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <algorithm>
#include <climits>
#include <cstdint>

#include "dialogs/dialog_style.h"
#include "dialogs/trim_dialog.h"
#include "image/trim_calc.h"
#include "platform/ui_port.h"
#include "platform/ui_text.h"
#include "settings/clgbase.h"

namespace {

enum tab { size_tab = 0, margin_tab = 1, multiple_tab = 2, power_tab = 3 };
enum operation { change_size = 0, enlarge_shrink = 1 };
enum unit { dot = 0, percent = 1 };

bool on(const QWidget* control, const QWidget* dialog) {
    return control->isEnabledTo(dialog);
}

}  // namespace

std::pair<int, int> trim_dialog::image_size() const {
    return active_image_size ? active_image_size() : std::pair<int, int>{0, 0};
}

void trim_dialog::operation_changed() {
    const bool resize = operation_combo->currentIndex() == change_size;
    horizontal_align_combo->setEnabled(resize);
    vertical_align_combo->setEnabled(resize);
    keep_aspect_check->setEnabled(!resize);
    keep_aspect_changed();
}

void trim_dialog::keep_aspect_changed() {
    resize_to_size_check->setEnabled(keep_aspect_check->isChecked() && on(keep_aspect_check, this));
    resize_to_size_changed();
}

void trim_dialog::resize_to_size_changed() {
    text_change_time = 0;
    const bool resize_to_size = resize_to_size_check->isChecked() && on(resize_to_size_check, this);
    fit_inside_radio->setEnabled(resize_to_size);
    cover_radio->setEnabled(resize_to_size);
    if (!resize_to_size && linking_active()) link_size(width_edit, height_edit, true);
}

// The boxes follow each other only when scaling with a fixed aspect ratio to
// the size typed (not to a fit-or-cover box).
bool trim_dialog::linking_active() const {
    return operation_combo->currentIndex() == enlarge_shrink && keep_aspect_check->isChecked() &&
           on(keep_aspect_check, this) &&
           !(resize_to_size_check->isChecked() && on(resize_to_size_check, this));
}

void trim_dialog::width_changed() {
    if (text_change_time) {
        text_change_time = 0;
        return;
    }
    if (linking_active()) link_size(width_edit, height_edit, true);
    update_preview();
}

void trim_dialog::height_changed() {
    if (text_change_time) {
        text_change_time = 0;
        return;
    }
    if (linking_active()) link_size(height_edit, width_edit, false);
    update_preview();
}

void trim_dialog::unit_changed() {
    text_change_time = 0;
    if (linking_active()) link_size(width_edit, height_edit, true);
    update_preview();
}

void trim_dialog::link_size(QLineEdit* from, QLineEdit* to, bool from_is_width) {
    const auto value = dialog_style::parse_int(from->text());
    if (!value) return;
    int64_t other = *value;  // a percentage keeps the same percentage
    if (unit_combo->currentIndex() == dot) {
        const auto [w, h] = image_size();
        if (w <= 0 || h <= 0) return;  // no picture, no aspect ratio
        other = from_is_width ? int64_t{h} * *value / w : int64_t{w} * *value / h;
    }
    const QString text = QString::number(std::clamp<int64_t>(other, 1, INT_MAX));
    // Setting the same text raises no change event, and a flag left set would
    // swallow the user's next edit.
    if (to->text() == text) return;
    text_change_time = 1;
    to->setText(text);
    update_preview();
}

void trim_dialog::update_preview() {
    const auto [w, h] = image_size();
    if (w <= 0 || h <= 0) return;
    mevra::trim_choices c;
    c.trim_mode = tabs->currentIndex();
    bool width_known = true, height_known = true;
    switch (c.trim_mode) {
        case size_tab: {
            // The size as typed (or as a percentage of the picture), without
            // the fit or cover rule.
            const int tw = dialog_style::parse_int(width_edit->text()).value_or(0);
            const int th = dialog_style::parse_int(height_edit->text()).value_or(0);
            width_known = tw != 0;
            height_known = th != 0;
            c.trim_1size_type = unit_combo->currentIndex();
            c.trim_1width = tw;
            c.trim_1height = th;
            break;
        }
        case margin_tab:
            c.trim_2top = dialog_style::parse_int(margin_top_edit->text()).value_or(0);
            c.trim_2bottom = dialog_style::parse_int(margin_bottom_edit->text()).value_or(0);
            c.trim_2left = dialog_style::parse_int(margin_left_edit->text()).value_or(0);
            c.trim_2right = dialog_style::parse_int(margin_right_edit->text()).value_or(0);
            break;
        case multiple_tab:
            c.trim_3mode = multiple_combo->currentIndex();
            break;
        case power_tab: {
            const int p = dialog_style::parse_int(power_percent_edit->text()).value_or(0);
            width_known = height_known = p >= 1 && p <= 1000;
            c.trim_4mode = power_combo->currentIndex();
            c.trim_4size = p;
            break;
        }
    }
    mevra::trim_rect r;
    if (mevra::trim_calc_size(c, w, h, r) != 0) width_known = height_known = false;
    new_width_label->setText(width_known ? QString::number(r.width) : "???");
    new_height_label->setText(height_known ? QString::number(r.height) : "???");
}

void trim_dialog::ok_clicked() {
    mevra::clgbase& s = mevra::settings();
    auto number = [](const QLineEdit* box) { return dialog_style::parse_int(box->text()); };
    const int selected = tabs->currentIndex();
    switch (selected) {
        case power_tab: {
            const int p = number(power_percent_edit).value_or(0);
            if (p < 1 || p > 1000) {
                mevra::show_message(
                    mevra::ui_text("trim_dialog", "パーセントには1 - 1000の数字を入力してください"),
                    mevra::ui_text("trim_dialog", "リサイズ"));
                return;
            }
            s.trim_4mode = power_combo->currentIndex();
            s.trim_4size = p;
            break;
        }
        case multiple_tab:
            s.trim_3mode = multiple_combo->currentIndex();
            break;
        case margin_tab: {
            const auto top = number(margin_top_edit), bottom = number(margin_bottom_edit),
                       left = number(margin_left_edit), right = number(margin_right_edit);
            if (!top || !bottom || !left || !right) {
                mevra::show_message(
                    mevra::ui_text("trim_dialog", "余白サイズには数字を入力してください"),
                    mevra::ui_text("trim_dialog", "余白"));
                return;
            }
            s.trim_2top = *top;
            s.trim_2bottom = *bottom;
            s.trim_2left = *left;
            s.trim_2right = *right;
            break;
        }
        case size_tab: {
            auto tw = number(width_edit), th = number(height_edit);
            const int w = tw && th ? *tw : 0, h = tw && th ? *th : 0;
            const bool in_percent = unit_combo->currentIndex() == percent;
            const int high = in_percent ? 1000 : 32768;
            if (w < 1 || w > high || h < 1 || h > high) {
                mevra::show_message(
                    in_percent ? mevra::ui_text("trim_dialog",
                                                "幅 高さには1 - 1000の数字を入力してください")
                               : mevra::ui_text("trim_dialog",
                                                "幅 高さには1 - 32768の数字を入力してください"),
                    mevra::ui_text("trim_dialog", "リサイズ"));
                return;
            }
            s.trim_1size_type = unit_combo->currentIndex();
            s.trim_1kotei_mode = 0;
            if (operation_combo->currentIndex() == enlarge_shrink &&
                keep_aspect_check->isChecked() && resize_to_size_check->isChecked())
                s.trim_1kotei_mode = fit_inside_radio->isChecked() ? 1 : 2;
            s.trim_1w_style = horizontal_align_combo->currentIndex();
            s.trim_1h_style = vertical_align_combo->currentIndex();
            s.trim_1width = w;
            s.trim_1height = h;
            break;
        }
    }
    // Written only once the input has passed, so a refused OK followed by
    // Cancel leaves every setting as it was.
    s.trim_or_scaling = operation_combo->currentIndex();
    s.trim_mode = selected;
    accept();
}
