#include "listfile/colourlistfile.h"

#include "core/colour.h"
#include "core/numbertext.h"
#include "editor/colourlist.h"
#include "listfile/colourlistreader.h"
#include "listfile/listfiletexts.h"

#include <algorithm>
#include <stdexcept>

namespace tonfang {

namespace {

const QString lineEnd = QStringLiteral("\r\n");
constexpr qsizetype colourLineLength = 6;

} // namespace

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
            const std::span<const ColourNumber> numbers = *block;
            for (; next < numbers.size() && lines < linesPerPiece; ++next, ++lines) {
                piece.append(QLatin1StringView(TColorToHex(numbers[next])));
                piece.append(lineEnd);
            }
            if (next < numbers.size())
                break;
        }
        return block != colours.end();
    };
    return saveWideTextPieces(nextPiece, fileName, TextEncoding::Ansi, colourListFileSize(colours.size()),
                              control);
}

ColourListReadOptions colourListReadOptions(const ColourListModel &model)
{
    ColourListReadOptions options;
    options.maxEntries = colourListCapacity - std::min<std::uint64_t>(model.count(), colourListCapacity);
    return options;
}

void settleColourListOpening(ColourListModel &model, std::vector<ColourBlock> blocks,
                             const ColourListReadResult &result)
{
    using Status = ColourListReadResult::Status;
    if (result.status == Status::Cancelled)
        return;
    if (result.status == Status::TooMany)
        throw std::runtime_error(colourListCapacityText().toStdString());
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

} // namespace tonfang
