// Takes the README's screenshots of the desktop program:
//
//   take_screenshots OUT_FOLDER [IMAGE...]
//
// It builds the program's own main window (with the settings file of
// $XDG_CONFIG_HOME), opens the images as `mevra IMAGE...` does, sets the image
// windows side by side, and saves main_window.png; then it opens the
// colour-reduction options dialog and saves reduction_options.png. Texts
// follow the process locale, as in the program. It never writes the settings
// file. scripts/screenshots runs it under Xvfb, where no window manager or
// user could drive the program.
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <cstdio>

#include "app/application.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "dialogs/reduction_options_dialog.h"
#include "views/image_window.h"

namespace {

bool save_shot(QWidget& widget, const QDir& folder, const char* name) {
    const QString path = folder.filePath(name);
    if (widget.grab().save(path)) return true;
    std::fprintf(stderr, "take_screenshots: cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: take_screenshots OUT_FOLDER [IMAGE...]\n");
        return 2;
    }
    const QDir folder(arguments[1]);
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "take_screenshots: cannot make %s\n", qPrintable(folder.path()));
        return 1;
    }
    mevra::gui::prepare_application();
    main_window window;
    window.show();
    mevra::gui::open_command_line(window, QStringList{arguments[0]} + arguments.mid(2));

    bool saved = true;
    // The windows are given time to settle on the screen before each grab.
    QTimer::singleShot(1500, &window, [&] {
        int left = 8;  // the image windows side by side, not cascaded
        for (QMdiSubWindow* image : window.mdi_area()->subWindowList(QMdiArea::CreationOrder))
            if (qobject_cast<image_window*>(image)) {
                image->move(left, 8);
                left += image->width() + 8;
            }
        saved = save_shot(window, folder, "main_window.png") && saved;
        QTimer::singleShot(500, &window, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                saved = save_shot(*dialog, folder, "reduction_options.png") && saved;
                dialog->close();
            } else {
                std::fprintf(stderr, "take_screenshots: the options dialog did not open\n");
                saved = false;
            }
            QTimer::singleShot(0, [] { QApplication::exit(0); });
        });
        window.reduction_options->open_dialog();
    });
    app.exec();
    return saved ? 0 : 1;
}
