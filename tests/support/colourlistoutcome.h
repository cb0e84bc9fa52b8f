#pragma once
// What opening a colour list file leaves behind, read whole (the old way) or as a
// stream: the colours appended and the message shown, for comparing in one go.

#include "editor/colourlist.h"
#include "listfile/colourlistfile.h"
#include "listfile/colourlistreader.h"
#include "tests/support/wholefilereader.h"

#include <exception>
#include <string>
#include <vector>

struct ColourListOutcome {
    std::vector<tonfang::ColourNumber> colours;
    std::string message; // empty when nothing is shown
    friend bool operator==(const ColourListOutcome &, const ColourListOutcome &) = default;
};

inline std::string messageOf(const std::exception_ptr &error)
{
    if (!error)
        return {};
    try {
        std::rethrow_exception(error);
    } catch (const tonfang::FileError &failure) {
        return std::string("file: ") + failure.what();
    } catch (const std::exception &failure) {
        return failure.what();
    }
}

inline ColourListOutcome wholeFileOutcome(const QString &fileName)
{
    ColourListOutcome outcome;
    QString text;
    try {
        text = LoadWideTextFile(fileName);
    } catch (const tonfang::FileError &) {
        outcome.message = messageOf(std::current_exception());
        return outcome;
    }
    const ColourListReading reading = readColourListText(text);
    for (const tonfang::ColourListEntry &entry : reading.entries)
        outcome.colours.push_back(entry.colour);
    outcome.message = messageOf(reading.failure);
    return outcome;
}

// A stream that is not Finished shows up as a message of its own.
inline ColourListOutcome streamedOutcome(const QString &fileName, const tonfang::ColourListReadOptions &options)
{
    std::vector<tonfang::ColourNumber> delivered;
    tonfang::ColourListReadHooks hooks;
    hooks.deliver = [&delivered](tonfang::ColourBlock &&block) {
        delivered.insert(delivered.end(), block.begin(), block.end());
    };
    const tonfang::ColourListReadResult result = tonfang::readColourListFile(fileName, hooks, options);
    ColourListOutcome outcome;
    if (result.appendsEntries())
        outcome.colours = std::move(delivered);
    outcome.message = messageOf(result.error);
    if (result.status != tonfang::ColourListReadResult::Status::Finished)
        outcome.message += "<not finished>";
    return outcome;
}
