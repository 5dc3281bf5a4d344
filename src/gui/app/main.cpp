// The desktop application's entry: the options answered without a window,
// the application set up, one main window, the files named on the command
// line (file managers and the desktop entry pass them), and the event loop.
#include <QApplication>
#include <cstdio>

#include "app/application.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/start_options.h"
#include "platform/pending_temp_files.h"

int main(int argc, char** argv) {
    // Before QApplication, which needs a display and would open the window.
    if (const auto answer = mevra::gui::answer_start_options({argv, argv + argc})) {
        std::fputs(answer->out.c_str(), stdout);
        std::fputs(answer->err.c_str(), stderr);
        return answer->exit_status;
    }
    QApplication app(argc, argv);
    // Stopped in the middle of a save, the hidden temporary file goes too.
    mevra::remove_temp_files_on_stop_signals();
    mevra::gui::prepare_application();
    main_window window;
    window.show();
    mevra::gui::open_command_line(window, QApplication::arguments());
    return app.exec();
}
