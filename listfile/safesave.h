#pragma once
// Saving a file so that it is never left half written: the new content goes to
// a temporary file beside the old one and takes its place once complete, or,
// where that cannot be, is written in place after its space is reserved.
//
// Not QSaveFile: it cannot give the new file the old one's access control
// list, extended attributes or owner, cannot write in place where the folder
// is read-only, and replaces a symbolic link by a plain file.

#include "listfile/fileaccess.h"
#include "listfile/textencoding.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace tonfang {

// Appends the next piece of the file's bytes to `piece` (empty on each call);
// returns whether more follow.
using BytePieces = std::function<bool(QByteArray &piece)>;
// What a long save is told and tells back. Both may be empty; they are called
// on the thread that saves.
struct SaveControl {
    std::function<bool()> cancelRequested;            // polled between pieces
    std::function<void(qint64 bytesWritten)> written; // progress
    // Called once the temporary file exists, before anything is written to it.
    std::function<void(const QByteArray &temporaryPath)> temporaryCreated = {};
};

// Writes the bytes to `fileName`, replacing it only once the new content is
// complete (through a temporary file beside it). `totalBytes` is the exact size
// of the new content, or -1 when unknown. Returns false, leaving everything as
// it was, when cancelled. Throws FileError with the "Cannot create file"
// message (full path, system's reason) on any failure; the old file is then
// byte for byte as it was and no temporary file remains.
//
// Where no temporary file can be made beside an existing file (a writable file
// in a read-only folder, no inodes left), the file is written in place, but
// only once the space for all of `totalBytes` is reserved; with the size
// unknown the save is refused instead. Once writing in place has begun it runs
// to the end whatever cancelRequested says.
//
// A replaced file keeps its owner, group, mode, access control list and
// extended attributes, and the new content is never open to anyone the old
// file was closed to. Where these cannot be given to a new file (the user may
// not give it the old group or owner), or the folder's sticky bit refuses the
// rename, the file is written in place too. A symbolic link stays one and the
// file it leads to is replaced, or created when the link dangles.
bool saveBytesAtomically(const QString &fileName, const BytePieces &next, qint64 totalBytes,
                         const SaveControl &control = {});

// Makes the file size limit an error of the write that reaches it instead of a
// signal that ends the program. Called at program start; every save calls it
// too, so it need not be relied on. Safe to call more than once.
void ignoreFileSizeSignal();

// Appends the next piece of a text to `piece` (empty on each call) and returns
// whether more pieces follow.
using TextPieces = std::function<bool(QString &piece)>;
// Writes a text made piece by piece, so that a long text is never held whole,
// neither as text nor as bytes, in the locale's encoding without a mark (any
// other encoding is refused with false). Picture file names (.bmp, .gif, .jpg,
// .jpeg in any case) are refused with false and nothing is touched. Otherwise as
// saveBytesAtomically: `totalBytes` is the exact size of the encoded text, or -1
// when unknown (then a file in a read-only folder cannot be replaced).
bool saveWideTextPieces(const TextPieces &nextPiece, const QString &fileName, TextEncoding encoding,
                        qint64 totalBytes = -1, const SaveControl &control = {});

} // namespace tonfang
