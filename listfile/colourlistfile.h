#pragma once
// The colour list file: one colour per line as six upper-case hexadecimal digits
// (red, green, blue), every line ended with CR LF, in the locale's encoding.
// Reading accepts any encoding that DetectTextEncoding recognises.

#include "editor/colourlist.h"
#include "listfile/colourlistreader.h"
#include "listfile/safesave.h"

#include <QString>

#include <vector>

class ColourListModel;

namespace tonfang {

// The size in bytes of the file of so many colours: "RRGGBB" and CR LF each.
qint64 colourListFileSize(qint64 colours);
// Writes the colours of a list to a file; labels are not stored. Returns false
// without touching anything when the name has a picture extension or the save
// was cancelled; throws FileError when it cannot be written. The old file is
// replaced only by a complete new one.
bool saveColourListFile(const ColourListSnapshot &colours, const QString &fileName,
                        const SaveControl &control = {});

// Opening a file: the reader's options for this list, whose room ends at the
// list's capacity.
ColourListReadOptions colourListReadOptions(const ColourListModel &model);
// Appends what a reading delivered in one step, or nothing, as its outcome
// says, and raises the error the user is to see: a bad line's (the lines
// before it appended), the file's, or the full list's. A cancelled reading
// adds nothing and says nothing.
void settleColourListOpening(ColourListModel &model, std::vector<ColourBlock> blocks,
                             const ColourListReadResult &result);
// Appends the colours of a file to the end of the list, all in one insertion,
// read on this thread.
void appendColourListFile(ColourListModel &model, const QString &fileName);

} // namespace tonfang
