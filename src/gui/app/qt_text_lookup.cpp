#include "app/qt_text_lookup.h"

#include <QCoreApplication>

std::string qt_text_lookup(const char* context, const char* text) {
    return QCoreApplication::translate(context, text).toStdString();
}
