// The colour-reduction options, the environment options and the about box,
// driven through their real controls.
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

#include "dialog_test_util.h"
#include "dialogs/about_dialog.h"
#include "dialogs/colour_swatch.h"
#include "dialogs/environment_options_dialog.h"
#include "dialogs/reduction_options_dialog.h"
#include "dialogs/trim_dialog.h"
#include "support/test_support.h"

namespace {

using mevra::settings;

TEST(DialogLook, ToolFramesWithoutBoxesOnDarkGrey) {
    reduction_options_dialog a;
    environment_options_dialog b;
    about_dialog c;
    trim_dialog d;
    for (QDialog* dlg : std::initializer_list<QDialog*>{&a, &b, &c, &d}) {
        const Qt::WindowFlags f = dlg->windowFlags();
        EXPECT_EQ(f & Qt::WindowType_Mask, Qt::Tool) << dlg->objectName().toStdString();
        EXPECT_FALSE(f & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint));
        EXPECT_EQ(dlg->palette().color(QPalette::Window), QColor(68, 68, 68));
        EXPECT_EQ(dlg->palette().color(QPalette::WindowText), QColor(Qt::white));
        EXPECT_EQ(child<QPushButton>(dlg, "ok_button")->text(), "OK");
        EXPECT_TRUE(child<QPushButton>(dlg, "ok_button")->isDefault());
    }
    EXPECT_EQ(a.windowTitle(), QString::fromUtf8("감색 옵션  "));
    EXPECT_EQ(child<QComboBox>(&a, "priority_combo")->toolTipDuration(), 20000);
    EXPECT_EQ(child<QComboBox>(&a, "priority_combo")
                  ->style()
                  ->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, nullptr),
              500);
}

TEST(reduction_options_dialog, OkWritesTheControlsAndCancelLeavesTheSettings) {
    fresh_settings fresh;
    reduction_options_dialog dlg;
    auto* count = child<QSpinBox>(&dlg, "colours_spin");
    int accepted_calls = 0;
    dlg.on_accepted = [&] { ++accepted_calls; };
    settings().target_color = 16;
    settings().dither_type = 1;

    // Cancel after typing: nothing changes, and the next opening shows the settings.
    int result = run_modal(
        dlg, [&] { return dlg.open_dialog(); },
        [&] {
            EXPECT_EQ(count->value(), 16);
            EXPECT_EQ(child<QComboBox>(&dlg, "dither_combo")->currentIndex(), 1);
            count->setValue(99);
            dlg.reject();
        });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(settings().target_color, 16);
    EXPECT_EQ(accepted_calls, 0);

    dlg.move(123, 77);
    result = run_modal(
        dlg, [&] { return dlg.open_dialog(); },
        [&] {
            EXPECT_EQ(count->value(), 16);
            EXPECT_EQ(dlg.pos(), QPoint(123, 77));
            count->setValue(300);  // held at 256 by the box
            child<QComboBox>(&dlg, "priority_combo")->setCurrentIndex(3);
            child<QComboBox>(&dlg, "dither_combo")->setCurrentIndex(0);
            child<QSpinBox>(&dlg, "dither_level_spin")->setValue(10);
            child<QCheckBox>(&dlg, "key_colour_out_check")->setChecked(true);
            press_ok(dlg);
        });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(settings().target_color, 256);
    EXPECT_EQ(settings().conv_mode, 3);
    EXPECT_EQ(settings().dither_type, 0);
    EXPECT_EQ(settings().dither_level, 10);
    EXPECT_EQ(settings().transparency_mode, 1);
    EXPECT_EQ(accepted_calls, 1);
    EXPECT_EQ(dlg.pos(), QPoint(123, 77));
}

