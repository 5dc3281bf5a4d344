#include "batch/batch_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "batch/batch_list_file.h"
#include "batch/batch_operation.h"
#include "common/file_drops.h"
#include "dialogs/dialog_style.h"
#include "dialogs/reduction_options_dialog.h"
#include "dialogs/trim_dialog.h"
#include "platform/ui_port.h"
#include "platform/ui_text.h"
#include "views/image_save_dialog.h"
#include "views/image_save_filters.h"
#include "views/image_window.h"

namespace {

constexpr int strip_height = 104;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

// The dialog's side of a run: its list and controls, its progress bar, the
// option dialogs it was handed, and a hidden image window as the holder that
// is the active image window while the run goes.
class batch_dialog::host final : public mevra::batch_host {
  public:
    explicit host(batch_dialog& dialog) : d(dialog) {}

    int entry_count() override { return d.file_list->count(); }
    std::string entry(int index) override {
        QListWidgetItem* item = d.file_list->item(index);
        return item ? item->text().toStdString() : std::string();
    }
    mevra::batch_choices choices() override {
        mevra::batch_choices c;
        c.operation = d.operation_combo->currentIndex();
        c.format = d.format_combo->currentIndex();
        c.use_out_folder = d.use_output_folder_check->isChecked();
        c.out_folder = d.output_folder_edit->text().toStdString();
        c.confirm_overwrite = d.confirm_overwrite_check->isChecked();
        c.shared_palette = d.shared_palette_check->isChecked();
        return c;
    }
    void set_progress(int value, int maximum) override {
        // A maximum of 0 would turn the bar into a busy indicator.
        d.progress_bar->setMaximum(std::max(maximum, 1));
        d.progress_bar->setValue(value);
    }
    void process_events() override { QApplication::processEvents(); }
    bool option_dialog(int operation) override {
        if (operation == mevra::batch_reduce)
            return !d.reduction_options || d.reduction_options->open_dialog() == QDialog::Accepted;
        return !d.trim_options ||
               d.trim_options->open_dialog(operation - mevra::batch_resize) == QDialog::Accepted;
    }
    bool save_dialog(const std::string& output_path, int format, std::string& chosen_path,
                     int& chosen_format) override {
        QFileDialog dialog(&d, batch_dialog::tr("イメージ保存"));
        dialog.setObjectName("save_file_dialog");
        prepare_image_save_dialog(dialog, format);
        const QFileInfo info(q(output_path));
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
        chosen_format = static_cast<int>(image_save_filters().indexOf(dialog.selectedNameFilter()));
        chosen_path = dialog.selectedFiles().front().toStdString();
        return chosen_format >= 0;
    }
    // The holder is never shown; the engine keeps the picture, the holder
    // carries its path as its title.
    void holder_open() override { holder_ = new image_window(nullptr); }
    void holder_show(const std::string& title, mevra::image_info&) override {
        if (holder_) holder_->setWindowTitle(q(title));
    }
    void holder_close() override {
        delete holder_;
        holder_ = nullptr;
    }

