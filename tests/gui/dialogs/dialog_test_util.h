#pragma once
// Runs a dialog the way the program does (modally) while `act` works its
// controls from inside the dialog's own event loop.
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "settings/clgbase.h"

template <class T>
T* child(QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(name);
    if (!found) throw std::runtime_error(std::string("no control ") + name);
    return found;
}

inline int run_modal(QDialog& dialog, const std::function<int()>& open,
                     const std::function<void()>& act) {
    QTimer::singleShot(0, &dialog, act);
    return open();
}

inline void press_ok(QDialog& dialog) {
    child<QPushButton>(&dialog, "ok_button")->click();
}

// Every test starts from the defaults.
struct fresh_settings {
    fresh_settings() { mevra::settings().reset_defaults(); }
};
