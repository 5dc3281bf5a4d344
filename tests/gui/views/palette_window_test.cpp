#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "views/colour_dialog.h"
#include "views/palette_widgets.h"
#include "views_fixture.h"

using namespace mevra;

namespace {

// The centre of palette cell i in palette_grid coordinates.
QPoint cell(int i) {
    return QPoint((i % 16) * 16 + 8, (i / 16) * 16 + 8);
}

}  // namespace

using PaletteWindow = ViewsFixture;

TEST_F(PaletteWindow, WindowControlsAndTexts) {
    EXPECT_EQ(palette->windowTitle(), "palette");
    EXPECT_EQ(palette->size(), QSize(257, 503));
    EXPECT_EQ(control<QToolButton>("picker_tool")->toolTip(),
              "Spuit [Left Click pen1 color] [Right Click pen2 color]");
    EXPECT_TRUE(control<QToolButton>("picker_tool")->isChecked());
    EXPECT_EQ(control<QToolButton>("draw_sub_button")->toolTip(), "減算合成표시");
    EXPECT_EQ(control<QComboBox>("pen2_mode_combo")->itemText(2), "アルファペン(A)");
    EXPECT_EQ(control<QLabel>("cursor_colour_label")->toolTip(), "R:赤 G:緑 B:青 #(16進表記)");
    EXPECT_EQ(palette->palette_type, PLTTYP_SPUIT);

    open(argb_fill(40, 30, 0xFF000000u));
    EXPECT_EQ(control<QLabel>("size_label")->text(), "Size W: 40 H:30");
    EXPECT_EQ(control<QLabel>("image_mode_label")->text(), "ImageMode : RGB color");
    EXPECT_EQ(control<QLabel>("pixel_count_label")->text(), "PixNum: ??");
    open(indexed_row(16));
    EXPECT_EQ(control<QLabel>("image_mode_label")->text(), "ImageMode :  16 color");
    EXPECT_EQ(control<QLabel>("colour_count_label")->text(), "Color : 16");
    palette->set_mouse_position(12, -3);
    EXPECT_EQ(control<QLabel>("pointer_x_label")->text(), "X : 12");
    EXPECT_EQ(control<QLabel>("pointer_y_label")->text(), "Y : -3");
}

TEST_F(PaletteWindow, PenButtonPressedAgainDropsTheTool) {
    auto* pen1 = control<QToolButton>("pen1_tool");
    QTest::mouseClick(pen1, Qt::LeftButton);
    EXPECT_TRUE(pen1->isChecked());
    EXPECT_FALSE(control<QToolButton>("picker_tool")->isChecked());
    EXPECT_EQ(palette->palette_type, PLTTYP_PEN1);
    QTest::mouseClick(pen1, Qt::LeftButton);
    EXPECT_FALSE(pen1->isChecked());
    EXPECT_EQ(palette->palette_type, PLTTYP_NONE);
    QTest::mouseClick(pen1, Qt::LeftButton);
    EXPECT_TRUE(pen1->isChecked());
    EXPECT_EQ(palette->palette_type, PLTTYP_PEN1);
    // Pressed without the mouse (assistive technology) it acts the same.
    control<QToolButton>("pen2_tool")->click();
    EXPECT_EQ(palette->palette_type, PLTTYP_PEN2);
    EXPECT_FALSE(pen1->isChecked());
    // The eyedropper pressed again stays selected.
    auto* spuit = control<QToolButton>("picker_tool");
    QTest::mouseClick(spuit, Qt::LeftButton);
    QTest::mouseClick(spuit, Qt::LeftButton);
    EXPECT_TRUE(spuit->isChecked());
    EXPECT_EQ(palette->palette_type, PLTTYP_SPUIT);
}

