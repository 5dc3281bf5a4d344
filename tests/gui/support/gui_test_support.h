#pragma once
// Helpers for the GUI tests: a message port that records every box and
// answers from a script, a way to handle the next modal dialog, and lookups
// of the real widgets by object name.
#include <QAction>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace mevra::test {

// The GUI tests answer message boxes through the core tests' recording port.
using scripted_ui = recording_ui;

// Runs `handle` on the next modal dialog once it is showing (for file,
// page-setup and preview dialogs opened by a command). Gives up after 5 s.
// A dialog the handler leaves open is rejected, so that a handler whose
// answer the dialog did not take fails its test instead of hanging it.
void on_next_modal(std::function<void(QWidget*)> handle);

// Types `name` into the name field of a showing file dialog, as a user
// would: QFileDialog::selectFile is ignored once that field has the focus.
void type_file_name(QWidget* file_dialog, const QString& name);

// The action with this object name inside `window`; fails the test if absent.
QAction* find_action(QWidget* window, const QString& name);

// Lets queued events and deferred deletions run.
void settle();

}  // namespace mevra::test
