// The batch dialog with real widgets on the offscreen platform.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "batch/batch_dialog.h"
#include "batch/batch_list_file.h"
#include "support/gui_test_support.h"
#include "support/test_support.h"
#include "views/image_save_filters.h"
#include "views/image_window.h"

namespace {

namespace fs = std::filesystem;
using namespace mevra;

class BatchDialog : public ::testing::Test {
  protected:
    test::temp_dir dir;
    test::recording_ui ui{msg_answer::yes};
    std::string old_xdg;

    void SetUp() override {
        if (const char* x = std::getenv("XDG_CONFIG_HOME")) old_xdg = x;
        setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
        settings().reset_defaults();
    }
    void TearDown() override {
        if (old_xdg.empty())
            unsetenv("XDG_CONFIG_HOME");
        else
            setenv("XDG_CONFIG_HOME", old_xdg.c_str(), 1);
    }
    QString source(const std::string& name, int side = 8) {
        auto img = test::make_photo_like(side, side, 5);
        std::string error;
        EXPECT_EQ(img.file_save_bmp(dir.file(name), error), 0) << error;
        return QString::fromStdString(dir.file(name));
    }
};

TEST_F(BatchDialog, ControlsTextsAndTheRunButtonsFollowTheRightEdge) {
    batch_dialog d;
    EXPECT_EQ(d.windowTitle(), "변환する파일  をドロップしてください");
    EXPECT_EQ(d.minimumSize(), QSize(430, 192));
    EXPECT_EQ(d.operation_combo->count(), 17);
    EXPECT_EQ(d.operation_combo->itemText(1), "감색");
    EXPECT_EQ(d.format_combo->itemText(6), "6=DDS");
    EXPECT_TRUE(d.confirm_overwrite_check->isChecked());
    EXPECT_FALSE(d.output_folder_edit->isEnabled());
    EXPECT_FALSE(d.button_browse->isEnabled());
    d.use_output_folder_check->setChecked(true);
    EXPECT_TRUE(d.output_folder_edit->isEnabled());
    EXPECT_TRUE(d.button_browse->isEnabled());
    d.show();
    d.resize(700, 300);
    EXPECT_EQ(d.button_start->x(), 700 - 235);
    EXPECT_EQ(d.button_stop->x(), 700 - 159);
    EXPECT_EQ(d.button_close->x(), 700 - 83);
}

TEST_F(BatchDialog, DroppedFilesConvertAndTheListIsKeptOnRequest) {
    batch_dialog d;
    d.show();  // loads the (missing) list: empty
    EXPECT_EQ(d.file_list->count(), 0);
    // Dropped on the list: folders and missing files are left out.
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(source("a.bmp")),
                  QUrl::fromLocalFile(QString::fromStdString(dir.file("none.bmp"))),
                  QUrl::fromLocalFile(QString::fromStdString(dir.path().string())),
                  QUrl::fromLocalFile(source("b.bmp"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(d.file_list->viewport(), &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(d.file_list->viewport(), &drop);
    ASSERT_EQ(d.file_list->count(), 2);
    EXPECT_EQ(d.list_change_flg, 1);
    fs::create_directory(dir.file("out"));
    clgbase& clg = settings();
    clg.batch_conv_index = 13;  // invert
    clg.batch_format_type = IMGFMT_GIF;
    clg.batch_out_folder_name = dir.file("out");
    d.settings_to_controls(clg);
    d.button_start->click();
    // mevra-cli drives the same engine: the same choices give the same bytes.
    const char* cli = std::getenv("MEVRA_CLI");
    ASSERT_NE(cli, nullptr);
    // Run through QProcess: the application reaps its own child processes.
    const QStringList args = {"convert",
                              "--quiet",
                              "--op",
                              "invert",
                              "--format",
                              "gif",
                              "--out-dir",
                              QString::fromStdString(dir.file("cli")),
                              QString::fromStdString(dir.file("a.bmp")),
                              QString::fromStdString(dir.file("b.bmp"))};
    ASSERT_EQ(QProcess::execute(QString::fromUtf8(cli), args), 0);
    for (const char* name : {"a.gif", "b.gif"}) {
        const auto bytes = test::read_bytes(dir.file(std::string("out/") + name));
        EXPECT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(bytes, test::read_bytes(dir.file(std::string("cli/") + name))) << name;
    }
    EXPECT_EQ(d.progress_bar->value(), 0);
    // The picture holder of the run is gone.
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<image_window*>(w), nullptr);
    EXPECT_EQ(ui.exclamations, 1);
    EXPECT_TRUE(d.button_start->isEnabled());

    d.file_list->addItem("extra");
    d.file_list->setCurrentRow(2);
    QTest::keyClick(d.file_list, Qt::Key_Delete);
    d.file_list->setCurrentRow(0);
    d.button_delete->click();
    ASSERT_EQ(d.file_list->count(), 1);
    d.button_close->click();  // "save the list?" answered Yes
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "파일  リストを保存しますか？");
    std::vector<std::string> lines;
    ASSERT_EQ(load_batch_list(lines), 0);
    EXPECT_EQ(lines, std::vector<std::string>{dir.file("b.bmp")});
    d.show();  // the list comes back from the file
    EXPECT_EQ(d.file_list->count(), 1);
    d.button_clear->click();
    d.button_save_list->click();  // an empty list deletes the file
    EXPECT_FALSE(fs::exists(batch_list_path()));
    d.button_close->click();
    EXPECT_EQ(ui.messages.size(), 1u);  // saved: no question
}

TEST_F(BatchDialog, OnePaletteForAllFilesMatchesTheCommandLinesSharedPalette) {
    batch_dialog d;
    d.show();
    d.file_list->addItem(source("a.bmp", 16));
    d.file_list->addItem(source("b.bmp", 24));
    fs::create_directory(dir.file("out"));
    clgbase& clg = settings();
    clg.batch_conv_index = 1;  // reduce
    clg.batch_format_type = IMGFMT_PNG;
    clg.batch_out_folder_name = dir.file("out");
    clg.target_color = 12;
    d.settings_to_controls(clg);
    EXPECT_EQ(d.shared_palette_check->text(), "모든 파일에 하나의 팔레트");
    ASSERT_TRUE(d.shared_palette_check->isEnabled());
    d.shared_palette_check->setChecked(true);
    d.button_start->click();
    const QStringList args = {"convert", "--quiet", "--op", "reduce", "--colors", "12",
                              "--shared-palette", "--out-dir",
                              QString::fromStdString(dir.file("cli")),
                              QString::fromStdString(dir.file("a.bmp")),
                              QString::fromStdString(dir.file("b.bmp"))};
    ASSERT_EQ(QProcess::execute(QString::fromUtf8(std::getenv("MEVRA_CLI")), args), 0);
    for (const char* name : {"a.png", "b.png"}) {
        const auto bytes = test::read_bytes(dir.file(std::string("out/") + name));
        EXPECT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(bytes, test::read_bytes(dir.file(std::string("cli/") + name))) << name;
    }
    d.operation_combo->setCurrentIndex(0);  // save only
    EXPECT_FALSE(d.shared_palette_check->isEnabled());
}

TEST_F(BatchDialog, StopPressedDuringALongRunEndsItBetweenFiles) {
    batch_dialog d;
    d.show();
    QStringList files;
    for (int i = 0; i < 6; ++i)
        files << source("big" + std::to_string(i) + ".bmp", 1200);
    d.image_files_open(files);
    d.format_combo->setCurrentIndex(IMGFMT_PNG);
    // Stop is pressed from a timer that fires while the run is on its second
    // file: the first is finished, nothing after it is loaded.
    QObject::connect(d.progress_bar, &QProgressBar::valueChanged, d.button_stop, [&d](int v) {
        if (v == 2) QTimer::singleShot(0, d.button_stop, [&d] { d.button_stop->click(); });
    });
    const auto summary = d.batch_start();
    EXPECT_EQ(summary.end, batch_end::stopped);
    EXPECT_EQ(summary.saved, 1);
    EXPECT_TRUE(fs::exists(dir.file("big0.png")));
    EXPECT_FALSE(fs::exists(dir.file("big1.png")));
    EXPECT_EQ(d.progress_bar->value(), 0);
}

TEST_F(BatchDialog, ClosingTheFrameDuringARunStopsItAndThenCloses) {
    batch_dialog d;
    d.show();
    d.image_files_open({source("a.bmp"), source("b.bmp")});
    d.button_save_list->click();
    QObject::connect(d.progress_bar, &QProgressBar::valueChanged, &d, [&d](int v) {
        if (v == 1) QTimer::singleShot(0, &d, [&d] { d.close(); });
    });
    const auto summary = d.batch_start();
    EXPECT_EQ(summary.end, batch_end::stopped);
    EXPECT_EQ(summary.saved, 0);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(ui.messages.empty());  // the list was saved: no question
}

TEST_F(BatchDialog, EscapeDuringARunNeitherStopsItNorCloses) {
    batch_dialog d;
    d.show();
    d.image_files_open({source("a.bmp"), source("b.bmp")});
    d.button_save_list->click();
    QObject::connect(d.progress_bar, &QProgressBar::valueChanged, &d, [&d](int v) {
        if (v == 1) QTimer::singleShot(0, &d, [&d] { QTest::keyClick(&d, Qt::Key_Escape); });
    });
    const auto summary = d.batch_start();
    EXPECT_EQ(summary.end, batch_end::finished);
    EXPECT_EQ(summary.saved, 2);
    EXPECT_TRUE(d.isVisible());
    QTest::keyClick(&d, Qt::Key_Escape);  // after the run Escape closes as before
    EXPECT_FALSE(d.isVisible());
}

TEST_F(BatchDialog, NoToOverwritingSavesUnderTheNameGivenWithItsTypesExtension) {
    batch_dialog d;
    d.show();
    d.image_files_open({source("a.bmp")});
    d.format_combo->setCurrentIndex(IMGFMT_BMP);  // a.bmp exists: the question comes
    ui.answer_next(msg_answer::no);
    test::on_next_modal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->selectedNameFilter(), image_save_filters()[IMGFMT_BMP]);
        dialog->selectNameFilter(image_save_filters()[IMGFMT_PNG]);
        emit dialog->filterSelected(image_save_filters()[IMGFMT_PNG]);
        test::type_file_name(dialog, "photo");
        static_cast<QDialog*>(dialog)->accept();
    });
    const auto summary = d.batch_start();
    EXPECT_EQ(summary.saved, 1);
    EXPECT_EQ(test::read_bytes(dir.file("photo.png")).at(0), 0x89);  // PNG signature
    EXPECT_FALSE(fs::exists(dir.file("photo")));
}

}  // namespace
