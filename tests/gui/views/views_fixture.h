#pragma once
// A palette window and one image window in an MDI area, the way the main
// window wires them, for driving the tools with simulated input.
#include <gtest/gtest.h>
#include <QMdiArea>
#include <QTest>
#include <memory>

#include "image/image_info.h"
#include "settings/clgbase.h"
#include "views/image_window.h"
#include "views/palette_window.h"

class ViewsFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        mevra::settings().reset_defaults();
        area = std::make_unique<QMdiArea>();
        area->resize(900, 700);
        palette = new palette_window;
        image_window::tools = palette;
        area->show();
    }

    void TearDown() override {
        for (image_window* child : children)
            delete child;
        image_window::lastActive = nullptr;
        image_window::tools = nullptr;
        delete palette;
        area.reset();
        mevra::settings().reset_defaults();
    }

    // Opens an image window on `image` at zoom 1 and makes it the active one.
    image_window* open(mevra::image_info image) {
        auto* child = new image_window;
        child->image = std::make_unique<mevra::image_info>(std::move(image));
        area->addSubWindow(child);
        child->show();
        area->setActiveSubWindow(child);
        image_window::lastActive = child;
        child->zoom_changed();
        child->undo_add();
        child->edit_change = 0;
        children.push_back(child);
        return child;
    }

    template <class T>
    T* control(const char* name) const {
        T* found = palette->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    std::unique_ptr<QMdiArea> area;
    palette_window* palette = nullptr;
    std::vector<image_window*> children;
};

// An indexed image of `colours` opaque entries (one pixel each, in a row), with
// the palette in pixel order.
inline mevra::image_info indexed_row(int colours) {
    std::vector<uint32_t> pixels;
    for (int i = 0; i < colours; ++i)
        pixels.push_back(0xFF000000u | (0x010203u * (i + 1)));
    mevra::image_info image(colours, 1, pixels.data());
    image.color_num = image.argb_to_color_index();
    image.image_type = colours <= 16 ? mevra::IMGTYP_16 : mevra::IMGTYP_256;
    for (int i = 0; i < colours; ++i) {
        image.index_buff[static_cast<size_t>(i)] = i;
        image.color[static_cast<size_t>(i)] = pixels[static_cast<size_t>(i)];
        image.color_cnt[static_cast<size_t>(i)] = 1;
    }
    return image;
}

inline mevra::image_info argb_fill(int w, int h, uint32_t colour) {
    std::vector<uint32_t> pixels(static_cast<size_t>(w * h), colour);
    return mevra::image_info(w, h, pixels.data());
}
