#pragma once
// Helpers for the GUI tests: a message port that records every box and
// answers from a script, a way to handle the next modal dialog, and lookups
// of the real widgets by object name.
#include <QAction>
#include <QWidget>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui_port.h"

namespace mevra::test {

// Records message boxes, sounds and debug lines for the length of a test.
// Each box is answered by the next scripted answer, then by `fallback`.
class scripted_ui final : public ui_port {
  public:
    struct message {
        std::string text;
        std::string caption;
        msg_buttons buttons;
    };
    explicit scripted_ui(msg_answer fallback = msg_answer::ok);
    ~scripted_ui() override;
    scripted_ui(const scripted_ui&) = delete;
    scripted_ui& operator=(const scripted_ui&) = delete;

    void answer_next(msg_answer answer) { script_.push_back(answer); }
    msg_answer message_box(const std::string& text, const std::string& caption,
                           msg_buttons buttons) override;
    void exclamation() override { ++exclamations; }
    void debug_line(const std::string& line) override { debug.push_back(line); }

    std::vector<message> messages;
    std::vector<std::string> debug;
    int exclamations = 0;

  private:
    std::deque<msg_answer> script_;
    msg_answer fallback_;
    ui_port* previous_;
};

// Runs `handle` on the next modal dialog once it is showing (for file,
// page-setup and preview dialogs opened by a command). Gives up after 5 s.
void on_next_modal(std::function<void(QWidget*)> handle);

// The action with this object name inside `window`; fails the test if absent.
QAction* find_action(QWidget* window, const QString& name);

// Lets queued events and deferred deletions run.
void settle();

}  // namespace mevra::test
