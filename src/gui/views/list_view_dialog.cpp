#include "views/list_view_dialog.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <algorithm>

#include "dialogs/dialog_style.h"

namespace {

constexpr int line_height = 16;
constexpr int strip_height = 62;

// The surface the two lists are drawn on: folder 1 in the left column,
// folder 2 in the right one, each under a header naming its folder. Entries
// are drawn whole; the surface grows to the longest one and the scroll area
// around it scrolls.
class list_surface final : public QWidget {
  public:
    explicit list_surface(list_view_dialog& owner, QWidget* parent) : QWidget(parent), d(owner) {
        setObjectName("list_surface");
        setAccessibleName("file list");
        setAutoFillBackground(false);
    }

    int rows() const {
        const auto n = [](const std::optional<QStringList>& l) {
            return l ? static_cast<int>(l->size()) : 0;
        };
        return 1 + std::max(n(d.f1_files), n(d.f2_files));
    }

    // The width a column needs to show its header and every entry whole.
    int column_width(const QString& folder, const std::optional<QStringList>& files) const {
        const QFontMetrics metrics(d.font());
        int widest = metrics.horizontalAdvance(folder);
        if (files)
            for (const QString& entry : *files)
                widest = std::max(widest, metrics.horizontalAdvance(entry));
        return widest + 2 * margin;
    }

    // Sizes the surface to at least `least` and places the second column:
    // at the middle when both lists fit their half, else right after the first.
    void lay_out(QSize least) {
        const int need1 = column_width(d.f1_dir, d.f1_files);
        const int need2 = column_width(d.f2_dir, d.f2_files);
        const int w = std::max(least.width(), need1 + need2);
        split_ = need1 <= w / 2 && need2 <= w - w / 2 ? w / 2 : need1;
        resize(w, std::max(least.height(), rows() * line_height + 4));
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(68, 68, 68));
        p.setFont(d.font());
        draw_column(p, 0, d.f1_dir, d.f1_files);
        draw_column(p, split_, d.f2_dir, d.f2_files);
    }

  private:
    static constexpr int margin = 5;

    void draw_column(QPainter& p, int x, const QString& folder,
                     const std::optional<QStringList>& files) const {
        const int w = width() - x - margin;
        p.setPen(QColor(160, 200, 255));
        p.drawText(QRect(x + margin, 0, w, line_height), Qt::AlignLeft | Qt::AlignVCenter, folder);
        if (!files) return;
        p.setPen(Qt::white);
        for (int j = 0; j < files->size(); ++j)
            p.drawText(QRect(x + margin, line_height * (j + 1), w, line_height),
                       Qt::AlignLeft | Qt::AlignVCenter, (*files)[j]);
    }

    list_view_dialog& d;
    int split_ = 0;
};

}  // namespace

list_view_dialog::list_view_dialog(QWidget* parent) : QDialog(parent) {
    setObjectName("list_view_dialog");
    setWindowTitle(tr("リストビュー"));
    // A tool window: no task-bar entry of its own.
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);
    dialog_style::paint_dark(this);

    folder1_edit = new QLineEdit(this);
    folder1_edit->setObjectName("folder1_edit");
    folder2_edit = new QLineEdit(this);
    folder2_edit->setObjectName("folder2_edit");
    folder1_edit->setAccessibleName("folder 1");
    folder2_edit->setAccessibleName("folder 2");
    auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        return b;
    };
    change_folder1_button = button("change_folder1_button", tr("パス変更１"));
    refresh1_button = button("refresh1_button", tr("更新１"));
    change_folder2_button = button("change_folder2_button", tr("パス変更２"));
    refresh2_button = button("refresh2_button", tr("更新２"));
    connect(change_folder1_button, &QPushButton::clicked, this, [this] { change_tree(1); });
    connect(change_folder2_button, &QPushButton::clicked, this, [this] { change_tree(2); });
    connect(refresh1_button, &QPushButton::clicked, this, [this] {
        check_update(1);
        view_paint();
    });
    connect(refresh2_button, &QPushButton::clicked, this, [this] {
        check_update(2);
        view_paint();
    });

    scroll = new QScrollArea(this);
    scroll->setObjectName("scroll");
    scroll->setFrameShape(QFrame::NoFrame);
    list_panel = new list_surface(*this, scroll);
    list_panel->resize(436, 145);
    scroll->setWidget(list_panel);
    resize(601, 235);
}

void list_view_dialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int w = width();
    // The path boxes take the width the buttons leave.
    folder1_edit->setGeometry(6, 6, w - 150, 22);
    folder2_edit->setGeometry(6, 34, w - 150, 22);
    change_folder1_button->setGeometry(w - 140, 5, 70, 24);
    refresh1_button->setGeometry(w - 66, 5, 60, 24);
    change_folder2_button->setGeometry(w - 140, 33, 70, 24);
    refresh2_button->setGeometry(w - 66, 33, 60, 24);
    scroll->setGeometry(0, strip_height, w, std::max(0, height() - strip_height));
    view_paint();
}

void list_view_dialog::check_update(int n) {
    QLineEdit* box = n == 1 ? folder1_edit : folder2_edit;
    QString& dir = n == 1 ? f1_dir : f2_dir;
    std::optional<QStringList>& files = n == 1 ? f1_files : f2_files;
    const QString text = box->text();
    if (text.isEmpty() || !QFileInfo(text).isDir()) {
        dir.clear();
        files.reset();
        return;
    }
    dir = text;
    QStringList list;
    const QDir folder(text);
    // Hidden files are files too; subfolders are not listed.
    for (const QString& name :
         folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name))
        list << folder.filePath(name);
    files = list;
}

void list_view_dialog::change_tree(int n) {
    QLineEdit* box = n == 1 ? folder1_edit : folder2_edit;
    const QString chosen = QFileDialog::getExistingDirectory(this, QString(), box->text());
    if (!chosen.isEmpty()) {
        box->setText(chosen);
        check_update(n);
    }
    view_paint();
}

void list_view_dialog::view_paint() {
    // The surface grows with the longer list and the longest path, so the
    // scroll area reaches every entry; it never gets smaller than its
    // designed 436 × 145.
    auto* surface = static_cast<list_surface*>(list_panel);
    surface->lay_out(QSize(std::max(436, scroll->viewport()->width()), 145));
    list_panel->update();
}

void list_view_dialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    folder1_edit->setText(f1_dir);
    folder2_edit->setText(f2_dir);
    check_update(1);
    check_update(2);
    view_paint();
}

void list_view_dialog::closeEvent(QCloseEvent* event) {
    // Closing hides: the dialog lives as long as the main window.
    event->ignore();
    hide();
}
