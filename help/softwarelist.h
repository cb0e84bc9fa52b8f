#pragma once
// The maker's 16 programs, as the Software menus and the help windows'
// software overview show them, German and English side by side.

#include <QList>
#include <QPixmap>
#include <QString>

#include <array>

namespace tonfang {

struct SoftwareProgram {
    const char *germanPage;   // page name on the German site
    const char *englishPage;  // page name on the English site
    QString germanName, englishName;
    QString germanSummary, englishSummary;  // after " - " in the menu caption
    QString germanAbout, englishAbout;      // the overview's description

    QString name(bool german) const { return german ? germanName : englishName; }
    QString about(bool german) const { return german ? germanAbout : englishAbout; }
};

inline constexpr int softwareCount = 16;
// Tonfang's own place in the menus; in the overview it is the fifth row.
inline constexpr int tonfangIndex = 7;

// In menu order; the same order in both languages.
const std::array<SoftwareProgram, softwareCount> &softwarePrograms();

// The overview lists the programs in an order of its own: menu indices, row by row.
const std::array<int, softwareCount> &softwareRowOrder();

// Host and page, "tonfang-quellwerk.de/tonfang": an icon's tooltip.
QString softwareTarget(const SoftwareProgram &program, bool german);
// Target, " - " and the summary: a generated menu item's caption.
QString softwareMenuCaption(const SoftwareProgram &program, bool german);

// The programs' pictures in menu order, each `size` by `size` logical pixels
// (16 for the menus, 32 for the overview), sharp also on a doubled screen.
QList<QPixmap> softwarePictures(int size);

} // namespace tonfang
