#include "picking/colourlistfile.h"

#include "core/colour.h"
#include "core/numbertext.h"
#include "editor/colourlist.h"
#include "picking/colourlistreader.h"
#include "picking/widefunc.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <string>

namespace {

const QString lineEnd = QStringLiteral("\r\n");
constexpr qsizetype colourLineLength = 6;

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
            const tonfang::ColourNumber colour = colourOfColourLine(line);
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
    // Written in pieces of a few thousand lines: a long list then needs neither
    // its whole text nor its whole bytes in memory at once.
    constexpr std::size_t linesPerPiece = 16384;
    std::size_t next = 0;
    const auto nextPiece = [&entries, &next](QString &piece) {
        const std::size_t end = std::min(entries.size(), next + linesPerPiece);
        piece.reserve(qsizetype(end - next) * (colourLineLength + lineEnd.size()));
        for (; next < end; ++next) {
            piece.append(QLatin1StringView(tonfang::TColorToHex(entries[next].colour)));
            piece.append(lineEnd);
        }
        return next < entries.size();
    };
    return saveWideTextPieces(nextPiece, fileName, EncodingAnsi);
}

void appendColourListFile(ColourListModel &model, const QString &fileName)
{
    ColourListReading reading = readColourListText(LoadWideTextFile(fileName));
    model.append(std::move(reading.entries));
    if (reading.failure)
        std::rethrow_exception(reading.failure);
}
