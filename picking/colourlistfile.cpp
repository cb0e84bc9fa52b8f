#include "picking/colourlistfile.h"

#include "core/colour.h"
#include "core/numbertext.h"
#include "editor/colourlist.h"
#include "picking/widefunc.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <string>

namespace {

const QString lineEnd = QStringLiteral("\r\n");
constexpr qsizetype colourLineLength = 6;

// A six-unit line as a colour number. Each pair is read as "$" and the two
// characters, so a bad pair fails with the conversion message that names it.
tonfang::ColourNumber colourOfLine(QStringView line)
{
    char ascii[colourLineLength];
    bool isAscii = true;
    for (qsizetype i = 0; i < colourLineLength; ++i) {
        const char16_t unit = line[i].unicode();
        isAscii = isAscii && unit < 0x80;
        ascii[i] = char(unit);
    }
    if (isAscii)
        return tonfang::HexToTColor(std::string_view(ascii, colourLineLength));

    // A character beyond ASCII takes more than one byte in UTF-8, so the pairs
    // are handed over one by one to keep the message's characters whole.
    tonfang::ColourNumber colour = 0;
    for (int pair = 0; pair < 3; ++pair) {
        const std::string digits = line.sliced(2 * pair, 2).toString().toStdString();
        colour |= (tonfang::StrToInt("$" + digits) & 0xFF) << (8 * pair);
    }
    return colour;
}

// What a locale's encoding can hold: characters it cannot represent come back
// as its replacement character.
QString throughLocaleEncoding(const QString &text)
{
    QStringEncoder encoder(QStringConverter::System, QStringConverter::Flag::Stateless);
    QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::Stateless);
    return decoder.decode(encoder.encode(text));
}

} // namespace

QString colourListFileText(const std::vector<ColourListEntry> &entries)
{
    QString text;
    text.reserve(qsizetype(entries.size()) * (colourLineLength + lineEnd.size()));
    for (const ColourListEntry &entry : entries) {
        text.append(QLatin1StringView(tonfang::TColorToHex(entry.colour)));
        text.append(lineEnd);
    }
    return text;
}

ColourListReading readColourListText(const QString &text)
{
    QStringList lines;
    SplitWide(lines, lineEnd, throughLocaleEncoding(text));

    ColourListReading reading;
    for (const QString &line : lines) {
        if (line.size() != colourLineLength)
            continue;
        try {
            const tonfang::ColourNumber colour = colourOfLine(line);
            reading.entries.push_back(
                {QString::fromStdString(tonfang::listEntryLabel(tonfang::TColorToRGB(colour))),
                 colour});
        } catch (const tonfang::ConversionError &) {
            reading.failure = std::current_exception();
            break;
        }
    }
    return reading;
}

bool saveColourListFile(const std::vector<ColourListEntry> &entries, const QString &fileName)
{
    return SaveWideTextFile(colourListFileText(entries), fileName, EncodingAnsi);
}

void appendColourListFile(ColourListModel &model, const QString &fileName)
{
    ColourListReading reading = readColourListText(LoadWideTextFile(fileName));
    model.append(std::move(reading.entries));
    if (reading.failure)
        std::rethrow_exception(reading.failure);
}
