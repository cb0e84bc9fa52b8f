#include "picking/colourlistfile.h"

#include "core/colour.h"
#include "core/numbertext.h"
#include "editor/colourlist.h"
#include "picking/widefunc.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
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

ColourListReading readColourListText(QString text)
{
    text = throughLocaleEncoding(text);
    QList<QStringView> lines;
    SplitWide(lines, lineEnd, text);

    ColourListReading reading;
    reading.entries.reserve(std::size_t(lines.size()));
    for (const QStringView line : lines) {
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

qint64 colourListFileSize(std::size_t colours)
{
    // Every line is ASCII, one byte per character in the locale's encoding.
    return qint64(colours) * (colourLineLength + lineEnd.size());
}

bool saveColourListFile(const std::vector<tonfang::ColourNumber> &colours, const QString &fileName,
                        const SaveControl &control)
{
    // Written in pieces of a few thousand lines: a long list then needs neither
    // its whole text nor its whole bytes in memory at once.
    constexpr std::size_t linesPerPiece = 16384;
    std::size_t next = 0;
    const auto nextPiece = [&colours, &next](QString &piece) {
        const std::size_t end = std::min(colours.size(), next + linesPerPiece);
        piece.reserve(qsizetype(end - next) * (colourLineLength + lineEnd.size()));
        for (; next < end; ++next) {
            piece.append(QLatin1StringView(tonfang::TColorToHex(colours[next])));
            piece.append(lineEnd);
        }
        return next < colours.size();
    };
    return saveWideTextPieces(nextPiece, fileName, EncodingAnsi, colourListFileSize(colours.size()),
                              control);
}

void appendColourListFile(ColourListModel &model, const QString &fileName)
{
    ColourListReading reading = readColourListText(LoadWideTextFile(fileName));
    model.append(std::move(reading.entries));
    if (reading.failure)
        std::rethrow_exception(reading.failure);
}
