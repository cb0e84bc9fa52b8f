#include "core/filedescriptor.h"

#include <cerrno>

#include <sys/socket.h>
#include <unistd.h>

namespace tonfang {

int FileDescriptor::close()
{
    const int result = m_fd >= 0 ? ::close(m_fd) : 0;
    m_fd = -1;
    return result;
}

int writeAll(int fd, std::string_view bytes, WriteTo target)
{
    const char *data = bytes.data();
    for (std::size_t left = bytes.size(); left > 0;) {
        const ssize_t count = target == WriteTo::Socket ? ::send(fd, data, left, MSG_NOSIGNAL)
                                                         : ::write(fd, data, left);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (count == 0)
            return EIO;
        data += count;
        left -= std::size_t(count);
    }
    return 0;
}

} // namespace tonfang
