#pragma once
// The environment options dialog: grid width, colour-value unit, cursor zoom,
// wallpaper, JPEG quality, DDS layout, the key-out and back colours with the
// transparent-target flags, and the naming of numbered AVI frame files. All
// controls sit on one scrollable panel above OK and Cancel.
#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class colour_swatch;

class EnviromentOption : public QDialog {
    Q_OBJECT
  public:
    explicit EnviromentOption(QWidget* parent = nullptr);

    // Settings into the controls.
    void read_env_option();
    // Controls into the settings, only when the dialog was closed with OK.
    void write_env_option();
    // read_env_option, the modal dialog, write_env_option; returns the result.
    int open_dialog();

    // Shows the example file name for the chosen joiner, digits and extension.
    void set_aviren_sample_name();

  private:
    void build_panel(QWidget* panel);
    // The rule every colour component box follows on each change of its text.
    void component_changed(QLineEdit* box);
    // Box group 0 is the key-out colour, group 1 the back colour.
    void fill_boxes_from_swatch(int group);

    QComboBox *comboBox1, *comboBox2, *comboBox3, *comboBox4, *comboBox5, *comboBox6, *comboBox7,
        *comboBox8;
    QSpinBox* numericUpDown3;
    QCheckBox *checkBox1, *checkBox2, *checkBox3;
    // A, R, G, B boxes per group: textBox1..4 and textBox8, 7, 6, 5.
    std::array<std::array<QLineEdit*, 4>, 2> boxes{};
    std::array<colour_swatch*, 2> swatches{};  // label2, label15
    QLabel* label23;                           // sample file name
};
