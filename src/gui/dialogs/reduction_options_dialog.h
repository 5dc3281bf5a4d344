#pragma once
// The colour-reduction options dialog: target colour count, priority mode,
// dither type and level, and whether the key-out colour stays out of the
// reduction. Created once; reopens where it was last shown.
#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QSpinBox;

class reduction_options_dialog : public QDialog {
    Q_OBJECT
  public:
    explicit reduction_options_dialog(QWidget* parent = nullptr);

    // Fills the controls from the settings, shows the dialog modally and on OK
    // writes the controls back. Returns QDialog::Accepted or Rejected.
    int open_dialog();

    // Called after OK so the owner can repaint the active image window.
    std::function<void()> on_accepted;

  private:
    void read_settings();
    void write_settings();

    QSpinBox* colours_spin;           // colour count
    QComboBox* priority_combo;        // priority
    QComboBox* dither_combo;          // dither type
    QSpinBox* dither_level_spin;      // dither level
    QCheckBox* key_colour_out_check;  // keep the key-out colour out
};
