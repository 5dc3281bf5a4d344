#include <QMdiArea>

#include <gtest/gtest.h>

#include "app/form1.h"

TEST(Form1, IsAnMdiFrameCalledMevra) {
    Form1 window;
    EXPECT_EQ(window.windowTitle(), "MEVRA");
    EXPECT_NE(window.mdi_area(), nullptr);
    EXPECT_TRUE(window.acceptDrops());
}
