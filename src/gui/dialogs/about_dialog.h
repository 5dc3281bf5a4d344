#pragma once
// The about box: the program version and two links, the support mail address
// and the web page (the README installed with the program).
#include <QDialog>
#include <QUrl>
#include <functional>

class about_dialog : public QDialog {
    Q_OBJECT
  public:
    explicit about_dialog(QWidget* parent = nullptr);

    // Opens the README with the desktop's handler; reports a failure.
    void open_web_link();
    // Starts a mail to the support address; reports a failure.
    void open_mail_link();

    // Hands a link to the desktop (QDesktopServices::openUrl); tests replace it.
    std::function<bool(const QUrl&)> url_opener;

    // The README installed with the program in program_dir, found the same way
    // under any prefix; from a build folder, where none is installed, the sources' one.
    static QString readme_path(const QString& program_dir);
    static QString readme_path();
};
