#pragma once
// Which image window the commands of the main and palette windows act on,
// kept with the multiple-document area itself: an object living in the area
// that follows its activations. An image window takes charge when it is
// activated; the palette window is a tool beside the images, so activating it
// leaves the image in charge; any other sub-window (the AVI player) leaves no
// image in charge. While another application is active the area reports no
// active sub-window, and the image in charge stays.
#include <QObject>
#include <QPointer>

class QMdiArea;
class QMdiSubWindow;
class image_window;

class image_in_charge : public QObject {
    Q_OBJECT
  public:
    // The record of `area`, made the first time it is asked for.
    static image_in_charge& of(QMdiArea& area);

    image_window* window() const { return window_; }
    // An image window taking charge from its own activation handler (which
    // runs before the area reports the activation).
    void take(image_window* window) { window_ = window; }

  private:
    explicit image_in_charge(QMdiArea& area);
    void activated(QMdiSubWindow* subwindow);

    QPointer<image_window> window_;
};
