// The palette window's "Load palette…" and "Save palette…".
#include <QFileDialog>
#include <QPushButton>

#include "formats/palette_file.h"
#include "support/gui_test_support.h"
#include "views_fixture.h"

using namespace mevra;

using PaletteFiles = ViewsFixture;

TEST_F(PaletteFiles, LoadingReplacesAnIndexedTableOrReducesAFullColourImage) {
    test::temp_dir dir;
    test::recording_ui ui;
    const std::string path = dir.file("two.hex");
    test::write_bytes(
        path, {'#', 'f', 'f', '0', '0', '0', '0', '\n', '0', '0', '0', '0', 'f', 'f', '\n'});
    EXPECT_EQ(control<QPushButton>("load_palette_button")->text(), "팔레트 불러오기…");
    image_window* indexed = open(indexed_row(3));
    palette->load_palette(QString::fromStdString(path));
    EXPECT_EQ(indexed->image->color[0], 0xFFFF0000u);
    EXPECT_EQ(indexed->image->color[1], 0xFF0000FFu);
    EXPECT_EQ(indexed->image->color[2], 0xFF030609u);  // still used by a pixel
    EXPECT_EQ(indexed->image->index_buff, (std::vector<int32_t>{0, 1, 2}));
    indexed->undo_image();
    EXPECT_EQ(indexed->image->color[0], 0xFF010203u) << "one undo step";

    image_window* full = open(argb_fill(4, 2, 0xFFF00010u));
    palette->load_palette(QString::fromStdString(path));
    EXPECT_EQ(full->image->image_type, IMGTYP_16);
    EXPECT_EQ(full->image->color_num, 2);
    EXPECT_EQ(full->image->index_buff, std::vector<int32_t>(8, 0));

    test::write_bytes(dir.file("bad.gpl"), {'G', 'I', 'M', 'P'});
    palette->load_palette(QString::fromStdString(dir.file("bad.gpl")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.rfind(dir.file("bad.gpl") + "\n팔레트를 읽을 수 없습니다 : ", 0),
              0u)
        << ui.messages[0].text;
    EXPECT_EQ(ui.messages[0].caption, "エラー");
    EXPECT_EQ(full->image->color[0], 0xFFFF0000u);
}

TEST_F(PaletteFiles, SavingWritesTheTypeOfTheChosenFilter) {
    test::temp_dir dir;
    open(indexed_row(5));
    test::on_next_modal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->nameFilters().size(), 6);
        dialog->selectNameFilter("RIFF 팔레트 (*.pal)");
        emit dialog->filterSelected("RIFF 팔레트 (*.pal)");
        test::type_file_name(dialog, QString::fromStdString(dir.file("saved")));
        static_cast<QDialog*>(dialog)->accept();
    });
    control<QPushButton>("save_palette_button")->click();
    const auto bytes = test::read_bytes(dir.file("saved.pal"));
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "PAL ");
    std::vector<uint32_t> back;
    std::string error;
    ASSERT_TRUE(read_palette_file(dir.file("saved.pal"), back, error)) << error;
    EXPECT_EQ(back.size(), 5u);
    EXPECT_EQ(back[4], 0xFF050A0Fu);
}
