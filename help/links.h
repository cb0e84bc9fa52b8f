#pragma once
// Web addresses of the maker's pages, built from what a control shows: a menu
// item's caption, a label's caption, an icon's tooltip. The functions here
// only build texts; openLink hands an address to the desktop.
//
// A link address is "http://www." + target + "&rf=tf" + a letter that tells
// which part of the program sent the user. There is no "?": the site reads
// "&rf=" straight after the path, and a bare host gets a "/" before it.

#include <QString>

#include <array>

namespace tonfang {

enum class LinkSource : char {
    Menu = 'm',      // the Online, Info and Software menus
    Help = 'h',      // help windows and the software overview
    Report = 'r',    // the report windows
    Donation = 's',  // the donation label of the main window
};

// "http://www." + target + "&rf=tf" + letter, a bare host given its "/".
QString linkAddress(const QString &target, LinkSource source);

// The address of a menu item: its caption without accelerator marks, up to the
// first " - " (what follows describes the page).
QString menuLinkAddress(const QString &caption);

// The donation page of the German or English site, as the donation label opens it.
QString donationAddress(bool german);

// A topic item of the Online menu and the page it opens on each site. The two
// columns are not translations of each other: each language lists its own
// topics alphabetically under the same item names.
struct TopicPage {
    const char *item;     // objectName of the menu item
    const char *german;   // path on the German site
    const char *english;  // path on the English site
};
const std::array<TopicPage, 34> &topicPages();

// A fixed page: "http://www." + host + path, without a source letter.
QString topicAddress(const TopicPage &topic, bool german);

// Hands the address to the desktop, which opens it in the user's browser. What
// the desktop makes of it is not looked at: without a browser the click simply
// does nothing, and the window never waits for the browser to start.
void openLink(const QString &address);

} // namespace tonfang
