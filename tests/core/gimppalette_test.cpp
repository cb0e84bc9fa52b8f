#include "core/gimppalette.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

using namespace tonfang;

// Read back the way an importer reads it: three header lines, then rows of
// three numbers each right-aligned in three columns, a tab and "#RRGGBB".
TEST(GimpPalette, ReadsBackHeaderRowsAndColours)
{
    const struct { std::string name; std::vector<Rgb> colours; std::string readName; } cases[] = {
        {"farben", {{255, 128, 0}, {0, 0, 0}, {7, 42, 200}, {10, 100, 5}}, "farben"},
        {"Gr\xC3\xBCn", {}, "Gr\xC3\xBCn"},
        {"two\nlines\r\x7F", {{1, 2, 3}}, "two lines  "}, // a line break would end the header
    };
    for (const auto &c : cases) {
        std::istringstream in(gimpPaletteText(c.name, c.colours));
        std::string line, name;
        EXPECT_TRUE(std::getline(in, line) && line == "GIMP Palette");
        EXPECT_TRUE(std::getline(in, name) && name == "Name: " + c.readName) << name;
        EXPECT_TRUE(std::getline(in, line) && line == "Columns: 0");
        for (const Rgb rgb : c.colours) {
            ASSERT_TRUE(std::getline(in, line));
            char expected[32];
            std::snprintf(expected, sizeof expected, "%3u %3u %3u\t#%02X%02X%02X", unsigned(rgb.red),
                          unsigned(rgb.green), unsigned(rgb.blue), unsigned(rgb.red), unsigned(rgb.green),
                          unsigned(rgb.blue));
            EXPECT_EQ(line, expected);
        }
        EXPECT_FALSE(std::getline(in, line)) << line;
        EXPECT_EQ(gimpPaletteText(c.name, c.colours).find('\r'), std::string::npos);
    }
    EXPECT_EQ(gimpPaletteRow({255, 128, 0}), "255 128   0\t#FF8000\n");
}
