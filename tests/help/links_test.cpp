// The link builder: addresses from captions, labels and hints, and the fixed
// topic and donation pages.
#include "editor/webhosts.h"
#include "help/links.h"
#include "tests/support/eventually.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace tonfang;

TEST(Links, AddressesFollowTheCaptionUpToItsFirstDash)
{
    const struct {
        const char *caption;
        LinkSource source;
        const char *address;
    } cases[] = {
        // Info items in German and English: a bare host, a caption with a description.
        {"tonfang-quellwerk.de", LinkSource::Menu, "http://www.tonfang-quellwerk.de/&rf=tfm"},
        {"tonfang-quellwerk.com/tonfang - Website of this Software", LinkSource::Menu,
         "http://www.tonfang-quellwerk.com/tonfang&rf=tfm"},
        // A generated Software item.
        {"tonfang-quellwerk.de/tonfang - Farben vom Bildschirm aufnehmen und umrechnen",
         LinkSource::Menu, "http://www.tonfang-quellwerk.de/tonfang&rf=tfm"},
        // The same label in a help window and in a report window.
        {"tonfang-quellwerk.de/support", LinkSource::Help,
         "http://www.tonfang-quellwerk.de/support&rf=tfh"},
        {"tonfang-quellwerk.de/support", LinkSource::Report,
         "http://www.tonfang-quellwerk.de/support&rf=tfr"},
        // Accelerator marks go; only the first " - " cuts.
        {"&tonfang-quellwerk.de/farb&namen", LinkSource::Menu,
         "http://www.tonfang-quellwerk.de/farbnamen&rf=tfm"},
        {"tonfang-quellwerk.com/a - b - c", LinkSource::Menu,
         "http://www.tonfang-quellwerk.com/a&rf=tfm"},
        {"tonfang-quellwerk.com/a-b - c", LinkSource::Menu,
         "http://www.tonfang-quellwerk.com/a-b&rf=tfm"},
        // Bare hosts of both endings, also right before a description.
        {"quellwerk-colours.com", LinkSource::Menu, "http://www.quellwerk-colours.com/&rf=tfm"},
        {"quellwerk-farben.de - Start", LinkSource::Menu, "http://www.quellwerk-farben.de/&rf=tfm"},
        // A path that ends like a host is mended too: the rule looks only at the text.
        {"quellwerk-farben.de/list.com", LinkSource::Menu,
         "http://www.quellwerk-farben.de/list.com/&rf=tfm"},
        {"quellwerk-farben.de/webdesign", LinkSource::Menu,
         "http://www.quellwerk-farben.de/webdesign&rf=tfm"},
    };
    for (const auto &c : cases) {
        const QString caption = QString::fromUtf8(c.caption);
        const QString address = c.source == LinkSource::Menu ? menuLinkAddress(caption)
                                                              : linkAddress(caption, c.source);
        EXPECT_EQ(address, QString::fromUtf8(c.address)) << c.caption;
    }
    // Labels and hints are taken whole: no "&" removal and no cut.
    EXPECT_EQ(linkAddress(QStringLiteral("quellwerk-colours.com"), LinkSource::Help),
              "http://www.quellwerk-colours.com/&rf=tfh");
    EXPECT_EQ(linkAddress(QStringLiteral("a.de/x - y"), LinkSource::Help),
              "http://www.a.de/x - y&rf=tfh");
}

TEST(Links, TopicAndDonationPagesDependOnTheLanguage)
{
    const auto topic = [](const char *item) {
        const auto &pages = topicPages();
        const auto found = std::find_if(pages.begin(), pages.end(), [item](const TopicPage &page) {
            return qstrcmp(page.item, item) == 0;
        });
        EXPECT_NE(found, pages.end()) << item;
        return *found;
    };
    EXPECT_EQ(topicAddress(topic("online005"), true), "http://www.tonfang-quellwerk.de/cmy-farbmodell");
    EXPECT_EQ(topicAddress(topic("online005"), false),
              "http://www.tonfang-quellwerk.com/colorlexicon1#CIE_Norm_Valent_System");
    EXPECT_EQ(topicAddress(topic("online002"), true),
              "http://www.tonfang-quellwerk.de/farblexikon1#additive_farbmischung");
    EXPECT_EQ(topicAddress(topic("online26"), false), "http://www.tonfang-quellwerk.com/webcolors");

    EXPECT_EQ(donationAddress(true), "http://www.tonfang-quellwerk.de/spenden&rf=tfs");
    EXPECT_EQ(donationAddress(false), "http://www.tonfang-quellwerk.com/donate&rf=tfs");
}

TEST(Links, HostsEndTheWayTheBareHostRuleExpects)
{
    for (const char *host : {HOST_DE, HOST2_DE})
        EXPECT_TRUE(QByteArray(host).endsWith(".de")) << host;
    for (const char *host : {HOST_EN, HOST2_EN})
        EXPECT_TRUE(QByteArray(host).endsWith(".com")) << host;
}
