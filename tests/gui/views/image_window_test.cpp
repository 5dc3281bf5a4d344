// The image window: undo list, saving, closing, placement, canvas and activation.
#include <QFileDialog>
#include <QMdiArea>
#include <QScrollBar>
#include <filesystem>

#include "app/main_window_test_fixture.h"
#include "views/image_canvas.h"
#include "views/palette_window.h"

namespace {

using image_window_test = MainWindowTest;

void paint_pixel(image_window* child, uint32_t colour) {
    child->image->argb_buff[0] = colour;
    child->undo_add();
}

TEST_F(image_window_test, UndoKeeps33StatesAndANewEditDropsTheRedoStates) {
    image_window* child = open_image(write_argb("a.png", 4, 4));
    for (uint32_t i = 1; i <= 40; ++i)
        paint_pixel(child, 0xFF000000u | i);
    ASSERT_EQ(child->undo_list.size(), 33u);
    child->edit_change = 0;
    int undos = 0;
    for (int i = 0; i < 40; ++i) {
        const int before = child->undo_pos;
        child->undo_image();
        undos += child->undo_pos != before;
    }
    EXPECT_EQ(undos, 32);
    EXPECT_EQ(child->image->argb_buff[0], 0xFF000000u | 8);  // oldest kept state
    EXPECT_EQ(child->edit_change, 0);                        // undo leaves the flag

    for (int i = 0; i < 30; ++i)
        child->redo_image();
    EXPECT_EQ(child->undo_pos, 2);
    child->image->zoom_scale_level = 9;
    child->undo_image();
    EXPECT_EQ(child->image->zoom_scale_level, 9);  // zoom survives undo
    child->redo_image();
    EXPECT_EQ(child->image->argb_buff[0], 0xFF000000u | 38);
    paint_pixel(child, 0xFF123456u);
    EXPECT_EQ(child->undo_list.size(), 32u);
    EXPECT_EQ(child->undo_pos, 0);
    child->redo_image();
    EXPECT_EQ(child->image->argb_buff[0], 0xFF123456u);
    // The window edits its own copy: stored states stay as they were.
    child->image->argb_buff[0] = 0;
    EXPECT_EQ(child->undo_list[0]->argb_buff[0], 0xFF123456u);
}

TEST_F(image_window_test, UndoAndRedoAtTheEndsOfTheHistoryChangeNothing) {
    mevra::settings().grid_mode = 1;
    image_window* child = open_image(write_argb("a.png", 4, 4));
    ASSERT_EQ(child->image->grid_mode, 1);
    find_action(window.get(), "undo_action")->trigger();  // undo at the oldest state
    EXPECT_EQ(child->image->grid_mode, 1);
    child->image->draw_type = 2;  // as the palette window's mode button sets it
    find_action(window.get(), "redo_action")->trigger();  // redo at the newest
    EXPECT_EQ(child->image->draw_type, 2);
    EXPECT_EQ(child->image->grid_mode, 1);
}

TEST_F(image_window_test, EveryFormatSavesAndTheTitleFollows) {
    image_window* child = open_image(write_argb("a.png", 8, 4));
    mevra::test::scripted_ui ui;
    for (int format = mevra::IMGFMT_BMP; format <= mevra::IMGFMT_DDS; ++format) {
        const std::string path = dir.file("out" + std::to_string(format));
        child->undo_add();
        ASSERT_TRUE(child->save_file(format, QString::fromStdString(path))) << format;
        EXPECT_GT(std::filesystem::file_size(path), 0u);
        EXPECT_EQ(child->image->format, format);
        EXPECT_EQ(child->windowTitle().toStdString(), path);
        EXPECT_EQ(child->edit_change, 0);
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(image_window_test, RefusedOrFailedSaveKeepsTheOldFileAndTheChanges) {
    const std::string path = write_argb("a.png", 5, 3);
    image_window* child = open_image(path);
    const std::vector<uint8_t> before = mevra::test::read_bytes(path);
    child->undo_add();
    mevra::settings().dds_format = mevra::FMT_DXT5;
    mevra::test::scripted_ui ui;
    EXPECT_FALSE(child->save_file(mevra::IMGFMT_DDS, QString::fromStdString(path)));
    ASSERT_EQ(ui.messages.size(), 1u);  // the DDS writer's size message
    EXPECT_EQ(mevra::test::read_bytes(path), before);
    EXPECT_EQ(child->edit_change, 1);
    EXPECT_EQ(child->image->format, mevra::IMGFMT_PNG);

    // Yes to the close question with a save that fails keeps the window.
    child->image->format = mevra::IMGFMT_DDS;
    ui.answer_next(mevra::msg_answer::yes);
    EXPECT_FALSE(child->query_close());
    EXPECT_EQ(ui.messages[1].text, path + "\n닫기 전에 수정 사항을 저장합니까?  ");
    EXPECT_EQ(ui.messages[1].caption, "저장 ");
    EXPECT_EQ(ui.messages[1].buttons, mevra::msg_buttons::yes_no_cancel);
    EXPECT_EQ(mevra::test::read_bytes(path), before);
}

TEST_F(image_window_test, SaveAsDialogPreselectsTheFormatAndAddsItsExtension) {
    image_window* child = open_image(write_argb("a.bmp", 4, 4, mevra::IMGFMT_BMP));
    mevra::test::on_next_modal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "イメージ保存");
        EXPECT_EQ(dialog->selectedNameFilter(), "ビットマップファイル(bmp) (*.bmp)");
        EXPECT_EQ(dialog->nameFilters().size(), 7);
        dialog->selectNameFilter("PNGファイル(png) (*.png)");
        emit dialog->filterSelected("PNGファイル(png) (*.png)");
        mevra::test::type_file_name(dialog, QString::fromStdString(dir.file("copy")));
        static_cast<QDialog*>(dialog)->accept();
    });
    find_action(window.get(), "save_image_as_action")->trigger();
    EXPECT_TRUE(std::filesystem::exists(dir.file("copy.png")));
    EXPECT_EQ(child->image->format, mevra::IMGFMT_PNG);
    EXPECT_EQ(child->windowTitle().toStdString(), dir.file("copy.png"));

