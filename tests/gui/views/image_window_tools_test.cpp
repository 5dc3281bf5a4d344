#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>

#include "views/image_canvas.h"
#include "views_fixture.h"

using namespace mevra;

namespace {

QWidget* canvas_of(image_window* child) {
    return child->findChild<QWidget*>("image_canvas");
}

// QTest turns the point (0, 0) into the widget's centre, so the corner is sent by hand.
void send(QWidget* canvas, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
          QPoint at) {
    QMouseEvent event(type, QPointF(at), canvas->mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(canvas, &event);
}

}  // namespace

using ImageWindowTools = ViewsFixture;

TEST_F(ImageWindowTools, PenStrokeDrawsDabRowsAndRecordsOneStateOnRelease) {
    image_window* child = open(argb_fill(20, 10, 0xFF000000u));
    palette->palette_type = PLTTYP_PEN1;
    palette->color1_pos_color = 0xFFFFFFFFu;
    QWidget* canvas = canvas_of(child);
    ASSERT_NE(canvas, nullptr);

    send(canvas, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(0, 0));
    EXPECT_EQ(child->pen_sw, 0);
    send(canvas, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, QPoint(10, 3));
    send(canvas, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPoint(10, 3));
    const auto& px = child->image->argb_buff;
    int painted = 0;
    for (uint32_t p : px)
        painted += p == 0xFFFFFFFFu;
    EXPECT_EQ(painted, 11);
    for (int i = 0; i <= 10; ++i) {
        const int row = static_cast<int>(static_cast<float>(i) * 0.3f + 0.5f);
        EXPECT_EQ(px[static_cast<size_t>(row * 20 + i)], 0xFFFFFFFFu) << i;
    }
    EXPECT_EQ(child->pen_sw, -1);
    EXPECT_EQ(child->undo_list.size(), 2u);
    EXPECT_EQ(child->edit_change, 1);

    // Pen 1 with the right button paints with pen 2 and its width.
    palette->color2_pos_color = 0xFF00FF00u;
    palette->findChild<QComboBox*>("pen2_width_combo")->setCurrentIndex(1);
    QTest::mousePress(canvas, Qt::RightButton, {}, QPoint(15, 5));
    QTest::mouseRelease(canvas, Qt::RightButton, {}, QPoint(15, 5));
    EXPECT_EQ(px[4 * 20 + 14], 0xFF00FF00u);
    EXPECT_EQ(px[6 * 20 + 16], 0xFF00FF00u);
    EXPECT_EQ(px[7 * 20 + 16], 0xFF000000u);

    // With pen 1, a move holding both buttons ends the stroke.
    send(canvas, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(0, 9));
    send(canvas, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton | Qt::RightButton, QPoint(5, 9));
    EXPECT_EQ(child->pen_sw, -1);
    EXPECT_EQ(px[9 * 20 + 5], 0xFF000000u);
    send(canvas, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPoint(5, 9));
}

TEST_F(ImageWindowTools, InvalidPenDrawsNothingButTheReleaseStillRecords) {
    image_window* child = open(indexed_row(4));
    palette->palette_type = PLTTYP_PEN2;
    palette->color2_pos = -1;
    QWidget* canvas = canvas_of(child);
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(1, 0));
    EXPECT_EQ(child->pen_sw, -1);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(1, 0));
    EXPECT_EQ(child->image->index_buff, (std::vector<int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(child->undo_list.size(), 2u);

    palette->color2_pos = 3;
    send(canvas, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(0, 0));
    send(canvas, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPoint(0, 0));
    EXPECT_EQ(child->image->index_buff[0], 3);
    EXPECT_EQ(child->image->color_cnt[3], 2);  // recounted on release
    EXPECT_EQ(child->image->color_cnt[0], 0);
}

TEST_F(ImageWindowTools, EyedropperPicksTheLowestIndexAndReportsPosition) {
    image_info image = indexed_row(8);
    image.color[7] = image.color[3];  // the same colour twice
    image_window* child = open(std::move(image));
    child->image->zoom_scale_level = 7;  // x4
    child->zoom_changed();
    QWidget* canvas = canvas_of(child);
    QTest::mouseClick(canvas, Qt::RightButton, {}, QPoint(7 * 4 + 2, 1));
    EXPECT_EQ(palette->color2_pos, 3);
    EXPECT_EQ(palette->color1_pos, -1);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(5 * 4, 3));
    EXPECT_EQ(palette->color1_pos, 5);
    EXPECT_EQ(child->pen_sw, -1);

    send(canvas, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(9, 2));
    EXPECT_EQ(palette->findChild<QLabel*>("pointer_x_label")->text(), "X : 2");
    EXPECT_EQ(palette->findChild<QLabel*>("pointer_y_label")->text(), "Y : 0");

    image_window* argb = open(argb_fill(3, 3, 0x80102030u));
    argb->image->argb_buff[4] = 0x11223344u;
    QTest::mouseClick(canvas_of(argb), Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(palette->color1_pos, 4);
    EXPECT_EQ(palette->color1_pos_color, 0x11223344u);
}
