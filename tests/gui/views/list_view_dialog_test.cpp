// The list-view dialog over two real folders.
#include <QCloseEvent>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_support.h"
#include "views/list_view_dialog.h"

namespace {

namespace fs = std::filesystem;

// True when the column starting at x0 (of width w) holds white text pixels.
bool has_white(const QImage& img, int x0, int w) {
    for (int y = 16; y < img.height(); ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (img.pixelColor(x, y) == Qt::white) return true;
    return false;
}

TEST(ListViewDialog, ListsTheFilesOfTwoFoldersSideBySideAndHidesOnClose) {
    mevra::test::temp_dir dir;
    fs::create_directories(dir.file("one/sub"));
    fs::create_directories(dir.file("two"));
    for (int i = 0; i < 30; ++i)
        mevra::test::write_bytes(dir.file("one/f" + std::to_string(i)), {1});
    mevra::test::write_bytes(dir.file("two/.hidden"), {1});

    list_view_dialog d;
    EXPECT_EQ(d.windowTitle(), "リストビュー");
    d.f1_dir = QString::fromStdString(dir.file("one"));
    d.f2_dir = QString::fromStdString(dir.file("nowhere"));
    d.show();
    ASSERT_TRUE(d.f1_files.has_value());
    EXPECT_EQ(d.f1_files->size(), 30);  // the subfolder is not listed
    EXPECT_EQ(d.f1_files->front(), QString::fromStdString(dir.file("one/f0")));
    EXPECT_FALSE(d.f2_files.has_value());
    EXPECT_TRUE(d.f2_dir.isEmpty());  // no folder: none is kept

    d.folder2_edit->setText(QString::fromStdString(dir.file("two")));
    d.refresh2_button->click();
    ASSERT_TRUE(d.f2_files.has_value());
    EXPECT_EQ(d.f2_files->size(), 1);
    // Thirty lines do not fit: the surface grows and scrolls.
    EXPECT_GT(d.list_panel->height(), d.scroll->viewport()->height());
    d.resize(700, 300);
    EXPECT_EQ(d.folder1_edit->width(), 700 - 150);

    const QImage shot = d.list_panel->grab().toImage();
    const int half = shot.width() / 2;
    EXPECT_TRUE(has_white(shot, 0, half));
    EXPECT_TRUE(has_white(shot, half, shot.width() - half));

    d.close();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.f1_files->size(), 30);  // kept while hidden
}

TEST(ListViewDialog, LongPathsAreDrawnWholeAndTheSurfaceScrollsSideways) {
    mevra::test::temp_dir dir;
    fs::create_directories(dir.file("one"));
    mevra::test::write_bytes(dir.file("one/" + std::string(200, 'n') + ".png"), {1});
    list_view_dialog d;
    d.f1_dir = QString::fromStdString(dir.file("one"));
    d.show();
    ASSERT_TRUE(d.f1_files.has_value());
    const int advance = QFontMetrics(d.font()).horizontalAdvance(d.f1_files->front());
    EXPECT_GE(d.list_panel->width(), advance + 5);
    EXPECT_GT(d.scroll->horizontalScrollBar()->maximum(), 0);
}

}  // namespace
