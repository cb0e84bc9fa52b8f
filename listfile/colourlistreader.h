#pragma once
// Reading a colour list file as a stream: read by read, decoded, split at CR LF
// and turned into colours as the bytes come in, with exactly the outcome of
// loading the whole file, decoding it and splitting its text at CR LF: the
// same colours, the same messages, the same voiding of a broken UTF-8 or UTF-7
// text. Memory stays bounded by one read, one block of colours and the blocks
// already handed over, however long the file or a line of it: a file that
// never ends can be read until it is cancelled.
//
// QtCore only, and no state shared between calls: meant for a worker thread.

#include "core/colour.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <exception>
#include <functional>
#include <vector>

namespace tonfang {

// Colours of colour lines, in file order (as the list model takes them).
using ColourBlock = std::vector<ColourNumber>;

struct ColourListReadOptions {
    qsizetype readBytes = 1 << 20;         // bytes per read
    std::size_t blockEntries = 1 << 16;    // colours per delivered block
    std::uint64_t maxEntries = UINT64_MAX; // more colour lines than this: TooMany
};

// How to reproduce what opening a file always did:
// - appendsEntries(): append the delivered blocks, in order and in one step;
//   then, when `error` is set, raise it: the ConversionError of the first bad
//   colour line ("'$5G' is not a valid integer value"), the lines before it
//   staying appended.
// - Finished with discardEntries: append nothing; raise `error` when set, a
//   FileError (the file cannot be opened or read, or "Invalid UTF7").
//   Without an error the text was void (UTF-8 with a broken sequence), which
//   adds nothing and says nothing.
// - Cancelled: append nothing, say nothing.
// - TooMany: append nothing; tell the user the list's capacity.
// The outcome of a bad line or of a text that may still turn void is settled
// only at the end of the file, since a later read error, broken UTF-8 or
// malformed UTF-7 overrides it; until then the file is read on, decoded where
// decoding can still void the text, but no longer parsed. TooMany stops at the
// first colour line past the limit, whatever the rest of the file holds.
struct ColourListReadResult {
    enum class Status { Finished, Cancelled, TooMany } status = Status::Finished;
    bool discardEntries = false;
    std::exception_ptr error;

    bool appendsEntries() const { return status == Status::Finished && !discardEntries; }
};

// Called on the reading thread. An exception they throw ends the reading and
// is passed on to the caller.
struct ColourListReadHooks {
    // Each full block, and at the end the last partial one. Nothing is
    // delivered after an outcome that appends nothing has been settled.
    std::function<void(ColourBlock &&)> deliver;
    // After each read; fileSize is 0 for a file that does not tell its size
    // (files of /proc), so bytesRead may pass it.
    std::function<void(qint64 bytesRead, qint64 fileSize)> progress;
    // Asked before each read.
    std::function<bool()> cancelRequested;
    // Called just before the file is opened.
    std::function<void()> beforeOpen;
};

ColourListReadResult readColourListFile(const QString &fileName, const ColourListReadHooks &hooks,
                                        const ColourListReadOptions &options = {});

// A colour line, six UTF-16 units, as a colour number. Each pair is read as "$"
// and its two characters, so a bad pair throws ConversionError with
// the message that names it.
ColourNumber colourOfColourLine(QStringView line);

} // namespace tonfang
