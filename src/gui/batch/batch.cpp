#include "batch/batch.h"

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
#include "dialogs/conv_option.h"
#include "dialogs/conv_trim.h"
#include "dialogs/dialog_style.h"
#include "platform/ui_port.h"
#include "platform/ui_text.h"
#include "views/image_save_dialog.h"
#include "views/image_save_filters.h"
#include "views/mdichild.h"

namespace {

constexpr int strip_height = 104;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

// The dialog's side of a run: its list and controls, its progress bar, the
// option dialogs it was handed, and a hidden image window as the holder that
// is the active image window while the run goes.
class batch::host final : public mevra::batch_host {
  public:
    explicit host(batch& dialog) : d(dialog) {}

    int entry_count() override { return d.listBox1->count(); }
    std::string entry(int index) override {
        QListWidgetItem* item = d.listBox1->item(index);
        return item ? item->text().toStdString() : std::string();
    }
    mevra::batch_choices choices() override {
        mevra::batch_choices c;
        c.operation = d.comboBox1->currentIndex();
        c.format = d.comboBox2->currentIndex();
        c.use_out_folder = d.checkBox1->isChecked();
        c.out_folder = d.textBox1->text().toStdString();
        c.confirm_overwrite = d.checkBox2->isChecked();
        return c;
    }
    void set_progress(int value, int maximum) override {
        // A maximum of 0 would turn the bar into a busy indicator.
        d.progressBar1->setMaximum(std::max(maximum, 1));
        d.progressBar1->setValue(value);
    }
    void process_events() override { QApplication::processEvents(); }
    bool option_dialog(int operation) override {
        if (operation == mevra::batch_reduce)
            return !d.fgensyokuopt || d.fgensyokuopt->OpenGenshokuDialog() == QDialog::Accepted;
        return !d.fconvtrim || d.fconvtrim->OpenTrimOptionDialog(operation - mevra::batch_resize) ==
                                   QDialog::Accepted;
    }
    bool save_dialog(const std::string& output_path, int format, std::string& chosen_path,
                     int& chosen_format) override {
        QFileDialog dialog(&d, batch::tr("イメージ保存"));
        dialog.setObjectName("saveFileDialog1");
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
    void holder_open() override {
        holder_ = new mdichild(nullptr);
        mdichild::lastActive = holder_;
    }
    void holder_show(const std::string& title, mevra::image_info&) override {
        if (holder_) holder_->setWindowTitle(q(title));
    }
    void holder_close() override {
        delete holder_;
        holder_ = nullptr;
        mdichild::lastActive = nullptr;
    }

  private:
    batch& d;
    mdichild* holder_ = nullptr;
};

batch::batch(QWidget* parent) : QDialog(parent) {
    setObjectName("batch");
    setWindowTitle(tr("변환する파일  をドロップしてください"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    setMinimumSize(430, 192);
    build_controls();
    resize(632, 319);
}

batch::~batch() = default;

void batch::build_controls() {
    listBox1 = new QListWidget(this);
    listBox1->setObjectName("listBox1");
    listBox1->setAcceptDrops(true);
    listBox1->viewport()->setAcceptDrops(true);
    listBox1->viewport()->installEventFilter(this);
    listBox1->installEventFilter(this);

    auto* strip = new QWidget(this);
    strip->setObjectName("panel1");
    dialog_style::paint_dark(strip, QColor(Qt::white));

    auto* label1 = new QLabel(tr("변환の種類"), strip);
    label1->setGeometry(8, 8, 70, 18);
    comboBox1 = new QComboBox(strip);
    comboBox1->setObjectName("comboBox1");
    for (int op = 0; op < mevra::batch_operation_count; ++op)
        // The core keeps the names; their translations are under its context.
        comboBox1->addItem(
            QCoreApplication::translate("batch_operation", mevra::batch_operation_text(op)));
    comboBox1->setGeometry(80, 5, 200, 22);
    comboBox2 = new QComboBox(strip);
    comboBox2->setObjectName("comboBox2");
    comboBox2->addItems({"0=BMP", "1=JPG", "2=PNG", "3=TIF", "4=GIF", "5=TGA", "6=DDS"});
    comboBox2->setGeometry(288, 5, 80, 22);
    comboBox2->setToolTip(tr("변환後の파일  フォーマットを選択します"));
    checkBox2 = new QCheckBox(tr("파일  の上書き確認をする"), strip);
    checkBox2->setObjectName("checkBox2");
    checkBox2->setChecked(true);
    checkBox2->setGeometry(376, 7, 220, 20);
    checkBox2->setToolTip(tr("チェックを外すと保存先に同名파일  があっても確認しません"));

    checkBox1 = new QCheckBox(strip);
    checkBox1->setObjectName("checkBox1");
    checkBox1->setAccessibleName(tr("出力フォルダを指定する"));
    checkBox1->setToolTip(tr("チェックをはずすと변환元파일  と同じフォルダに保存します。"));
    checkBox1->setGeometry(8, 34, 18, 20);
    label2 = new QLabel(tr("出力フォルダ"), strip);
    label2->setObjectName("label2");
    // 70 wide where the text fits; a longer (translated) text widens it, and
    // the folder box starts after it.
    label2->setGeometry(28, 35, std::max(70, label2->sizeHint().width()), 18);
    textBox1 = new QLineEdit(strip);
    textBox1->setObjectName("textBox1");
    label2->setBuddy(textBox1);
    button_browse = new QPushButton("...", strip);
    button_browse->setObjectName("button_browse");
    textBox1->setEnabled(false);
    button_browse->setEnabled(false);
    connect(checkBox1, &QCheckBox::toggled, this, [this](bool on) {
        textBox1->setEnabled(on);
        button_browse->setEnabled(on);
    });
    connect(button_browse, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(this, QString(), textBox1->text());
        if (!folder.isEmpty()) textBox1->setText(folder);
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
    button_start = button("button_start", tr("開始"), 0);
    button_start->setToolTip(tr("변환を開始"));
    button_stop = button("button_stop", tr("中断"), 0);
    button_stop->setToolTip(tr("변환を途中で中断する"));
    button_close = button("button_close", tr("閉じる"), 0);
    for (QPushButton* b : {button_start, button_stop, button_close})
        b->resize(72, 24);

    progressBar1 = new QProgressBar(strip);
    progressBar1->setObjectName("progressBar1");
    progressBar1->setTextVisible(false);
    progressBar1->setRange(0, 1);
    progressBar1->setValue(0);
    progressBar1->setStyleSheet(
        "QProgressBar { background: white; border: 1px solid gray; }"
        "QProgressBar::chunk { background-color: rgb(144, 238, 144); }");
    progressBar1->setToolTip(tr("변환状況をグラフで표시"));

    connect(button_delete, &QPushButton::clicked, this, &batch::delete_one);
    connect(button_clear, &QPushButton::clicked, this, [this] {
        listBox1->clear();
        list_change_flg = 1;
    });
    connect(button_save_list, &QPushButton::clicked, this, [this] {
        save_listfile();
        list_change_flg = 0;
    });
    connect(button_start, &QPushButton::clicked, this, [this] { batch_start(); });
    connect(button_stop, &QPushButton::clicked, this, [this] { engine.stop(); });
    connect(button_close, &QPushButton::clicked, this, &batch::reject);
}

void batch::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int w = width(), h = height();
    listBox1->setGeometry(0, 0, w, std::max(0, h - strip_height));
    if (QWidget* strip = findChild<QWidget*>("panel1"))
        strip->setGeometry(0, h - strip_height, w, strip_height);
    const int box_left = std::max(100, label2->geometry().right() + 3);
    textBox1->setGeometry(box_left, 33, std::max(40, w - 48 - box_left), 22);
    button_browse->setGeometry(w - 40, 32, 32, 24);
    progressBar1->setGeometry(8, 90, w - 16, 10);
    place_run_buttons();
}

void batch::place_run_buttons() {
    // The three run buttons keep their distance from the right edge, but
    // never cover the list buttons in a narrow window.
    const int left = std::max(width() - 235, button_save_list->geometry().right() + 8);
    button_start->move(left, 60);
    button_stop->move(left + 76, 60);
    button_close->move(left + 152, 60);
}

void batch::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The list always starts from the file, not from the previous contents.
    load_listfile();
    list_change_flg = 0;
}

bool batch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == listBox1->viewport()) {
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
    } else if (watched == listBox1 && event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        delete_one();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void batch::keyPressEvent(QKeyEvent* event) {
    // Only the stop button ends a run early: Escape neither stops it nor
    // closes the dialog under it.
    if (event->key() == Qt::Key_Escape && engine.running()) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void batch::delete_one() {
    const int row = listBox1->currentRow();
    if (row < 0 || !listBox1->currentItem() || !listBox1->currentItem()->isSelected()) return;
    delete listBox1->takeItem(row);
    list_change_flg = 1;
}

void batch::image_files_open(const QStringList& paths) {
    bool added = false;
    for (const QString& path : paths) {
        if (!QFileInfo(path).isFile()) continue;
        listBox1->addItem(path);
        added = true;
    }
    if (added) list_change_flg = 1;
}

int batch::load_listfile() {
    listBox1->clear();
    std::vector<std::string> lines;
    if (mevra::load_batch_list(lines) != 0) return -1;
    for (const auto& line : lines)
        listBox1->addItem(q(line));
    return 0;
}

void batch::save_listfile() {
    std::vector<std::string> lines;
    for (int i = 0; i < listBox1->count(); ++i)
        lines.push_back(listBox1->item(i)->text().toStdString());
    mevra::save_batch_list(lines);
}

mevra::batch_summary batch::batch_start() {
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

void batch::reject() {
    if (engine.running()) {
        // Closing the frame during a run stops it between files first.
        engine.stop();
        close_after_run_ = true;
        return;
    }
    if (list_change_flg != 0) {
        const auto answer = mevra::ui().message_box(
            mevra::ui_text("batch", "파일  リストを保存しますか？"),
            mevra::ui_text("batch", "リスト保存"), mevra::msg_buttons::yes_no);
        if (answer == mevra::msg_answer::yes) {
            save_listfile();
            list_change_flg = 0;
        }
    }
    QDialog::reject();
}

void batch::settings_to_controls(const mevra::clgbase& clg) {
    comboBox1->setCurrentIndex(std::clamp(clg.batch_conv_index, 0, 16));
    comboBox2->setCurrentIndex(std::clamp(clg.batch_format_type, 0, 6));
    checkBox1->setChecked(clg.batch_use_out_folder != 0);
    textBox1->setEnabled(checkBox1->isChecked());
    button_browse->setEnabled(checkBox1->isChecked());
    textBox1->setText(q(clg.batch_out_folder_name));
    checkBox2->setChecked(clg.batch_over_write_check != 0);
}

void batch::controls_to_settings(mevra::clgbase& clg) const {
    clg.batch_conv_index = comboBox1->currentIndex();
    clg.batch_format_type = comboBox2->currentIndex();
    clg.batch_use_out_folder = checkBox1->isChecked() ? 1 : 0;
    clg.batch_out_folder_name = textBox1->text().toStdString();
    clg.batch_over_write_check = checkBox2->isChecked() ? 1 : 0;
}
