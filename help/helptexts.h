#pragma once
// The texts of the help windows, the software overview and the report
// windows, German and English side by side. Each page is a list of blocks
// drawn from top to bottom, so a sentence or a paragraph is added by adding a
// row.

#include "editor/languagecode.h"

#include <QString>

#include <array>
#include <vector>

namespace tonfang {

enum class HelpBlock {
    Heading,         // 16-pixel heading
    Greeting,        // the report windows' 13-pixel salutation
    Paragraph,       // 11-pixel text, wrapped
    Address,         // an address label (host and path, no "http://www.")
    AddressAtRight,  // an address label at the right edge
    Notice,          // the rights notice
    Picture,         // a JPEG resource, one per language
    Overview,        // the software overview frame
};

struct HelpRow {
    HelpBlock kind;
    BilingualText text;
};

struct HelpPageText {
    const char *germanName, *englishName;  // objectNames of the page
    BilingualText tab;
    std::vector<HelpRow> rows;
};

struct HelpWindowText {
    BilingualText caption, back, next;
    std::array<HelpPageText, 5> pages;  // in page-control order
};
const HelpWindowText &helpWindowText();

struct ReportWindowText {
    BilingualText caption, ok;
    std::vector<HelpRow> rows;
};
const ReportWindowText &reportWindowText();

struct OverviewText {
    BilingualText heading, introduction, address;
};
const OverviewText &overviewText();

} // namespace tonfang
