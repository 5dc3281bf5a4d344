#pragma once
// The trim/resize dialog: change the canvas size or scale the picture, by a
// size or ratio, margins, a multiple, or a power of two. It writes its choices
// into the trim_* settings exactly as the command line does, so trim_calc
// gives the same rectangle for the same choices. Created once; keeps its
// control values between openings.
#include <QDialog>
#include <functional>
#include <utility>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTabWidget;

class trim_dialog : public QDialog {
    Q_OBJECT
  public:
    explicit trim_dialog(QWidget* parent = nullptr);

    // Mode 0 selects "change size", mode 1 "enlarge/shrink" (other modes keep
    // the current choice); shows the dialog modally. Returns QDialog::Accepted
    // or Rejected.
    int open_dialog(int mode);

    // The active image's size for the result preview; the main window sets it.
    // Unset (or 0 × 0): no image.
    std::function<std::pair<int, int>()> active_image_size;

    // 1 while the dialog's own rewrite of a size box is on its way, so that the
    // change it causes does not link back.
    int text_change_time = 0;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* build_size_tab();
    QWidget* build_margin_tab();
    QWidget* build_multiple_tab();
    QWidget* build_power_tab();
    QLayout* build_bottom();

    // Enable rules, run in this chain: operation -> keep aspect -> resize-to-size.
    void operation_changed();
    void keep_aspect_changed();
    void resize_to_size_changed();
    // Linked size boxes.
    bool linking_active() const;
    void width_changed();
    void height_changed();
    void unit_changed();
    // Rewrites the other size box from `from` so the picture keeps its aspect ratio.
    void link_size(QLineEdit* from, QLineEdit* to, bool from_is_width);

    std::pair<int, int> image_size() const;
    void update_preview();
    void ok_clicked();

    QComboBox* operation_combo;  // operation
    QTabWidget* tabs;
    QLineEdit *width_edit, *height_edit;  // width, height
    QComboBox* unit_combo;                // unit
    QComboBox *horizontal_align_combo, *vertical_align_combo;
    QCheckBox *keep_aspect_check, *resize_to_size_check;
    QRadioButton *fit_inside_radio, *cover_radio;
    QLineEdit *margin_top_edit, *margin_bottom_edit, *margin_left_edit,
        *margin_right_edit;  // top, bottom, left, right
    QComboBox* multiple_combo;
    QComboBox* power_combo;
    QLineEdit* power_percent_edit;
    QCheckBox* original_palette_check;
    QComboBox* dither_combo;
    QSpinBox* dither_level_spin;
    QLabel *old_width_label, *old_height_label, *new_width_label, *new_height_label;
};
