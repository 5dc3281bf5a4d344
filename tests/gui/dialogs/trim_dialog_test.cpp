// The trim/resize dialog: enable rules, linked size boxes, preview, OK checks,
// and the same output as the command line for the same choices.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "batch/batch_operation.h"
#include "dialog_test_util.h"
#include "dialogs/trim_dialog.h"
#include "support/test_support.h"

namespace {

using mevra::settings;

struct trim_setup : fresh_settings {
    trim_dialog dlg;
    std::pair<int, int> image{600, 400};
    trim_setup() {
        dlg.active_image_size = [this] { return image; };
    }
    QLineEdit* box(const char* name) { return child<QLineEdit>(&dlg, name); }
    QComboBox* list(const char* name) { return child<QComboBox>(&dlg, name); }
    QCheckBox* check(const char* name) { return child<QCheckBox>(&dlg, name); }
    QString label(const char* name) { return child<QLabel>(&dlg, name)->text(); }
    void tab(int index) { child<QTabWidget>(&dlg, "tabs")->setCurrentIndex(index); }
};

TEST(trim_dialog, OperationDecidesWhatIsEnabled) {
    trim_setup t;
    t.list("operation_combo")->setCurrentIndex(0);
    EXPECT_TRUE(t.list("horizontal_align_combo")->isEnabled());
    EXPECT_FALSE(t.check("keep_aspect_check")->isEnabled());
    EXPECT_FALSE(t.check("resize_to_size_check")->isEnabled());
    EXPECT_FALSE(child<QRadioButton>(&t.dlg, "fit_inside_radio")->isEnabled());

    t.list("operation_combo")->setCurrentIndex(1);
    EXPECT_FALSE(t.list("vertical_align_combo")->isEnabled());
    EXPECT_TRUE(t.check("resize_to_size_check")->isEnabled());
    EXPECT_FALSE(child<QRadioButton>(&t.dlg, "cover_radio")->isEnabled());
    t.check("resize_to_size_check")->setChecked(true);
    EXPECT_TRUE(child<QRadioButton>(&t.dlg, "cover_radio")->isEnabled());
    t.check("keep_aspect_check")->setChecked(false);
    EXPECT_FALSE(t.check("resize_to_size_check")->isEnabled());
    EXPECT_FALSE(child<QRadioButton>(&t.dlg, "cover_radio")->isEnabled());
}

TEST(trim_dialog, SizeBoxesFollowEachOtherWhenScalingWithFixedAspect) {
    trim_setup t;
    t.list("operation_combo")->setCurrentIndex(1);
    t.list("unit_combo")->setCurrentIndex(0);  // dot
    t.box("width_edit")->setText("300");
    EXPECT_EQ(t.box("height_edit")->text(), "200");
    EXPECT_EQ(t.dlg.text_change_time, 0);  // the rewrite's own change used the flag up
    t.box("height_edit")->setText("100");
    EXPECT_EQ(t.box("width_edit")->text(), "150");
    t.box("width_edit")->setText("1");
    EXPECT_EQ(t.box("height_edit")->text(), "1");  // 0 is raised to 1

    // A rewrite that changes nothing must not leave the flag to swallow the next edit.
    t.box("width_edit")->setText("601");
    t.box("width_edit")->setText("600");
    EXPECT_EQ(t.dlg.text_change_time, 0);
    t.box("width_edit")->setText("60");
    EXPECT_EQ(t.box("height_edit")->text(), "40");

    // The flag set: the next change is ignored once.
    t.dlg.text_change_time = 1;
    t.box("width_edit")->setText("30");
    EXPECT_EQ(t.box("height_edit")->text(), "40");
    EXPECT_EQ(t.dlg.text_change_time, 0);

    t.list("unit_combo")->setCurrentIndex(1);  // % : the unit change links from the width
    EXPECT_EQ(t.box("height_edit")->text(), "30");
    t.box("height_edit")->setText("75");
    EXPECT_EQ(t.box("width_edit")->text(), "75");

    t.list("operation_combo")->setCurrentIndex(0);  // change size: no link
    t.box("width_edit")->setText("20");
    EXPECT_EQ(t.box("height_edit")->text(), "75");
}

TEST(trim_dialog, PreviewShowsTheSelectedTabsResult) {
    trim_setup t;
    t.image = {101, 30};
    t.dlg.show();
    EXPECT_EQ(t.label("old_width_label"), "101");
    t.box("width_edit")->setText("33");  // percent
    EXPECT_EQ(t.label("new_width_label"), "34");
    t.box("height_edit")->setText("x");
    EXPECT_EQ(t.label("new_height_label"), "???");
    t.tab(3);
    t.list("power_combo")->setCurrentIndex(1);
    EXPECT_EQ(t.label("new_width_label"), "128");
    EXPECT_EQ(t.label("new_height_label"), "128");
    t.tab(1);
    t.box("margin_left_edit")->setText("-1");
    EXPECT_EQ(t.label("new_width_label"), "100");
    t.dlg.hide();

    t.image = {0, 0};
    t.dlg.show();
    EXPECT_EQ(t.label("old_width_label"), "0");
    EXPECT_EQ(t.label("new_width_label"), "Width");
    t.dlg.hide();
}

TEST(trim_dialog, OkRefusesBadNumbersAndKeepsTheDialogOpen) {
    trim_setup t;
    mevra::test::recording_ui ui;
    settings().trim_or_scaling = 7;
    const int result = run_modal(
        t.dlg, [&] { return t.dlg.open_dialog(1); },
        [&] {
            t.box("width_edit")->setText("1001");
            press_ok(t.dlg);
            t.tab(1);
            t.box("margin_bottom_edit")->setText("");
            press_ok(t.dlg);
            t.tab(3);
            t.box("power_percent_edit")->setText("0");
            press_ok(t.dlg);
            EXPECT_TRUE(t.dlg.isVisible());
            t.dlg.reject();
        });
    EXPECT_EQ(result, QDialog::Rejected);
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].text, "幅 高さには1 - 1000の数字を入力してください");
    EXPECT_EQ(ui.messages[1].caption, "余白");
    EXPECT_EQ(ui.messages[2].text, "パーセントには1 - 1000の数字を入力してください");
    EXPECT_EQ(settings().trim_or_scaling, 7);
}

