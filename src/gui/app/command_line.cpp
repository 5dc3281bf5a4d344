#include "app/command_line.h"

#include <QFileInfo>
#include <QUrl>

#include "app/form1.h"
#include "platform/ui_port.h"
#include "platform/ui_text.h"

namespace mevra::gui {

command_line_files sort_command_line(const QStringList& arguments) {
    command_line_files files;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.isEmpty() || argument == "--") continue;
        const QString path = argument.startsWith("file:", Qt::CaseInsensitive)
                                 ? QUrl(argument).toLocalFile()
                                 : argument;
        const QFileInfo info(path);
        if (!path.isEmpty() && info.isFile())
            files.existing << info.absoluteFilePath();
        else
            files.missing << argument;
    }
    return files;
}

int open_command_line(Form1& window, const QStringList& arguments) {
    const command_line_files files = sort_command_line(arguments);
    window.image_files_open(files.existing);
    if (!files.missing.isEmpty())
        ui().message_box(files.missing.join('\n').toStdString() + "\n" +
                             ui_text("Form1", "ファイルが見つかりません。"),
                         ui_text("Form1", "エラー"), msg_buttons::ok);
    return static_cast<int>(files.existing.size());
}

}  // namespace mevra::gui
