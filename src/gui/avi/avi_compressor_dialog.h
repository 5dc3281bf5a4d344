#pragma once
// The compressor choice for re-saving an AVI: the encoder, its key-frame
// interval, data rate and quality, and a preview of the current frame as the
// chosen encoder would store it.
#include <QDialog>
#include <cstdint>
#include <vector>

#include "video/avi_encoders.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSlider;
class QSpinBox;

class avi_compressor_dialog : public QDialog {
    Q_OBJECT
  public:
    // `frame` is the current frame's bitmap (may be empty: no preview).
    avi_compressor_dialog(QWidget* parent, std::vector<uint8_t> frame, uint32_t rate,
                          uint32_t scale);

    // The options as the controls show them.
    mevra::avi_encode_options options() const;
    // Encodes the frame with the current options and shows the result.
    void update_preview();

    QComboBox* encoder_list = nullptr;
    QCheckBox* keyint_check = nullptr;
    QSpinBox* keyint_box = nullptr;
    QCheckBox* bitrate_check = nullptr;
    QSpinBox* bitrate_box = nullptr;
    QSlider* quality_slider = nullptr;
    QLabel* quality_label = nullptr;
    QLabel* preview_picture = nullptr;
    QLabel* preview_info = nullptr;

  private:
    void encoder_changed();

    std::vector<mevra::avi_encoder_choice> encoders_;
    std::vector<uint8_t> frame_;
    uint32_t rate_;
    uint32_t scale_;
};
