#pragma once
// Runs one long core call (a colour reduction) on a worker thread while a
// modal busy indicator keeps the windows painting. The call returns only when
// the work is done, so commands still run one after another; the core's
// messages are shown on the user-interface thread in the order they arise.
#include <functional>

class QWidget;

void run_with_busy_indicator(QWidget* parent, const std::function<void()>& work);