  private:
    batch_dialog& d;
    image_window* holder_ = nullptr;
};

batch_dialog::batch_dialog(QWidget* parent) : QDialog(parent) {
    setObjectName("batch_dialog");
    setWindowTitle(tr("변환する파일  をドロップしてください"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    setMinimumSize(430, 192);
    build_controls();
    resize(632, 319);
}

batch_dialog::~batch_dialog() = default;

void batch_dialog::build_controls() {
    file_list = new QListWidget(this);
    file_list->setObjectName("file_list");
    file_list->setAcceptDrops(true);
    file_list->viewport()->setAcceptDrops(true);
    file_list->viewport()->installEventFilter(this);
    file_list->installEventFilter(this);

    auto* strip = new QWidget(this);
    strip->setObjectName("option_strip");
    dialog_style::paint_dark(strip, QColor(Qt::white));

    auto* operation_label = new QLabel(tr("변환の種類"), strip);
    operation_label->setGeometry(8, 8, 70, 18);
    operation_combo = new QComboBox(strip);
    operation_combo->setObjectName("operation_combo");
    for (int op = 0; op < mevra::batch_operation_count; ++op)
        // The core keeps the names; their translations are under its context.
        operation_combo->addItem(
            QCoreApplication::translate("batch_operation", mevra::batch_operation_text(op)));
    operation_combo->setGeometry(80, 5, 200, 22);
    format_combo = new QComboBox(strip);
    format_combo->setObjectName("format_combo");
    format_combo->addItems({"0=BMP", "1=JPG", "2=PNG", "3=TIF", "4=GIF", "5=TGA", "6=DDS"});
    format_combo->setGeometry(288, 5, 80, 22);
    format_combo->setToolTip(tr("변환後の파일  フォーマットを選択します"));
    confirm_overwrite_check = new QCheckBox(tr("파일  の上書き確認をする"), strip);
    confirm_overwrite_check->setObjectName("confirm_overwrite_check");
    confirm_overwrite_check->setChecked(true);
    confirm_overwrite_check->setGeometry(376, 7, 220, 20);
    confirm_overwrite_check->setToolTip(
        tr("チェックを外すと保存先に同名파일  があっても確認しません"));

    use_output_folder_check = new QCheckBox(strip);
    use_output_folder_check->setObjectName("use_output_folder_check");
    use_output_folder_check->setAccessibleName(tr("出力フォルダを指定する"));
    use_output_folder_check->setToolTip(
        tr("チェックをはずすと변환元파일  と同じフォルダに保存します。"));
    use_output_folder_check->setGeometry(8, 34, 18, 20);
    output_folder_label = new QLabel(tr("出力フォルダ"), strip);
    output_folder_label->setObjectName("output_folder_label");
    // 70 wide where the text fits; a longer (translated) text widens it, and
    // the folder box starts after it.
    output_folder_label->setGeometry(28, 35, std::max(70, output_folder_label->sizeHint().width()),
                                     18);
    output_folder_edit = new QLineEdit(strip);
    output_folder_edit->setObjectName("output_folder_edit");
    output_folder_label->setBuddy(output_folder_edit);
    button_browse = new QPushButton("...", strip);
    button_browse->setObjectName("button_browse");
    output_folder_edit->setEnabled(false);
    button_browse->setEnabled(false);
    connect(use_output_folder_check, &QCheckBox::toggled, this, [this](bool on) {
        output_folder_edit->setEnabled(on);
        button_browse->setEnabled(on);
    });
    connect(button_browse, &QPushButton::clicked, this, [this] {
        const QString folder =
            QFileDialog::getExistingDirectory(this, QString(), output_folder_edit->text());
        if (!folder.isEmpty()) output_folder_edit->setText(folder);
    });

    auto button = [strip](const char* name, const QString& text, int x) {
        auto* b = new QPushButton(text, strip);
        b->setObjectName(name);
        b->setGeometry(x, 60, 60, 24);
        return b;
    };
    button_delete = button("button_delete", tr("１つ削除"), 8);
    button_clear = button("button_clear", tr("全てクリア"), 70);
    button_save_list = button("button_save_list", tr("リストを保存"), 132);
    // The list buttons are 60 wide where their text fits; with wider fonts
    // they grow to their text, side by side.
    int next_x = 8;
    for (QPushButton* b : {button_delete, button_clear, button_save_list}) {
        b->setGeometry(next_x, 60, std::max(60, b->sizeHint().width()), 24);
        next_x += b->width() + 2;
    }
    button_save_list->setToolTip(tr("변환파일  の"));
    shared_palette_check = new QCheckBox(tr("모든 파일에 하나의 팔레트"), strip);
    shared_palette_check->setObjectName("shared_palette_check");
    shared_palette_check->setToolTip(
        tr("감색할 때 모든 파일의 색을 함께 세어 하나의 팔레트를 만들고 모든 파일에 씁니다"));
    shared_palette_check->setGeometry(next_x + 6, 62, shared_palette_check->sizeHint().width(), 20);
    shared_palette_check->setEnabled(false);
    connect(operation_combo, &QComboBox::currentIndexChanged, this, [this](int op) {
        shared_palette_check->setEnabled(op == mevra::batch_reduce);
    });
    button_start = button("button_start", tr("開始"), 0);
    button_start->setToolTip(tr("변환を開始"));
    button_stop = button("button_stop", tr("中断"), 0);
    button_stop->setToolTip(tr("변환を途中で中断する"));
    button_close = button("button_close", tr("閉じる"), 0);
    for (QPushButton* b : {button_start, button_stop, button_close})
        b->resize(72, 24);

    progress_bar = new QProgressBar(strip);
    progress_bar->setObjectName("progress_bar");
    progress_bar->setTextVisible(false);
    progress_bar->setRange(0, 1);
    progress_bar->setValue(0);
    progress_bar->setStyleSheet(
        "QProgressBar { background: white; border: 1px solid gray; }"
        "QProgressBar::chunk { background-color: rgb(144, 238, 144); }");
    progress_bar->setToolTip(tr("변환状況をグラフで표시"));

    connect(button_delete, &QPushButton::clicked, this, &batch_dialog::delete_one);
    connect(button_clear, &QPushButton::clicked, this, [this] {
        file_list->clear();
        list_change_flg = 1;
    });
    connect(button_save_list, &QPushButton::clicked, this, [this] {
        save_listfile();
        list_change_flg = 0;
    });
    connect(button_start, &QPushButton::clicked, this, [this] { batch_start(); });
    connect(button_stop, &QPushButton::clicked, this, [this] { engine.stop(); });
    connect(button_close, &QPushButton::clicked, this, &batch_dialog::reject);
}

void batch_dialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int w = width(), h = height();
    file_list->setGeometry(0, 0, w, std::max(0, h - strip_height));
    if (QWidget* strip = findChild<QWidget*>("option_strip"))
        strip->setGeometry(0, h - strip_height, w, strip_height);
    const int box_left = std::max(100, output_folder_label->geometry().right() + 3);
    output_folder_edit->setGeometry(box_left, 33, std::max(40, w - 48 - box_left), 22);
    button_browse->setGeometry(w - 40, 32, 32, 24);
    progress_bar->setGeometry(8, 90, w - 16, 10);
    place_run_buttons();
}

void batch_dialog::place_run_buttons() {
    // The three run buttons keep their distance from the right edge, but
    // never cover the list buttons in a narrow window.
    const int left = std::max(width() - 235, shared_palette_check->geometry().right() + 8);
    button_start->move(left, 60);
    button_stop->move(left + 76, 60);
    button_close->move(left + 152, 60);
}

void batch_dialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The list always starts from the file, not from the previous contents.
    load_listfile();
    list_change_flg = 0;
}

bool batch_dialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == file_list->viewport()) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (drag->mimeData()->hasUrls()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            image_files_open(dropped_local_files(*drop));
            drop->acceptProposedAction();
            return true;
        }
    } else if (watched == file_list && event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        delete_one();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void batch_dialog::keyPressEvent(QKeyEvent* event) {
    // Only the stop button ends a run early: Escape neither stops it nor
    // closes the dialog under it.
    if (event->key() == Qt::Key_Escape && engine.running()) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void batch_dialog::delete_one() {
    const int row = file_list->currentRow();
    if (row < 0 || !file_list->currentItem() || !file_list->currentItem()->isSelected()) return;
    delete file_list->takeItem(row);
    list_change_flg = 1;
}

void batch_dialog::image_files_open(const QStringList& paths) {
    bool added = false;
    for (const QString& path : paths) {
        if (!QFileInfo(path).isFile()) continue;
        file_list->addItem(path);
        added = true;
    }
    if (added) list_change_flg = 1;
}

int batch_dialog::load_listfile() {
    file_list->clear();
    std::vector<std::string> lines;
    if (mevra::load_batch_list(lines) != 0) return -1;
    for (const auto& line : lines)
        file_list->addItem(q(line));
    return 0;
}

void batch_dialog::save_listfile() {
    std::vector<std::string> lines;
    for (int i = 0; i < file_list->count(); ++i)
        lines.push_back(file_list->item(i)->text().toStdString());
    mevra::save_batch_list(lines);
}

mevra::batch_summary batch_dialog::batch_start() {
    button_start->setEnabled(false);
    button_close->setEnabled(false);
    host h(*this);
    const mevra::batch_summary summary = engine.run(h);
    button_start->setEnabled(true);
    button_close->setEnabled(true);
    // The frame was closed during the run: close now that it has stopped.
    if (close_after_run_) {
        close_after_run_ = false;
        reject();
    }
    return summary;
}

void batch_dialog::reject() {
    if (engine.running()) {
        // Closing the frame during a run stops it between files first.
        engine.stop();
        close_after_run_ = true;
        return;
    }
    if (list_change_flg != 0) {
        const auto answer = mevra::ui().message_box(
            mevra::ui_text("batch_dialog", "파일  リストを保存しますか？"),
            mevra::ui_text("batch_dialog", "リスト保存"), mevra::msg_buttons::yes_no);
        if (answer == mevra::msg_answer::yes) {
            save_listfile();
            list_change_flg = 0;
        }
    }
    QDialog::reject();
}

void batch_dialog::settings_to_controls(const mevra::clgbase& clg) {
    operation_combo->setCurrentIndex(std::clamp(clg.batch_conv_index, 0, 16));
    format_combo->setCurrentIndex(std::clamp(clg.batch_format_type, 0, 6));
    use_output_folder_check->setChecked(clg.batch_use_out_folder != 0);
    output_folder_edit->setEnabled(use_output_folder_check->isChecked());
    button_browse->setEnabled(use_output_folder_check->isChecked());
    output_folder_edit->setText(q(clg.batch_out_folder_name));
    confirm_overwrite_check->setChecked(clg.batch_over_write_check != 0);
}

void batch_dialog::controls_to_settings(mevra::clgbase& clg) const {
    clg.batch_conv_index = operation_combo->currentIndex();
    clg.batch_format_type = format_combo->currentIndex();
    clg.batch_use_out_folder = use_output_folder_check->isChecked() ? 1 : 0;
    clg.batch_out_folder_name = output_folder_edit->text().toStdString();
    clg.batch_over_write_check = confirm_overwrite_check->isChecked() ? 1 : 0;
}