    // Save now goes straight to that file, in its own format, without a dialog.
    mevra::test::write_bytes(dir.file("copy.png"), {1, 2, 3});
    find_action(window.get(), "save_image_action")->trigger();
    EXPECT_EQ(mevra::test::read_bytes(dir.file("copy.png")).at(0), 0x89);  // PNG signature
}

TEST_F(image_window_test, WindowsCascadeAndTheCanvasCoversOnlyTheImage) {
    image_window* first = open_image(write_argb("a.png", 200, 150));
    image_window* second = open_image(write_argb("b.png", 2000, 1500));
    EXPECT_EQ(first->pos(), QPoint(12, 12));
    EXPECT_EQ(second->pos(), QPoint(24, 24));
    EXPECT_EQ(image_window::start_count, 2);
    // The window is sized to show the whole small image without scroll bars.
    EXPECT_EQ(first->view()->viewport()->size(), QSize(200, 150));
    // Small image: the canvas is exactly the zoomed picture.
    first->image->zoom_scale_level = 3;  // ×0.5
    first->zoom_changed();
    EXPECT_EQ(first->canvas()->size(), QSize(100, 75));
    first->image->zoom_scale_level = 5;  // ×2
    first->zoom_changed();
    EXPECT_EQ(first->canvas()->size(), first->view()->viewport()->size());
    EXPECT_FALSE(first->canvas()->accessibleName().isEmpty());
    // Large image: the canvas is the client area and scrolling moves the view.
    mevra::test::settle();
    const QSize client = second->view()->viewport()->size();
    EXPECT_EQ(second->canvas()->size(), client);
    second->view()->horizontalScrollBar()->setValue(100000);
    EXPECT_EQ(second->scroll_offset().x(), 2000 - client.width());
}

TEST_F(image_window_test, PensCarryBetweenIndexedAndArgbImages) {
    mevra::image_info indexed = mevra::test::make_indexed(
        mevra::IMGTYP_256, 2, 2,
        {0xFF000000u, 0xFF111111u, 0xFF222222u, 0xFF333333u, 0xFF444444u, 0xFF555555u, 0xFF666666u},
        {0, 1, 5, 6});
    const std::string indexed_path = dir.file("i.bmp");
    ASSERT_EQ(indexed.save_to_file(mevra::IMGFMT_BMP, indexed_path), 0);
    image_window* argb = open_image(write_argb("a.png", 4, 4));
    image_window* pal = open_image(indexed_path);
    ASSERT_EQ(image_window::lastActive, pal);
    palette_window* palette = window->palette_panel;
    palette->color1_pos = 5;
    palette->color2_pos = 300;  // outside the palette: pen 2 keeps its colour
    palette->color2_pos_color = 0xFFABCDEFu;
    window->mdi_area()->setActiveSubWindow(argb);
    EXPECT_EQ(image_window::lastActive, argb);
    EXPECT_EQ(palette->color1_pos_color, 0xFF555555u);
    EXPECT_EQ(palette->color2_pos_color, 0xFFABCDEFu);
    window->mdi_area()->setActiveSubWindow(pal);
    EXPECT_EQ(palette->color1_pos, -1);
    EXPECT_EQ(palette->color2_pos, -1);
    EXPECT_EQ(palette->color1_pos_color, 0xFFFFFFFFu);
    EXPECT_EQ(palette->color2_pos_color, 0xFF000000u);
}

}  // namespace
