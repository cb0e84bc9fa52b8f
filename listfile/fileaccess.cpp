#include "listfile/fileaccess.h"

#include "core/filedescriptor.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

namespace tonfang {

namespace {

FileError fileError(const char16_t *format, const QString &fileName, const QString &reason)
{
    const QString path = QFileInfo(fileName).absoluteFilePath();
    return FileError(QString::fromUtf16(format).arg(path, reason).toStdString());
}

} // namespace

FileError cannotOpenError(const QString &fileName, const QString &reason)
{
    return fileError(u"Cannot open file \"%1\". %2", fileName, reason);
}

FileError cannotCreateError(const QString &fileName, const QString &reason)
{
    return fileError(u"Cannot create file \"%1\". %2", fileName, reason);
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString notRegularFileReason()
{
    return QStringLiteral("Not a regular file");
}

// Devices, pipes and folders are refused: reading one could block for good or
// never end. The check is made on the file opened, not on its name, and the
// open itself does not wait, so that a pipe put in the name's place meanwhile
// cannot hold it either.
void openForReading(QFile &file)
{
    const auto refused = [&file](int error) {
        return cannotOpenError(file.fileName(), systemReason(error));
    };
    FileDescriptor fd(::open(QFile::encodeName(file.fileName()).constData(),
                             O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0)
        throw refused(errno);
    if (S_ISDIR(info.st_mode))
        throw refused(EISDIR);
    if (!S_ISREG(info.st_mode))
        throw cannotOpenError(file.fileName(), notRegularFileReason());
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        throw refused(errno);
    if (!file.open(fd.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        throw cannotOpenError(file.fileName(), file.errorString());
    fd.release();
}

} // namespace tonfang
