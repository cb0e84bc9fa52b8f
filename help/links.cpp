#include "help/links.h"

#include "editor/webhosts.h"

#include <QDesktopServices>
#include <QUrl>

namespace tonfang {

namespace {

const QLatin1String addressStart("http://www.");
const QLatin1String captionCut(" - ");

QString sourceTag(LinkSource source)
{
    return QLatin1String("&rf=tf") + QChar::fromLatin1(char(source));
}

// A target that is only a host ends in ".de" or ".com" right before the tag;
// the first such place gets its "/". Each ending is mended once at most.
QString withSlashAfterBareHost(QString address)
{
    for (const QLatin1String ending : {QLatin1String(".de&"), QLatin1String(".com&")}) {
        const qsizetype at = address.indexOf(ending);
        if (at >= 0)
            address.insert(at + ending.size() - 1, QLatin1Char('/'));
    }
    return address;
}

QString hostOf(bool german)
{
    return QString::fromLatin1(german ? HOST_DE : HOST_EN);
}

} // namespace

QString linkAddress(const QString &target, LinkSource source)
{
    return withSlashAfterBareHost(addressStart + target + sourceTag(source));
}

QString menuLinkAddress(const QString &caption)
{
    QString target = caption;
    target.remove(QLatin1Char('&'));
    const qsizetype cut = target.indexOf(captionCut);
    if (cut >= 0)
        target.truncate(cut);
    return linkAddress(target, LinkSource::Menu);
}

QString donationAddress(bool german)
{
    return linkAddress(hostOf(german) + (german ? QLatin1String("/spenden")
                                                : QLatin1String("/donate")),
                       LinkSource::Donation);
}

const std::array<TopicPage, 34> &topicPages()
{
    static const std::array<TopicPage, 34> pages = {{
        {"online002", "/farblexikon1#additive_farbmischung", "/colorlexicon1#Additive_Mixture_of_Color"},
        {"online003", "/farblexikon1#autotypische_farbmischung", "/colorlexicon1#Autotypical_Mixture_of_Color"},
        {"online004", "/farblexikon1#cie-normvalenzsystem", "/colorlexicon1#Blackness_Value"},
        {"online005", "/cmy-farbmodell", "/colorlexicon1#CIE_Norm_Valent_System"},
        {"online006", "/cmyk-farbmodell", "/colorlexicon1#CMY_Farbmodell"},
        {"online007", "/farblexikon1#dunkelstufe", "/colorlexicon1#CMYK_Farbmodell"},
        {"online008", "/farblexikon2#farben", "/colorlexicon2#Colors"},
        {"online009", "/farblexikon2#farbmischung", "/colorlexicon2#Color_Depth"},
        {"online010", "/farblexikon2#farbmodell", "/colorlexicon2#Color_Mixture"},
        {"online011", "/farblexikon2#farbraum", "/colorlexicon2#Color_Model"},
        {"online012", "/farblexikon2#farbtiefe", "/colorlexicon2#Color_Space"},
        {"online013", "/farblexikon2#farbton", "/colorlexicon3#Hue"},
        {"online014", "/farblexikon3#hellwert", "/colorlexicon3#HSV_Color_Model"},
        {"online015", "/farblexikon3#hsv-farbmodell", "/colorlexicon3#Light"},
        {"online016", "/farblexikon3#licht", "/colorlexicon3#Lightness"},
        {"online017", "/farblexikon3#rgb-farbmodell", "/colorlexicon3#Process-Color_Printing"},
        {"online018", "/farblexikon4#saettigung", "/colorlexicon3#RGB_Color_Model"},
        {"online019", "/farblexikon4#spektrale_zusammensetzung", "/colorlexicon4#Saturation"},
        {"online020", "/farblexikon4#subtraktive_farbmischung", "/colorlexicon4#Spectral_Composition"},
        {"online021", "/farblexikon4#tcolor", "/colorlexicon4#Subtractive_Mixture_of_Color"},
        {"online022", "/farblexikon4#websichere_farben", "/colorlexicon4#TColor"},
        {"online023", "/farblexikon4#vierfarbdruck", "/colorlexicon4#Web_Colors"},
        {"online024", "/farblexikon4#xyz", "/colorlexicon4#XYZ"},
        {"online101", "/farbmodelle-cmyk", "/colormodel-cmyk"},
        {"online102", "/farbmodelle-hsv", "/colormodel-hsv"},
        {"online103", "/farbmodelle-rgb", "/colormodel-rgb"},
        {"online104", "/farbmodelle-tcolor", "/colormodel-tcolor"},
        {"online105", "/farbmodelle-xyz", "/colormodel-xyz"},
        {"online21", "/farbtabelle", "/colorchart"},
        {"online22", "/farbtabelle-hellwert", "/colorchart-lightness"},
        {"online23", "/farbtabelle-saettigung", "/colorchart-saturation"},
        {"online24", "/farbtabelle-grauwerte", "/colorchart-grey"},
        {"online25", "/farbnamen", "/colornames"},
        {"online26", "/webfarben", "/webcolors"},
    }};
    return pages;
}

QString topicAddress(const TopicPage &topic, bool german)
{
    return addressStart + hostOf(german)
           + QString::fromLatin1(german ? topic.german : topic.english);
}

void openLink(const QString &address)
{
    // The desktop starts the browser in a process of its own (xdg-open on
    // Linux desktops); the result is deliberately not looked at.
    QDesktopServices::openUrl(QUrl(address));
}

} // namespace tonfang