TEST_F(PaletteWindow, ZoomButtonsStepTheActiveImageOrRepaintThePlayer) {
    int avi_repaints = 0;
    bool playing = false;
    palette->repaint_avi = [&] { ++avi_repaints; };
    palette->avi_playing = [&] { return playing; };
    auto* zoom_in = control<QToolButton>("zoom_in_tool");
    settings().zoom_level = 11;
    QTest::mouseClick(zoom_in, Qt::LeftButton);
    QTest::mouseClick(zoom_in, Qt::LeftButton);  // stays selected, zooms again: the last level
    EXPECT_EQ(settings().zoom_level, 12);
    EXPECT_EQ(avi_repaints, 2);
    playing = true;
    QTest::mouseClick(zoom_in, Qt::LeftButton);
    EXPECT_EQ(avi_repaints, 2);

    image_window* child = open(argb_fill(8, 8, 0xFF000000u));
    child->image->zoom_scale_level = 4;
    QTest::mouseClick(zoom_in, Qt::LeftButton);
    EXPECT_EQ(settings().zoom_level, 12);
    EXPECT_EQ(child->image->zoom_scale_level, 12);  // the window still takes the level
    EXPECT_EQ(control<QLabel>("zoom_label")->text(), "Zoom : x16");
    QTest::mouseClick(control<QToolButton>("zoom_out_tool"), Qt::LeftButton);
    EXPECT_EQ(child->image->zoom_scale_level, 11);
    EXPECT_EQ(control<QLabel>("zoom_label")->text(), "Zoom : x12");

    QTest::mouseClick(control<QToolButton>("draw_alpha_only_button"), Qt::LeftButton);
    EXPECT_EQ(settings().draw_type, 2);
    EXPECT_EQ(child->image->draw_type, 2);
}

TEST_F(PaletteWindow, DraggingOneCellOntoAnotherExchangesTheEntries) {
    image_info image = indexed_row(16);
    image.index_buff = {3, 10, 3, 0, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    image.set_color_cnt();
    const uint32_t c3 = image.color[3], c10 = image.color[10];
    image_window* child = open(std::move(image));
    auto* grid = control<paint_surface>("palette_grid");

    QTest::mousePress(grid, Qt::LeftButton, {}, cell(3));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cell(10));
    const image_info& now = *child->image;
    EXPECT_EQ(now.color[3], c10);
    EXPECT_EQ(now.color[10], c3);
    EXPECT_EQ(now.color_cnt[3], 2);  // entry 10 had two pixels
    EXPECT_EQ(now.color_cnt[10], 2);
    EXPECT_EQ(now.index_buff[0], 10);
    EXPECT_EQ(now.index_buff[1], 3);
    EXPECT_EQ(now.index_buff[10], 3);
    EXPECT_EQ(palette->color1_pos, 10);
    EXPECT_EQ(child->undo_list.size(), 2u);
    EXPECT_EQ(control<QLabel>("pixel_count_label")->text(), "PixNum: 2");

    QTest::mousePress(grid, Qt::LeftButton, {}, cell(3));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cell(20));
    EXPECT_EQ(palette->color1_pos, 20);
    EXPECT_EQ(child->image->color[3], c10);
    EXPECT_EQ(child->undo_list.size(), 2u);

    QTest::mousePress(grid, Qt::RightButton, {}, cell(7));
    QTest::mouseRelease(grid, Qt::RightButton, {}, cell(7));
    EXPECT_EQ(palette->color2_pos, 7);
    EXPECT_EQ(child->undo_list.size(), 2u);
}

TEST_F(PaletteWindow, PenValuesInDecimalOrHexadecimal) {
    image_info image = indexed_row(4);
    image.color[2] = 0xFFFFFFFFu;
    open(std::move(image));
    palette->color1_pos = 2;
    palette->info_update();
    const char* names[4] = {"alpha_value_label", "red_value_label", "green_value_label",
                            "blue_value_label"};
    for (const char* name : names)
        EXPECT_EQ(control<QLabel>(name)->text(), "255");
    settings().argb_unit = 1;
    palette->info_update();
    for (const char* name : names)
        EXPECT_EQ(control<QLabel>(name)->text(), "ff");
    palette->color1_pos = 9;  // beyond the palette: values read zero
    palette->info_update();
    EXPECT_EQ(control<QLabel>("alpha_value_label")->text(), "0");
}

