#include "tools/lib/table_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/scratch_folder.h"
#include "tools/lib/packer.h"

namespace qel::tools {
namespace {

// A sheet of 2 x 2 chips of 4 pixels: only chip (1, 0) is drawn.
ChipPicture sheet() {
    ChipPicture picture;
    std::string error;
    EXPECT_TRUE(drawChipArt("size 8 8 4\npalette W FFFFFF\nchip 1 0\nWWWW\nW..W\nW..W\nWWWW\n",
                            picture, error))
        << error;
    return picture;
}

TEST(TableCheck, RowsMustMatchTheirHeaderAndNameDrawnChips) {
    struct Case {
        const char* name;
        const char* table;
        const char* error;  // "" when the table passes
    };
    const Case cases[] = {
        {"cells and lists as named", "id,name,tags...,note,\n1,a,x,y,-,n,\n2,b,-,n,\n", ""},
        {"a list may end at an empty cell", "id,actions...,\n1,fire,ice,,\n", ""},
        {"blank lines may end the table", "id,\n1,\n\n\n", ""},
        {"too many cells", "id,name,\n1,a,\n2,b,c,\n",
         "t.csv:3: the row has 1 more cells than its header names"},
        {"too few cells", "id,name,note,\n1,a,\n",
         "t.csv:2: the row has fewer cells than its header names: note and what follows are "
         "missing"},
        {"a list without its end", "id,tags...,\n1,x,y,\n",
         "t.csv:2: the list tags... has no end (an empty cell or one beginning with '-')"},
        {"a line without its last comma", "id,name,\n1,a\n2,b,\n",
         "t.csv:2: the line does not end with ',' (the game would read its last cell on into "
         "the next line)"},
        {"a blank line between rows", "id,\n1,\n\n2,\n",
         "t.csv:3: a blank line between the rows (the game would read on into it)"},
        {"the distribution's counts before its names",
         "1,1,floor,kind,weight,kind,weight,\n"
         "1,3,5,4,1,\n",
         ""},
        {"a drawn chip", "id,chip,\n1,0x01,\n", ""},
        {"a chip the sheet leaves empty", "id,chip,\n1,0x11,\n",
         "t.csv:2: chip 0x11 (column 1, row 1) is not drawn on the chip sheet"},
        {"a chip outside the sheet", "id,chip,\n1,0x05,\n",
         "t.csv:2: chip 0x05 (column 5, row 0) is not drawn on the chip sheet"},
        {"no chip code", "id,chip,\n1,,\n", "t.csv:2: chip '' is no chip code"},
        {"no header", "\n", "t.csv:1: the table has no header"},
    };
    const ChipPicture chips = sheet();
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(checkTable(c.table, "t.csv", &chips, error), c.error[0] == '\0') << c.name;
        EXPECT_EQ(error, c.error) << c.name;
    }
    std::string error;
    EXPECT_TRUE(checkTable("id,chip,\n1,0x11,\n", "t.csv", nullptr, error))
        << "without a sheet chips are not checked";
}

TEST(TableCheck, ThePackerRefusesABadTableAndKeepsTheOldOutput) {
    qel::test::ScratchFolder scratch;
    const std::filesystem::path dir = scratch.path();
    std::ofstream(dir / "chips.txt") << "size 8 8 4\npalette W FFFFFF\nchip 1 0\n"
                                        "WWWW\nW..W\nW..W\nWWWW\n";
    std::ofstream(dir / "good.csv") << "id,chip,\n1,0x01,\n";
    std::ofstream(dir / "bad.csv") << "id,chip,\n1,0x00,\n";
    const std::string out = (dir / "out.dat").string();
    std::ostringstream said, errors;
    EXPECT_EQ(runPacker({"scramble-table", "file", (dir / "good.csv").string(), out,
                         (dir / "chips.txt").string()},
                        said, errors),
              0)
        << errors.str();
    const auto before = std::filesystem::file_size(out);
    EXPECT_EQ(runPacker({"scramble-table", "file", (dir / "bad.csv").string(), out,
                         (dir / "chips.txt").string()},
                        said, errors),
              1);
    EXPECT_NE(errors.str().find("bad.csv:2: chip 0x00 (column 0, row 0) is not drawn"),
              std::string::npos)
        << errors.str();
    EXPECT_EQ(std::filesystem::file_size(out), before);
}

}  // namespace
}  // namespace qel::tools
