#include "app/busy_run.h"

#include <QApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QProgressDialog>
#include <QThread>
#include <atomic>
#include <thread>

#include "platform/ui_port.h"

namespace {

// Stands in for the installed port while the worker runs: every call is
// carried to the user-interface thread and answered by the port that was
// installed before, so message boxes stay modal dialogs of the main thread.
class main_thread_ui final : public mevra::ui_port {
  public:
    explicit main_thread_ui(mevra::ui_port* target) : target_(target) {}

    mevra::msg_answer message_box(const std::string& text, const std::string& caption,
                                  mevra::msg_buttons buttons) override {
        mevra::msg_answer answer = mevra::msg_answer::ok;
        on_main([&] { answer = target_->message_box(text, caption, buttons); });
        return answer;
    }
    void exclamation() override {
        on_main([&] { target_->exclamation(); });
    }
    void debug_line(const std::string& line) override {
        on_main([&] { target_->debug_line(line); });
    }
    // The worker has no events of its own; the main thread keeps processing.
    void process_events() override {}

  private:
    template <class F>
    void on_main(F&& f) {
        if (QThread::currentThread() == qApp->thread())
            f();
        else
            QMetaObject::invokeMethod(qApp, std::forward<F>(f), Qt::BlockingQueuedConnection);
    }
    mevra::ui_port* target_;
};

}  // namespace

void run_with_busy_indicator(QWidget* parent, const std::function<void()>& work) {
    QProgressDialog busy(parent);
    busy.setWindowModality(Qt::ApplicationModal);
    busy.setRange(0, 0);
    busy.setCancelButton(nullptr);
    busy.setMinimumDuration(300);
    busy.setLabelText(QString());

    mevra::ui_port* previous = mevra::set_ui_port(nullptr);
    main_thread_ui relay(previous);
    mevra::set_ui_port(&relay);

    QEventLoop loop;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        work();
        finished = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // The loop may be quit before it runs; then `finished` is already set.
    if (!finished) {
        busy.setValue(0);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    worker.join();
    mevra::set_ui_port(previous);
    busy.reset();
}
