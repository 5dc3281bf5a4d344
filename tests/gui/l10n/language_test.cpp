// The interface language: English for everyone but Japanese and Korean
// readers (and the C locale), who keep the program's own texts, while Qt's
// own buttons follow the user's language.
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <memory>

#include <gtest/gtest.h>

#include "app/interface_language.h"
#include "app/main_window.h"
#include "app/qt_text_lookup.h"
#include "batch/batch_dialog.h"
#include "image/trim_size_check.h"
#include "platform/ui_text.h"
#include "settings/clgbase.h"
#include "support/gui_test_support.h"

using mevra::gui::interface_language;
using mevra::gui::wants_english_texts;

TEST(InterfaceLanguage, OnlyJapaneseKoreanAndCKeepTheProgramTexts) {
    EXPECT_FALSE(wants_english_texts(QLocale(QLocale::Japanese, QLocale::Japan)));
    EXPECT_FALSE(wants_english_texts(QLocale(QLocale::Korean, QLocale::SouthKorea)));
    EXPECT_FALSE(wants_english_texts(QLocale::c()));
    EXPECT_TRUE(wants_english_texts(QLocale(QLocale::English, QLocale::UnitedKingdom)));
    EXPECT_TRUE(wants_english_texts(QLocale(QLocale::German, QLocale::Germany)));
    EXPECT_TRUE(wants_english_texts(QLocale(QLocale::Chinese, QLocale::China)));
}

class LanguageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mevra::settings().reset_defaults();
        previous_lookup = mevra::set_text_lookup(&qt_text_lookup);
    }
    void TearDown() override {
        window.reset();
        mevra::test::settle();
        mevra::set_text_lookup(previous_lookup);
    }
    void open_window() {
        window = std::make_unique<main_window>();
        mevra::test::settle();
    }
    QString text_of(const char* action) const {
        return mevra::test::find_action(window.get(), action)->text();
    }

    std::unique_ptr<main_window> window;
    mevra::text_lookup previous_lookup = nullptr;
};

TEST_F(LanguageTest, EnglishDesktopGetsEnglishMenusDialogsAndCoreMessages) {
    const interface_language language(QLocale(QLocale::English, QLocale::UnitedStates));
    ASSERT_TRUE(language.english());
    open_window();
    EXPECT_EQ(text_of("file_menu"), "File");
    EXPECT_EQ(text_of("open_image_action"), "Open image…");
    EXPECT_EQ(text_of("reduce_colours_action"), "Colour reduction");
    EXPECT_EQ(text_of("reduction_options_action"), "Colour reduction options…");
    EXPECT_EQ(text_of("exit_action"), "Exit");
    // The batch dialog's operation names come from the core's table.
    auto* operations = window->batch_window->findChild<QComboBox*>("operation_combo");
    ASSERT_NE(operations, nullptr);
    EXPECT_EQ(operations->itemText(1), "Colour reduction");

    // A core message keeps its numbers in the translated sentence.
    mevra::test::scripted_ui ui;
    EXPECT_FALSE(mevra::accept_new_size(0, 7));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Resize");
    EXPECT_EQ(ui.messages[0].text.rfind("An image of the new size 0 x 7 cannot be made.\n", 0), 0u)
        << ui.messages[0].text;
}

TEST_F(LanguageTest, JapaneseDesktopKeepsTheProgramTextsAndGetsJapaneseQtButtons) {
    const interface_language language(QLocale(QLocale::Japanese, QLocale::Japan));
    EXPECT_FALSE(language.english());
    open_window();
    EXPECT_EQ(text_of("file_menu"), "파일  ");
    EXPECT_EQ(text_of("reduce_colours_action"), "감색");
    mevra::test::scripted_ui ui;
    EXPECT_FALSE(mevra::accept_new_size(0, 7));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "リサイズ");

    // Qt's catalogues come with the system (qt6-translations-l10n).
    ASSERT_TRUE(language.qt_dialogs_translated());
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), "キャンセル");
}
