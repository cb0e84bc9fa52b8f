#include "core/gimppalette.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

using namespace tonfang;

namespace {

// Reads a palette the way an importer would: three header lines, then rows of
// three numbers, a tab and a name. Checks that each number fills exactly its
// three right-aligned columns.
struct Palette {
    std::string name;
    std::vector<Rgb> colours;
    std::vector<std::string> names;
};

Palette parse(const std::string &text)
{
    Palette palette;
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_TRUE(text.empty() || text.back() == '\n');
    std::istringstream in(text);
    std::string line;
    EXPECT_TRUE(std::getline(in, line) && line == "GIMP Palette");
    EXPECT_TRUE(std::getline(in, line) && line.rfind("Name: ", 0) == 0);
    palette.name = line.substr(6);
    EXPECT_TRUE(std::getline(in, line) && line == "Columns: 0");
    while (std::getline(in, line)) {
        EXPECT_EQ(line.size(), 19u) << line;
        EXPECT_EQ(line.substr(11, 2), "\t#") << line;
        int values[3] = {};
        for (int i = 0; i < 3; ++i) {
            const std::string column = line.substr(std::size_t(4 * i), 3);
            values[i] = std::stoi(column);
            EXPECT_EQ(column, std::string(3 - std::to_string(values[i]).size(), ' ') + std::to_string(values[i]));
        }
        palette.colours.push_back({std::uint8_t(values[0]), std::uint8_t(values[1]), std::uint8_t(values[2])});
        palette.names.push_back(line.substr(12));
    }
    return palette;
}

} // namespace

TEST(GimpPalette, ReadsBackHeaderRowsAndColours)
{
    const struct {
        std::string name;
        std::vector<Rgb> colours;
        std::string readName;
    } cases[] = {
        {"farben", {{255, 128, 0}, {0, 0, 0}, {7, 42, 200}, {10, 100, 5}, {255, 255, 255}}, "farben"},
        {"Gr\xC3\xBCn", {}, "Gr\xC3\xBCn"},
        {"two\nlines\r\x7F", {{1, 2, 3}}, "two lines  "},
    };
    for (const auto &c : cases) {
        const std::string text = gimpPaletteText(c.name, c.colours);
        const Palette palette = parse(text);
        EXPECT_EQ(palette.name, c.readName);
        ASSERT_EQ(palette.colours.size(), c.colours.size());
        for (std::size_t i = 0; i < c.colours.size(); ++i) {
            EXPECT_EQ(palette.colours[i], c.colours[i]) << i;
            char hex[8];
            std::snprintf(hex, sizeof hex, "%02X%02X%02X", c.colours[i].red, c.colours[i].green, c.colours[i].blue);
            EXPECT_EQ(palette.names[i], std::string("#") + hex);
        }
    }
    EXPECT_EQ(gimpPaletteRow({255, 128, 0}), "255 128   0\t#FF8000\n");
}
