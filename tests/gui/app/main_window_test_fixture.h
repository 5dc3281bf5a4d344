#pragma once
// A fresh main window per test, shown on the offscreen screen, with the
// settings at their defaults and a scratch folder for image files.
#include <QMdiArea>
#include <memory>

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "settings/clgbase.h"
#include "support/gui_test_support.h"
#include "support/test_support.h"
#include "views/image_window.h"

using mevra::test::find_action;

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mevra::settings().reset_defaults();
        image_window::start_count = 0;
        window = std::make_unique<main_window>();
        window->show();
        mevra::test::settle();
    }
    void TearDown() override {
        // Closing for good: no questions, no windows left behind.
        mevra::test::scripted_ui ui(mevra::msg_answer::no);
        for (QMdiSubWindow* w : window ? window->mdi_area()->subWindowList() : QList<QMdiSubWindow*>())
            if (auto* child = qobject_cast<image_window*>(w)) child->discard();
        window.reset();
        mevra::test::settle();
    }

    // Writes a w × h ARGB test image (colour depends on x and y) in `format`.
    std::string write_argb(const std::string& name, int w, int h, int format = mevra::IMGFMT_PNG) {
        mevra::image_info image = mevra::test::make_argb_by(w, h, [](int x, int y) {
            return 0xFF000000u | static_cast<uint32_t>(x * 40) << 16 |
                   static_cast<uint32_t>(y * 40) << 8 | 0x20u;
        });
        const std::string path = dir.file(name);
        EXPECT_EQ(image.save_to_file(format, path), 0);
        return path;
    }

    // The image windows among the main window's children (the palette and
    // AVI windows are children too).
    int image_window_count() const {
        int n = 0;
        for (QMdiSubWindow* w : window->mdi_area()->subWindowList())
            n += qobject_cast<image_window*>(w) != nullptr;
        return n;
    }

    // Opens a file through the main window and returns the active window.
    image_window* open_image(const std::string& path) {
        window->image_files_open({QString::fromStdString(path)});
        mevra::test::settle();
        return window->active_image();
    }

    mevra::test::temp_dir dir;
    std::unique_ptr<main_window> window;
};
