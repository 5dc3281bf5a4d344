#include <gtest/gtest.h>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "views/colour_dialog.h"
#include "views/palette_widgets.h"

namespace {

struct applied {
    int calls = 0;
    int pos = 0;
    uint32_t argb = 0;
};

// Runs `action` once the dialog is showing, then lets exec() return.
int exec_with(colour_dialog& dialog, std::function<void()> action) {
    QTimer::singleShot(0, &dialog, action);
    return dialog.exec();
}

}  // namespace

TEST(colour_dialog, StepsStopAtTheEnds) {
    colour_dialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Color");
    EXPECT_EQ(dialog.size(), QSize(313, 132));
    int previews = 0;
    dialog.apply_hook = [&](int, uint32_t) { ++previews; };
    dialog.set_color(0xFEFF0001u);
    auto* red_up = dialog.findChild<QPushButton*>("red_plus_button");
    auto* blue_down = dialog.findChild<QPushButton*>("blue_minus_button");
    ASSERT_TRUE(red_up && blue_down);
    QTest::mouseClick(red_up, Qt::LeftButton);
    QTest::mouseClick(blue_down, Qt::LeftButton);
    QTest::mouseClick(blue_down, Qt::LeftButton);
    EXPECT_EQ(dialog.shown_color(), 0xFEFF0000u);
    EXPECT_EQ(previews, 3);  // every step previews, also one that changes nothing
}

TEST(colour_dialog, BarDragMovesOneStepPerPixelAndAppliesOnRelease) {
    colour_dialog dialog;
    applied seen;
    dialog.apply_hook = [&](int pos, uint32_t argb) { seen = {seen.calls + 1, pos, argb}; };
    dialog.set_color(0x80102030u);
    dialog.show();
    paint_surface* green = dialog.bar(colour_dialog::GREEN);
    QTest::mousePress(green, Qt::LeftButton, {}, QPoint(200, 9));
    QTest::mouseMove(green, QPoint(230, 9));
    QTest::mouseMove(green, QPoint(220, 2));
    EXPECT_EQ(dialog.color_g, 0x20 + 20);
    EXPECT_EQ(seen.calls, 0);  // no preview while dragging
    QTest::mouseMove(green, QPoint(0, 9));
    EXPECT_EQ(dialog.color_g, 0);  // clamped
    QTest::mouseRelease(green, Qt::LeftButton, {}, QPoint(0, 9));
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.argb, 0x80100030u);
    EXPECT_EQ(dialog.mouse_down_x, -1000);
}

TEST(colour_dialog, EnterConfirmsAndEscapeCancelsWhateverHasTheFocus) {
    colour_dialog dialog;
    dialog.set_color(0xFF000000u);
    auto* cancel = dialog.findChild<QPushButton*>("cancel_button");
    EXPECT_EQ(exec_with(dialog,
                        [&] {
                            cancel->setFocus();
                            QTest::keyClick(&dialog, Qt::Key_Return);
                        }),
              QDialog::Accepted);
    EXPECT_EQ(exec_with(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); }),
              QDialog::Rejected);
    EXPECT_EQ(exec_with(dialog, [&] { QTest::mouseClick(cancel, Qt::LeftButton); }),
              QDialog::Rejected);
}
