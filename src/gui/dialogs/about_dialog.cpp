#include "dialogs/about_dialog.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/dialog_style.h"
#include "platform/ui_port.h"
#include "platform/ui_text.h"

namespace {

// The desktop only answers yes or no, so the description says what we know.
std::string no_handler(const QUrl& url) {
    return ("No program is set up to open " + url.toString()).toStdString();
}

QLabel* link_label(const char* name, const QString& text, QWidget* parent) {
    auto* link = new QLabel(parent);
    link->setObjectName(name);
    link->setText(
        QString("<a href=\"#\" style=\"color:#80c0ff\">%1</a>").arg(text.toHtmlEscaped()));
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    return link;
}

}  // namespace

about_dialog::about_dialog(QWidget* parent) : QDialog(parent) {
    setObjectName("about_dialog");
    setWindowTitle(tr("バージョン情報"));
    dialog_style::apply_look(this);
    url_opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

    QFont bold = font();
    bold.setPointSize(9);
    bold.setBold(true);
    setFont(bold);

    auto* version = new QLabel(tr("このソフトのバージョンは %1 です").arg(MEVRA_VERSION));
    version->setObjectName("version_label");
    auto* mail_note = new QLabel(tr("このアプリに関するご意見・お問合せ"));
    auto* mail = link_label("mail_link", tr("サポートメール"), this);
    auto* web_note = new QLabel(tr("サポートページから最新ソフトウェアをチェック"));
    auto* web = link_label("web_link", tr("WEB サイト"), this);
    connect(mail, &QLabel::linkActivated, this, &about_dialog::open_mail_link);
    connect(web, &QLabel::linkActivated, this, &about_dialog::open_web_link);

    QPushButton *ok = nullptr, *cancel = nullptr;
    auto* buttons = dialog_style::make_ok_cancel(this, &ok, &cancel);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    cancel->hide();  // the box only informs; Escape still closes it

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(version);
    layout->addSpacing(8);
    layout->addWidget(mail_note);
    layout->addWidget(mail);
    layout->addSpacing(8);
    layout->addWidget(web_note);
    layout->addWidget(web);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    dialog_style::keep_position(this);
}

QString about_dialog::readme_path(const QString& program_dir) {
    const QString installed = QDir::cleanPath(program_dir + "/" + MEVRA_README_FROM_BIN);
    if (!QFileInfo::exists(installed) && QFileInfo::exists(MEVRA_SOURCE_README))
        return MEVRA_SOURCE_README;
    return installed;
}

QString about_dialog::readme_path() {
    return readme_path(QCoreApplication::applicationDirPath());
}

void about_dialog::open_web_link() {
    const QString path = readme_path();
    const QUrl url = QUrl::fromLocalFile(path);
    std::string why;
    if (!QFileInfo::exists(path))
        why = ("The file " + path + " does not exist").toStdString();
    else if (!url_opener(url))
        why = no_handler(url);
    else
        return;
    mevra::show_message(mevra::ui_text("about_dialog", "リンク先が見つかりませんでした。") + why,
                        "");
}

void about_dialog::open_mail_link() {
    const QString address = QString::fromUtf8(MEVRA_SUPPORT_MAIL);
    std::string why;
    if (address.isEmpty()) {
        why = "No support mail address was set when this program was built";
    } else {
        const QUrl url("mailto:" + address);
        if (url_opener(url)) return;
        why = no_handler(url);
    }
    mevra::show_message(mevra::ui_text("about_dialog", "メールを作成できませんでした。") + why, "");
}