// --- the dialog and the command line agree ---

std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

int run_cli(const std::string& args) {
    const char* cli = std::getenv("MEVRA_CLI");
    if (!cli) return -1;
    const int raw = std::system((quote(cli) + " " + args + " >/dev/null 2>&1").c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

struct equivalence : trim_setup {
    mevra::test::temp_dir dir;
    std::string source = dir.file("src.png");
    equivalence() {
        auto img = mevra::test::make_photo_like(40, 20, 3);
        std::string error;
        EXPECT_EQ(img.file_save_png(source, error), 0) << error;
        settings().back_color = 0xFF102030;
        image = {40, 20};
    }
    // Accepts the dialog after `choose`, applies its settings to the source
    // and compares with what the command line makes of `cli_options`.
    void expect_same(int mode, const std::function<void()>& choose, const std::string& options) {
        ASSERT_EQ(run_modal(
                      dlg, [&] { return dlg.open_dialog(mode); },
                      [&] {
                          choose();
                          press_ok(dlg);
                      }),
                  QDialog::Accepted);
        mevra::image_info mine(source);
        const int op = settings().trim_or_scaling ? mevra::batch_scale : mevra::batch_resize;
        ASSERT_EQ(mevra::run_batch_operation(mine, op), 0);
        const std::string out = dir.file("out");
        std::filesystem::create_directories(out);
        ASSERT_EQ(run_cli("convert --back-color FF102030 --out-dir " + quote(out) + " " + options +
                          " " + quote(source)),
                  0)
            << options;
        mevra::image_info theirs(out + "/src.png");
        EXPECT_EQ(theirs.width, mine.width) << options;
        EXPECT_EQ(theirs.height, mine.height) << options;
        EXPECT_EQ(mevra::test::argb_pixels(theirs), mevra::test::argb_pixels(mine)) << options;
    }
};

TEST(TrimDialogMatchesCli, SizeWithCover) {
    equivalence e;
    e.expect_same(
        1,
        [&] {
            e.list("unit_combo")->setCurrentIndex(0);
            e.check("resize_to_size_check")->setChecked(true);
            child<QRadioButton>(&e.dlg, "cover_radio")->setChecked(true);
            e.box("width_edit")->setText("100");
            e.box("height_edit")->setText("100");
        },
        "--op scale --size 100x100 --cover");
}

TEST(TrimDialogMatchesCli, Margins) {
    equivalence e;
    e.expect_same(
        0,
        [&] {
            e.tab(1);
            e.box("margin_top_edit")->setText("-2");
            e.box("margin_left_edit")->setText("3");
            e.box("margin_right_edit")->setText("3");
        },
        "--op resize --margins -2,0,3,3");
}

TEST(TrimDialogMatchesCli, CutToMultiple) {
    equivalence e;
    e.expect_same(
        0,
        [&] {
            e.tab(2);
            e.list("multiple_combo")->setCurrentIndex(7);
        },
        "--op resize --multiple cut16");
}

TEST(TrimDialogMatchesCli, SquarePowerOfTwo) {
    equivalence e;
    e.expect_same(
        1,
        [&] {
            e.tab(3);
            e.list("power_combo")->setCurrentIndex(1);
            e.box("power_percent_edit")->setText("50");
        },
        "--op scale --pow2 square --pow2-percent 50");
}

}  // namespace
