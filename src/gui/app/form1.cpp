#include "app/form1.h"

#include <QMdiArea>

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
    setObjectName("Form1");
    setWindowTitle("MEVRA");
    setMinimumSize(480, 360);
    mdi_area_ = new QMdiArea(this);
    setCentralWidget(mdi_area_);
    setAcceptDrops(true);
}

Form1::~Form1() = default;