TEST(reduction_options_dialog, EnterIsOkAndEscapeIsCancel) {
    fresh_settings fresh;
    reduction_options_dialog dlg;
    auto* count = child<QSpinBox>(&dlg, "colours_spin");
    auto type_and_press = [&](int value, Qt::Key key) {
        return run_modal(
            dlg, [&] { return dlg.open_dialog(); },
            [&] {
                count->setValue(value);
                QTest::keyClick(count, key);
            });
    };
    EXPECT_EQ(type_and_press(40, Qt::Key_Escape), QDialog::Rejected);
    EXPECT_EQ(settings().target_color, 256);
    EXPECT_EQ(type_and_press(40, Qt::Key_Return), QDialog::Accepted);
    EXPECT_EQ(settings().target_color, 40);
}

TEST(reduction_options_dialog, RefinementPassesRoundTripAndAreNamed) {
    fresh_settings fresh;
    settings().refine_passes = 6;
    reduction_options_dialog dlg;
    auto* passes = child<QSpinBox>(&dlg, "refine_passes_spin");
    EXPECT_EQ(passes->accessibleName(), QString::fromUtf8("팔레트 보정 횟수 [ 0 - 16 ]"));
    run_modal(
        dlg, [&] { return dlg.open_dialog(); },
        [&] {
            EXPECT_EQ(passes->value(), 6);
            passes->setValue(40);  // held at 16 by the box
            press_ok(dlg);
        });
    EXPECT_EQ(settings().refine_passes, 16);
}

TEST(environment_options_dialog, ComponentBoxesRewriteThemselvesAndRepaintOnlyTheirSwatch) {
    fresh_settings fresh;
    environment_options_dialog dlg;
    dlg.read_env_option();
    auto* red = child<QLineEdit>(&dlg, "key_red_edit");
    auto* key = child<colour_swatch>(&dlg, "key_colour_swatch");
    auto* back = child<colour_swatch>(&dlg, "back_colour_swatch");
    EXPECT_EQ(key->argb(), 0xFF00FF00u);
    const int back_changes = back->changes();

    const std::pair<const char*, const char*> cases[] = {
        {"300", "255"},       {"abc", "0"},  {"", "0"},   {"-5", "0"},
        {"99999999999", "0"}, {" 12", "12"}, {"+5", "5"}, {"007", "7"}};
    for (const auto& [typed, shown] : cases) {
        red->setText(typed);
        EXPECT_EQ(red->text().toStdString(), shown) << typed;
    }
    EXPECT_EQ(key->argb(), 0xFF07FF00u);
    EXPECT_EQ(back->changes(), back_changes);

    child<QLineEdit>(&dlg, "back_blue_edit")->setText("128");  // back colour, blue
    EXPECT_EQ(back->argb(), 0xFF000080u);
}

TEST(environment_options_dialog, SampleNameFollowsTheThreeLists) {
    environment_options_dialog dlg;
    child<QComboBox>(&dlg, "frame_joiner_combo")->setCurrentIndex(2);
    child<QComboBox>(&dlg, "frame_digits_combo")->setCurrentIndex(4);
    child<QComboBox>(&dlg, "frame_extension_combo")->setCurrentIndex(6);
    EXPECT_EQ(child<QLabel>(&dlg, "sample_name_label")->text(),
              QString::fromUtf8("ファイル名 例 movie-00000001.dds"));
    child<QComboBox>(&dlg, "frame_joiner_combo")->setCurrentIndex(1);
    child<QComboBox>(&dlg, "frame_digits_combo")->setCurrentIndex(0);
    child<QComboBox>(&dlg, "frame_extension_combo")->setCurrentIndex(0);
    EXPECT_EQ(child<QLabel>(&dlg, "sample_name_label")->text(),
              QString::fromUtf8("ファイル名 例 movie_0001.bmp"));
}

