#pragma once
// A POSIX file descriptor that is closed when it goes, and a write loop that
// writes all of a buffer through short writes and interruptions.

#include <string_view>

namespace tonfang {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    // Closes the one held and takes `fd` instead.
    void reset(int fd = -1)
    {
        close();
        m_fd = fd;
    }
    int get() const { return m_fd; }
    // Hands the descriptor over to whoever closes it instead.
    void release() { m_fd = -1; }
    explicit operator bool() const { return m_fd >= 0; }
    // 0, or -1 with errno set.
    int close();

private:
    int m_fd;
};

// How writeAll writes: to a socket without the SIGPIPE of a peer that has gone.
enum class WriteTo { File, Socket };

// Writes all of `bytes`; gives 0 or the system's error number.
int writeAll(int fd, std::string_view bytes, WriteTo target = WriteTo::File);

} // namespace tonfang
