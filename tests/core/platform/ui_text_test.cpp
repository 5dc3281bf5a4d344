#include "platform/ui_text.h"

#include <gtest/gtest.h>

namespace mevra {
namespace {

std::string shout(const char* context, const char* text) {
    return std::string(context) + ":" + text + "!";
}

TEST(UiText, WithoutALookupEveryTextComesBackAsWritten) {
    EXPECT_EQ(ui_text("file", "エラー"), "エラー");
    const text_lookup previous = set_text_lookup(&shout);
    EXPECT_EQ(ui_text("file", "エラー"), "file:エラー!");
    EXPECT_EQ(set_text_lookup(previous), &shout);
    EXPECT_EQ(ui_text("file", "エラー"), "エラー");
}

TEST(UiText, FillTextPutsArgumentsInAsTheyAre) {
    EXPECT_EQ(fill_text("%2 x %1", {"3", "4"}), "4 x 3");
    // A path holding a marker is not filled again.
    EXPECT_EQ(fill_text("出力フォルダ : %1\nが", {"/tmp/%2", "x"}), "出力フォルダ : /tmp/%2\nが");
    // Markers without an argument, a lone % and one at the end stay.
    EXPECT_EQ(fill_text("%1 %3 100% %", {"a"}), "a %3 100% %");
    EXPECT_EQ(fill_text("", {}), "");
}

}  // namespace
}  // namespace mevra
