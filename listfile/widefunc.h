#pragma once
// Text files in any of the common Unicode encodings, held as UTF-16 QStrings:
// splitting, finding a file's encoding from its byte-order mark, loading and
// saving. The colour list file is read and written through these routines.

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <stdexcept>

class QFile;

// Raised when a file cannot be opened, created or decoded; what() is the text
// the user is shown.
class WideFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Encoding identifiers, as passed to SaveWideTextFile and returned by
// DetectTextEncoding. "Ansi" is the locale's encoding, used for files without
// a byte-order mark.
enum TextEncoding : int {
    EncodingAnsi = 0,
    EncodingUtf8 = 65001,
    EncodingUtf7 = 65000,
    EncodingUtf32LE = 65005,
    EncodingUtf32BE = 65006,
    EncodingUtf16LE = 1200,
    EncodingUtf16BE = 1201,
};

// Fills `parts` (appended to) with the pieces of `text` between separators and
// returns their number. A text ending with the separator gives an empty last
// piece, an empty text one empty piece; an empty separator does not split.
qsizetype SplitWide(QStringList &parts, QStringView separator, QStringView text);
// The same, with views into `text` that copy nothing (they live as long as the
// text does): what a long file is split with.
qsizetype SplitWide(QList<QStringView> &parts, QStringView separator, QStringView text);

// The encoding of a file, from its first bytes. Throws WideFileError when the
// file cannot be opened.
int DetectTextEncoding(const QString &fileName);
// The same decision for a file's first bytes and its size in bytes.
int detectTextEncoding(QByteArrayView head, qint64 fileSize);

// The whole content of a file as text, decoded by its byte-order mark. Throws
// WideFileError when the file cannot be opened or is malformed UTF-7.
QString LoadWideTextFile(const QString &fileName);
// The same for a file's bytes already in memory.
QString decodeWideText(QByteArrayView bytes);

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
// it was, when cancelled. Throws WideFileError with the "Cannot create file"
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

// Writes `text` in the locale's encoding (EncodingAnsi, without a mark; any
// other encoding is refused with false). Picture file names (.bmp, .gif, .jpg,
// .jpeg in any case) are refused with false and nothing is touched. Otherwise
// as saveBytesAtomically.
bool SaveWideTextFile(const QString &text, const QString &fileName, int encoding);

// Appends the next piece of a text to `piece` (empty on each call) and returns
// whether more pieces follow.
using TextPieces = std::function<bool(QString &piece)>;
// SaveWideTextFile for a text made piece by piece, so that a long text is never
// held whole, neither as text nor as bytes. `totalBytes` is the exact size of the
// encoded text, or -1 when unknown (then a file in a read-only folder cannot be
// replaced). Returns false when cancelled.
bool saveWideTextPieces(const TextPieces &nextPiece, const QString &fileName, int encoding,
                        qint64 totalBytes = -1, const SaveControl &control = {});

// One code point as UTF-16: one unit or a surrogate pair; "?" for a value that
// is no Unicode scalar value (a surrogate or above U+10FFFF).
QString CodePointToWide(std::uint32_t codePoint);

// For reading a text file piece by piece with the outcomes of LoadWideTextFile.
// Opens the file for reading; devices, pipes and folders are refused with
// WideFileError, as is a file that cannot be opened. The file opened is the one
// checked; `beforeOpen`, when given, is called just before the open.
void openWideTextFile(QFile &file, const std::function<void()> &beforeOpen = {});
// A file that could not be read to its end: the message of one that cannot be
// opened, with the system's reason.
WideFileError wideFileReadError(const QString &fileName, const QFile &file);
// A UTF-7 text that does not decode.
WideFileError invalidUtf7Error();
// How many bytes of mark an encoding skips before its text.
qsizetype encodingMarkLength(int encoding);