TEST_F(PaletteWindow, ColourEditorRecordsUndoOnlyForARealChangeAndRestoresOnCancel) {
    image_info image = indexed_row(16);
    const uint32_t original = image.color[5];
    image_window* child = open(std::move(image));
    auto* grid = control<paint_surface>("palette_grid");
    colour_dialog* dialog = palette->colour_editor;
    QTest::mouseClick(grid, Qt::LeftButton, {}, cell(5));
    ASSERT_EQ(palette->color1_pos, 5);

    // Confirmed without a change: nothing recorded.
    QTimer::singleShot(0, dialog, [&] { QTest::keyClick(dialog, Qt::Key_Return); });
    QTest::mouseDClick(grid, Qt::LeftButton, {}, cell(5));
    EXPECT_EQ(child->undo_list.size(), 1u);
    EXPECT_EQ(child->edit_change, 0);

    // A bar drag previews into the palette; Cancel puts the entry back.
    uint32_t during = 0;
    QTimer::singleShot(0, dialog, [&] {
        paint_surface* red = dialog->bar(colour_dialog::RED);
        QTest::mousePress(red, Qt::LeftButton, {}, QPoint(100, 9));
        QTest::mouseMove(red, QPoint(60, 9));
        QTest::mouseRelease(red, Qt::LeftButton, {}, QPoint(60, 9));
        during = child->image->color[5];
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QTest::mouseDClick(grid, Qt::LeftButton, {}, cell(5));
    EXPECT_EQ(during, original & 0xFF00FFFFu);  // red dragged below zero
    EXPECT_EQ(child->image->color[5], original);
    EXPECT_EQ(child->undo_list.size(), 1u);

    // A real change stays and is recorded once.
    QTimer::singleShot(0, dialog, [&] {
        QTest::mouseClick(dialog->findChild<QPushButton*>("alpha_minus_button"),
                          Qt::LeftButton);  // alpha <
        QTest::mouseClick(dialog->findChild<QPushButton*>("ok_button"), Qt::LeftButton);
    });
    QTest::mouseDClick(grid, Qt::LeftButton, {}, cell(5));
    EXPECT_EQ(child->image->color[5], original - 0x01000000u);
    EXPECT_EQ(child->undo_list.size(), 2u);
    EXPECT_EQ(child->edit_change, 1);
}

TEST_F(PaletteWindow, ArgbPenColoursAreEditedAndExchanged) {
    open(argb_fill(4, 4, 0xFF000000u));
    palette->color1_pos_color = 0xFF102030u;
    palette->color2_pos_color = 0x80405060u;
    colour_dialog* dialog = palette->colour_editor;
    QTimer::singleShot(0, dialog, [&] {
        QTest::mouseClick(dialog->findChild<QPushButton*>("blue_plus_button"),
                          Qt::LeftButton);  // blue >
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    QTest::mouseDClick(control<QLabel>("pen2_swatch"), Qt::LeftButton);
    EXPECT_EQ(palette->color2_pos_color, 0x80405061u);
    EXPECT_EQ(palette->color1_pos_color, 0xFF102030u);

    QTest::mouseClick(control<QLabel>("exchange_pens_label"), Qt::LeftButton);
    EXPECT_EQ(palette->color1_pos_color, 0x80405061u);
    EXPECT_EQ(control<QLabel>("alpha_value_label")->text(), "128");
}

TEST_F(PaletteWindow, PensCarryTheirColoursBetweenIndexedAndArgbImages) {
    image_info indexed = indexed_row(8);
    const image_info argb = argb_fill(2, 2, 0xFF000000u);
    palette->color1_pos = 5;
    palette->color2_pos = 40;
    palette->color2_pos_color = 0x12345678u;
    palette->carry_pens(&indexed, argb);
    EXPECT_EQ(palette->color1_pos_color, indexed.color[5]);
    EXPECT_EQ(palette->color2_pos_color, 0x12345678u);  // no entry 40: unchanged
    palette->carry_pens(nullptr, indexed);
    EXPECT_EQ(palette->color1_pos, 5);
    palette->carry_pens(&argb, indexed);
    EXPECT_EQ(palette->color1_pos, -1);
    EXPECT_EQ(palette->color2_pos, -1);
    EXPECT_EQ(palette->color1_pos_color, 0xFFFFFFFFu);
    EXPECT_EQ(palette->color2_pos_color, 0xFF000000u);
}

TEST_F(PaletteWindow, CursorViewShowsTheCanvasPixelsWhereTheScreenCannotBeRead) {
    if (QGuiApplication::platformName() != "offscreen") GTEST_SKIP();
    image_window* child = open(argb_fill(8, 8, 0xFF336699u));
    child->image->zoom_scale_level = 12;
    child->zoom_changed();
    QWidget* canvas = child->findChild<QWidget*>("image_canvas");
    QCursor::setPos(canvas->mapToGlobal(QPoint(40, 40)));
    palette->cursor_view_tick();
    EXPECT_EQ(control<QLabel>("cursor_colour_label")->text(), "R: 51 G:102 B:153 #33 66 99");
    QCursor::setPos(QPoint(5000, 5000));  // over nothing of ours: black
    palette->cursor_view_tick();
    EXPECT_EQ(control<QLabel>("cursor_colour_label")->text(), "R:  0 G:  0 B:  0 #00 00 00");
}
