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

class environment_options_dialog : public QDialog {
    Q_OBJECT
  public:
    explicit environment_options_dialog(QWidget* parent = nullptr);

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

    QComboBox *dds_format_combo, *wallpaper_combo, *grid_width_combo, *frame_joiner_combo,
        *colour_unit_combo, *frame_digits_combo, *cursor_zoom_combo, *frame_extension_combo;
    QSpinBox* jpeg_quality_spin;
    QCheckBox *key_colour_transparent_check, *alpha_zero_transparent_check,
        *first_entry_transparent_check, *dds_mipmaps_check;
    // A, R, G, B boxes per group (key_alpha_edit … back_blue_edit).
    std::array<std::array<QLineEdit*, 4>, 2> boxes{};
    std::array<colour_swatch*, 2> swatches{};  // key_colour_swatch, back_colour_swatch
    QLabel* sample_name_label;                 // sample file name
};
