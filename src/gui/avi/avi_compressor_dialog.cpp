#include "avi/avi_compressor_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "image/image_info.h"
#include "video/avi_reencode.h"
#include "video/frame_bitmap.h"
#include "video/frame_to_argb.h"

namespace {

constexpr int preview_width = 160;
constexpr int preview_height = 120;

}  // namespace

avi_compressor_dialog::avi_compressor_dialog(QWidget* parent, std::vector<uint8_t> frame,
                                             uint32_t rate, uint32_t scale)
    : QDialog(parent),
      encoders_(mevra::available_avi_encoders()),
      frame_(std::move(frame)),
      rate_(rate),
      scale_(scale) {
    setObjectName("avi_compressor_dialog");
    setWindowTitle(tr("ビデオの圧縮"));

    encoder_list = new QComboBox(this);
    encoder_list->setObjectName("encoder_list");
    for (const auto& e : encoders_)
        encoder_list->addItem(QString::fromStdString(e.label), QString::fromStdString(e.name));

    keyint_check = new QCheckBox(tr("キーフレーム"), this);
    keyint_check->setObjectName("keyint_check");
    keyint_box = new QSpinBox(this);
    keyint_box->setObjectName("keyint_box");
    keyint_box->setRange(1, 10000);
    keyint_box->setValue(250);
    keyint_box->setSuffix(tr(" フレームごと"));
    // The check box beside each number box names it.
    keyint_box->setAccessibleName(keyint_check->text());

    bitrate_check = new QCheckBox(tr("データレート"), this);
    bitrate_check->setObjectName("bitrate_check");
    bitrate_box = new QSpinBox(this);
    bitrate_box->setObjectName("bitrate_box");
    bitrate_box->setRange(1, 1000000);
    bitrate_box->setValue(4000);
    bitrate_box->setSuffix(tr(" kbit/秒"));
    bitrate_box->setAccessibleName(bitrate_check->text());

    quality_slider = new QSlider(Qt::Horizontal, this);
    quality_slider->setObjectName("quality_slider");
    quality_slider->setRange(0, 100);
    quality_slider->setValue(75);
    quality_label = new QLabel("75", this);
    quality_label->setMinimumWidth(28);

    preview_picture = new QLabel(this);
    preview_picture->setObjectName("preview_picture");
    preview_picture->setFixedSize(preview_width, preview_height);
    preview_picture->setAlignment(Qt::AlignCenter);
    preview_picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    preview_info = new QLabel(this);
    preview_info->setObjectName("preview_info");
    preview_info->setWordWrap(true);
    auto* preview_button = new QPushButton(tr("プレビュー"), this);
    preview_button->setObjectName("preview_button");
    preview_button->setEnabled(!frame_.empty());

    auto* form = new QFormLayout;
    form->addRow(tr("圧縮プログラム:"), encoder_list);
    auto* quality_row = new QHBoxLayout;
    quality_row->addWidget(quality_slider);
    quality_row->addWidget(quality_label);
    // The slider shares its row with its value, so its label is made here to
    // name it.
    auto* quality_caption = new QLabel(tr("圧縮の品質:"), this);
    quality_caption->setBuddy(quality_slider);
    form->addRow(quality_caption, quality_row);
    form->addRow(keyint_check, keyint_box);
    form->addRow(bitrate_check, bitrate_box);

    auto* preview_column = new QVBoxLayout;
    preview_column->addWidget(preview_picture);
    preview_column->addWidget(preview_button);
    preview_column->addWidget(preview_info);
    preview_column->addStretch();

    auto* top = new QHBoxLayout;
    top->addLayout(form, 1);
    top->addLayout(preview_column);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!encoders_.empty());
    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(encoder_list, &QComboBox::currentIndexChanged, this, [this] { encoder_changed(); });
    connect(keyint_check, &QCheckBox::toggled, keyint_box, &QWidget::setEnabled);
    connect(bitrate_check, &QCheckBox::toggled, bitrate_box, &QWidget::setEnabled);
    connect(quality_slider, &QSlider::valueChanged, quality_label,
            [this](int v) { quality_label->setText(QString::number(v)); });
    connect(preview_button, &QPushButton::clicked, this, [this] { update_preview(); });

    // Motion JPEG is the usual choice for AVI files; uncompressed otherwise.
    const int mjpeg = encoder_list->findData("mjpeg");
    encoder_list->setCurrentIndex(mjpeg >= 0 ? mjpeg : 0);
    encoder_changed();
}

void avi_compressor_dialog::encoder_changed() {
    const int i = encoder_list->currentIndex();
    const bool valid = i >= 0 && static_cast<size_t>(i) < encoders_.size();
    const mevra::avi_encoder_choice none;
    const mevra::avi_encoder_choice& e = valid ? encoders_[static_cast<size_t>(i)] : none;
    keyint_check->setEnabled(e.has_keyint);
    keyint_box->setEnabled(e.has_keyint && keyint_check->isChecked());
    bitrate_check->setEnabled(e.has_bitrate);
    bitrate_box->setEnabled(e.has_bitrate && bitrate_check->isChecked());
    quality_slider->setEnabled(e.has_quality);
    preview_picture->clear();
    preview_info->clear();
}

mevra::avi_encode_options avi_compressor_dialog::options() const {
    mevra::avi_encode_options opt;
    opt.encoder = encoder_list->currentData().toString().toStdString();
    opt.keyint = keyint_check->isEnabled() && keyint_check->isChecked() ? keyint_box->value() : 0;
    opt.bitrate_kbps =
        bitrate_check->isEnabled() && bitrate_check->isChecked() ? bitrate_box->value() : 0;
    opt.quality = quality_slider->value();
    // Uncompressed frames keep the source's layout where the writer can.
    mevra::dib_header h;
    const int bits = mevra::read_dib_header(frame_, h) ? h.bit_count : 24;
    opt.raw_bits = bits == 8 || bits == 16 || bits == 32 ? bits : 24;
    return opt;
}

void avi_compressor_dialog::update_preview() {
    if (frame_.empty()) return;
    std::vector<uint8_t> decoded;
    size_t bytes = 0;
    std::string error;
    if (mevra::encode_preview(frame_, rate_, scale_, options(), decoded, bytes, error) != 0) {
        preview_picture->clear();
        preview_info->setText(QString::fromStdString(error));
        return;
    }
    mevra::image_info image;
    if (mevra::frame_to_argb(decoded, image) != 0 || image.width <= 0 || image.height <= 0) {
        preview_info->setText(tr("プレビューを表示できません"));
        return;
    }
    const QImage picture(reinterpret_cast<const uchar*>(image.argb_buff.data()), image.width,
                         image.height, image.width * 4, QImage::Format_ARGB32);
    preview_picture->setPixmap(QPixmap::fromImage(picture.scaled(
        preview_width - 4, preview_height - 4, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    preview_info->setText(tr("%1 バイト / フレーム").arg(bytes));
}
