#include "app/command_line.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "app/main_window.h"
#include "avi/avi_player.h"
#include "platform/ui_port.h"
#include "platform/ui_text.h"

namespace mevra::gui {

bool is_avi_file(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = file.read(12);
    return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "AVI ";
}

command_line_files sort_command_line(const QStringList& arguments) {
    command_line_files files;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.isEmpty() || argument == "--") continue;
        const QString path = argument.startsWith("file:", Qt::CaseInsensitive)
                                 ? QUrl(argument).toLocalFile()
                                 : argument;
        const QFileInfo info(path);
        if (path.isEmpty() || !info.isFile())
            files.missing << argument;
        else if (is_avi_file(path))
            files.movies << info.absoluteFilePath();
        else
            files.existing << info.absoluteFilePath();
    }
    return files;
}

int open_command_line(main_window& window, const QStringList& arguments) {
    const command_line_files files = sort_command_line(arguments);
    const bool movie = !files.movies.isEmpty() && window.player;
    if (movie) {
        // The player may have been hidden when the program last ended.
        window.player->show();
        window.player->raise();
        window.player->open_dropped(files.movies);
    }
    // The images come after the player, so the last one is the active
    // window as when only images are named.
    window.image_files_open(files.existing);
    if (!files.missing.isEmpty())
        ui().message_box(files.missing.join('\n').toStdString() + "\n" +
                             ui_text("main_window", "ファイルが見つかりません。"),
                         ui_text("main_window", "エラー"), msg_buttons::ok);
    return static_cast<int>(files.existing.size()) + (movie ? 1 : 0);
}

}  // namespace mevra::gui
