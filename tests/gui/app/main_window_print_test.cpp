// Printing: the page picture and a real print into a PDF file.
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <filesystem>

#include "app/main_window_test_fixture.h"

namespace {

TEST_F(MainWindowTest, PageShowsTheColoursStretchedOverTheMarginRect) {
    QImage page(40, 30, QImage::Format_ARGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        EXPECT_FALSE(window->draw_print_page(painter, QRectF(5, 5, 20, 10)));
    }
    // An indexed 2 × 1 image: red on the left, blue on the right.
    mevra::image_info indexed =
        mevra::test::make_indexed(mevra::IMGTYP_16, 2, 1, {0xFFFF0000u, 0xFF0000FFu}, {0, 1});
    const std::string path = dir.file("i.bmp");
    ASSERT_EQ(indexed.save_to_file(mevra::IMGFMT_BMP, path), 0);
    open_image(path);
    {
        QPainter painter(&page);
        EXPECT_TRUE(window->draw_print_page(painter, QRectF(5, 5, 20, 10)));
    }
    EXPECT_EQ(page.pixel(4, 4), 0xFFFFFFFFu);
    EXPECT_EQ(page.pixel(6, 6), 0xFFFF0000u);
    EXPECT_EQ(page.pixel(23, 13), 0xFF0000FFu);
    EXPECT_EQ(page.pixel(26, 16), 0xFFFFFFFFu);
}

TEST_F(MainWindowTest, PrintWritesAPdfAndPreviewPaints) {
    open_image(write_argb("a.png", 8, 8));
    window->print_to_file_path = QString::fromStdString(dir.file("out.pdf"));
    mevra::test::on_next_modal([](QWidget* modal) {
        EXPECT_NE(qobject_cast<QPageSetupDialog*>(modal), nullptr);
        static_cast<QDialog*>(modal)->accept();
    });
    find_action(window.get(), "print_action")->trigger();
    ASSERT_TRUE(std::filesystem::exists(dir.file("out.pdf")));
    EXPECT_GT(std::filesystem::file_size(dir.file("out.pdf")), 500u);

    bool previewed = false;
    mevra::test::on_next_modal([&](QWidget* modal) {
        previewed = qobject_cast<QPrintPreviewDialog*>(modal) != nullptr;
        static_cast<QDialog*>(modal)->reject();
    });
    find_action(window.get(), "print_preview_action")->trigger();
    EXPECT_TRUE(previewed);
}

}  // namespace
