// Where the native pick cannot be: the real desktop portal of wlroots desktops
// (xdg-desktop-portal-wlr, whose picker is slurp), and a compositor without
// screen capture or overlay layers (weston), with no portal on the bus.

#include "waylandsession.h"

#include "editor/languagecode.h"
#include "picking/pickingtexts.h"

using namespace waylandtest;

TEST(RealPortal, APickGivesThePixelAndEscapeEndsInThePortalsFailure)
{
    tonfang::setLanguageCode(tonfang::languageEnglish);
    ASSERT_TRUE(sway("output HEADLESS-1 bg " + picture(true) + " stretch"));
    const QPoint at(960, 200); // the top right quadrant
    ASSERT_EVENTUALLY(grabPixel(at) == quadrantColours[1]);
    Pointer pointer;
    // The wlroots portal reports Esc in its picker as a failure.
    for (const bool click : {true, false}) {
        QProcess pick;
        ASSERT_TRUE(startsOverlay(pointer, at, [&] {
            startPick(pick, {}, {QStringLiteral("TONFANG_WAYLAND_PICKER=portal")});
        }));
        ASSERT_TRUE(click ? pointer.click() : typeKeys(QStringLiteral("Escape")));
        QString output, error;
        EXPECT_EQ(finished(pick, &output, &error), click ? 0 : 3);
        EXPECT_EQ(output, click ? hex(quadrantColours[1]) + '\n' : QString());
        EXPECT_EQ(error, click ? QString() : tonfang::portalPickFailedLine());
    }
}

TEST(Fallback, WithoutTheProtocolsThePortalIsAskedEvenWhenNativeIsChosen)
{
    tonfang::setLanguageCode(tonfang::languageEnglish);
    const QString missing = tonfang::portalColourPickerMissingLine();
    const struct {
        const char *choice; // of TONFANG_WAYLAND_PICKER
        QString error;
    } cases[] = {
        {"", missing},
        {"portal", missing},
        {"native", tonfang::nativePickUnavailableLine() + '\n' + missing},
        {"Native!", tonfang::unknownWaylandPickerLine(QStringLiteral("Native!")) + '\n' + missing},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.choice);
        QProcess pick;
        startPick(pick, {}, {QStringLiteral("TONFANG_WAYLAND_PICKER=") + c.choice});
        QString output, error;
        EXPECT_EQ(finished(pick, &output, &error), 3);
        EXPECT_EQ(output, QString());
        EXPECT_EQ(error, c.error);
    }
}
