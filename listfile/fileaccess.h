#pragma once
// Opening a file for reading without being held up by what stands in its
// place, and the messages of a file that cannot be read or written.

#include <QString>

#include <stdexcept>

class QFile;

namespace tonfang {

// Raised when a file cannot be opened, created, read or decoded; what() is the
// text the user is shown.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Cannot open file" and "Cannot create file", with the full path and `reason`.
FileError cannotOpenError(const QString &fileName, const QString &reason);
FileError cannotCreateError(const QString &fileName, const QString &reason);
// The system's text for an error number, and the reason given for a device,
// pipe or socket where a file was expected.
QString systemReason(int error);
QString notRegularFileReason();

// Opens the file for reading; devices, pipes and folders are refused with
// FileError, as is a file that cannot be opened. The file opened is the one
// checked.
void openForReading(QFile &file);

} // namespace tonfang
