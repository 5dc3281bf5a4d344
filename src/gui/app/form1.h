#pragma once
// The main window: the multiple-document frame that owns every other window
// and dialog and routes the menu commands to the active image window.
#include <QMainWindow>

class QMdiArea;

class Form1 : public QMainWindow {
    Q_OBJECT
  public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    QMdiArea* mdi_area() const { return mdi_area_; }

  private:
    QMdiArea* mdi_area_ = nullptr;
};
