#include "listfile/colourlistfile.h"

#include "core/colour.h"
#include "core/numbertext.h"
#include "editor/colourlist.h"
#include "listfile/colourlistreader.h"
#include "listfile/listfiletexts.h"
#include "listfile/widefunc.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <stdexcept>
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

qint64 colourListFileSize(qint64 colours)
{
    // Every line is ASCII, one byte per character in the locale's encoding.
    return colours * (colourLineLength + lineEnd.size());
}

bool saveColourListFile(const ColourListSnapshot &colours, const QString &fileName,
                        const SaveControl &control)
{
    // Written in pieces of a few thousand lines: a long list then needs neither
    // its whole text nor its whole bytes in memory at once.
    constexpr std::size_t linesPerPiece = 16384;
    auto block = colours.begin();
    std::size_t next = 0; // in the current block
    const auto nextPiece = [&colours, &block, &next](QString &piece) {
        std::size_t lines = 0;
        piece.reserve(qsizetype(linesPerPiece) * (colourLineLength + lineEnd.size()));
        for (; block != colours.end() && lines < linesPerPiece; ++block, next = 0) {
            const std::span<const tonfang::ColourNumber> numbers = *block;
            for (; next < numbers.size() && lines < linesPerPiece; ++next, ++lines) {
                piece.append(QLatin1StringView(tonfang::TColorToHex(numbers[next])));
                piece.append(lineEnd);
            }
            if (next < numbers.size())
                break;
        }
        return block != colours.end();
    };
    return saveWideTextPieces(nextPiece, fileName, EncodingAnsi, colourListFileSize(colours.size()),
                              control);
}

ColourListReadOptions colourListReadOptions(const ColourListModel &model)
{
    ColourListReadOptions options;
    options.maxEntries = tonfang::colourListCapacity - std::min<std::uint64_t>(model.count(), tonfang::colourListCapacity);
    return options;
}

void settleColourListOpening(ColourListModel &model, std::vector<ColourBlock> blocks,
                             const ColourListReadResult &result)
{
    using Status = ColourListReadResult::Status;
    if (result.status == Status::Cancelled)
        return;
    if (result.status == Status::TooMany)
        throw std::runtime_error(tonfang::colourListCapacityText().toStdString());
    if (result.appendsEntries())
        model.appendBlocks(std::move(blocks));
    if (result.error)
        std::rethrow_exception(result.error);
}

void appendColourListFile(ColourListModel &model, const QString &fileName)
{
    std::vector<ColourBlock> blocks;
    ColourListReadHooks hooks;
    hooks.deliver = [&blocks](ColourBlock &&block) { blocks.push_back(std::move(block)); };
    const ColourListReadResult result =
        readColourListFile(fileName, hooks, colourListReadOptions(model));
    settleColourListOpening(model, std::move(blocks), result);
}
