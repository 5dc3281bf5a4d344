#pragma once
// The colour-reduction options dialog: target colour count, priority mode,
// dither type and level, and whether the key-out colour stays out of the
// reduction. Created once; reopens where it was last shown.
#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QSpinBox;

class ConvOption : public QDialog {
    Q_OBJECT
  public:
    explicit ConvOption(QWidget* parent = nullptr);

    // Fills the controls from the settings, shows the dialog modally and on OK
    // writes the controls back. Returns QDialog::Accepted or Rejected.
    int OpenGenshokuDialog();

    // Called after OK so the owner can repaint the active image window.
    std::function<void()> on_accepted;

  private:
    void read_settings();
    void write_settings();

    QSpinBox* numericUpDown1;  // colour count
    QComboBox* comboBox1;      // priority
    QComboBox* comboBox2;      // dither type
    QSpinBox* numericUpDown2;  // dither level
    QCheckBox* checkBox1;      // keep the key-out colour out
};
