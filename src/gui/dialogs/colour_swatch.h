#pragma once
// A small square that shows one ARGB colour, alpha included, over whatever
// lies behind it. It keeps the exact 32-bit value, so a colour with alpha 0
// is shown (as nothing) and read back unchanged.
#include <QLabel>
#include <cstdint>

class colour_swatch : public QLabel {
    Q_OBJECT
  public:
    explicit colour_swatch(QWidget* parent = nullptr);

    uint32_t argb() const { return argb_; }
    // Stores the colour and repaints when it differs.
    void set_argb(uint32_t argb);
    // How often the shown colour changed; lets a test see which swatch was redrawn.
    int changes() const { return changes_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    uint32_t argb_ = 0;
    int changes_ = 0;
};