TEST(environment_options_dialog, CancelWritesNothingAndOkKeepsAlphaZero) {
    fresh_settings fresh;
    settings().nuki_color = 0x0000FF00;  // transparent green
    settings().grid_type = 6;
    environment_options_dialog dlg;
    auto change_everything = [&] {
        EXPECT_EQ(child<QComboBox>(&dlg, "grid_width_combo")->currentText(),
                  QString::fromUtf8("１２ドットＸ　４８ドット"));
        child<QComboBox>(&dlg, "grid_width_combo")->setCurrentIndex(9);
        child<QSpinBox>(&dlg, "jpeg_quality_spin")->setValue(55);
        child<QComboBox>(&dlg, "dds_format_combo")->setCurrentIndex(4);
        child<QCheckBox>(&dlg, "alpha_zero_transparent_check")->setChecked(true);
        child<QCheckBox>(&dlg, "dds_mipmaps_check")->setChecked(true);
        child<QLineEdit>(&dlg, "back_alpha_edit")->setText("16");  // back colour alpha
        child<QComboBox>(&dlg, "frame_extension_combo")->setCurrentIndex(3);
    };
    EXPECT_EQ(run_modal(
                  dlg, [&] { return dlg.open_dialog(); },
                  [&] {
                      change_everything();
                      dlg.reject();
                  }),
              QDialog::Rejected);
    EXPECT_EQ(settings().grid_type, 6);
    EXPECT_EQ(settings().jpeg_compress, 80);
    EXPECT_EQ(settings().back_color, 0xFF000000u);
    EXPECT_EQ(settings().nuki_flg_alpha0, 0);
    EXPECT_EQ(settings().dds_mipmaps, 0);

    EXPECT_EQ(run_modal(
                  dlg, [&] { return dlg.open_dialog(); },
                  [&] {
                      EXPECT_EQ(child<QLineEdit>(&dlg, "back_alpha_edit")->text(), "255");
                      change_everything();
                      press_ok(dlg);
                  }),
              QDialog::Accepted);
    EXPECT_EQ(settings().nuki_color, 0x0000FF00u);
    EXPECT_EQ(settings().grid_type, 9);
    EXPECT_EQ(settings().jpeg_compress, 55);
    EXPECT_EQ(settings().dds_format, 4);
    EXPECT_EQ(settings().dds_mipmaps, 1);
    EXPECT_EQ(settings().nuki_flg_alpha0, 1);
    EXPECT_EQ(settings().back_color, 0x10000000u);
    EXPECT_EQ(settings().aviren_option3, 3);
}

TEST(environment_options_dialog, DdsListEndsWithDxt1AndBc7) {
    environment_options_dialog dlg;
    auto* list = child<QComboBox>(&dlg, "dds_format_combo");
    ASSERT_EQ(list->count(), 9);
    EXPECT_EQ(list->itemText(4), "FMT_DXT3");
    EXPECT_EQ(list->itemText(5), "FMT_DXT1");
    EXPECT_EQ(list->itemText(6), "FMT_BC7");
    EXPECT_EQ(list->itemText(7), "FMT_BC4");
    EXPECT_EQ(list->itemText(8), "FMT_BC5");
    EXPECT_EQ(child<QCheckBox>(&dlg, "dds_mipmaps_check")->accessibleName(), "Write DDS mipmaps");
}

TEST(About, VersionLineAndLinksReportFailures) {
    about_dialog box;
    EXPECT_EQ(child<QLabel>(&box, "version_label")->text(),
              QString::fromUtf8("このソフトのバージョンは " MEVRA_VERSION " です"));
    std::vector<QUrl> opened;
    bool succeed = true;
    box.url_opener = [&](const QUrl& url) {
        opened.push_back(url);
        return succeed;
    };
    mevra::test::recording_ui ui;
    box.open_web_link();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].isLocalFile());
    EXPECT_TRUE(opened[0].toLocalFile().endsWith("README.md"));
    EXPECT_TRUE(ui.messages.empty());

    succeed = false;
    box.open_web_link();
    box.open_mail_link();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text.rfind("リンク先が見つかりませんでした。", 0), 0u);
    EXPECT_EQ(ui.messages[1].text.rfind("メールを作成できませんでした。", 0), 0u);
    EXPECT_GT(ui.messages[1].text.size(), std::string("メールを作成できませんでした。").size());
    EXPECT_EQ(ui.messages[0].caption, "");
}

}  // namespace
