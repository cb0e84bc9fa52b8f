#pragma once
// Powers of root that a test of an ordinary user's limits has to give up, and
// a file system of a test's own.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cerrno>
#include <cstring>
#include <string>

#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <unistd.h>

// While it lives, the calling thread is held to file permissions like any
// user, root or not. Capabilities belong to a thread, so nothing else changes.
class WithoutPermissionOverrides {
public:
    WithoutPermissionOverrides()
    {
        if (::syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            reduced[capability / 32].effective &= ~(1u << (capability % 32));
        m_dropped = ::syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~WithoutPermissionOverrides()
    {
        if (m_dropped)
            ::syscall(SYS_capset, &m_header, m_saved);
    }
    WithoutPermissionOverrides(const WithoutPermissionOverrides &) = delete;
    WithoutPermissionOverrides &operator=(const WithoutPermissionOverrides &) = delete;

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_dropped = false;
};

// Mounts a tmpfs with `options` on `folder`, in a mount namespace of the
// calling thread's own so that no one else sees it. Gives an empty text, or
// why it could not.
inline std::string mountTmpfs(const QString &folder, const char *options)
{
    static const int unshared = [] {
        if (::unshare(CLONE_NEWNS) != 0
            || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return errno;
        return 0;
    }();
    if (unshared != 0)
        return std::string("no mount namespace of its own: ") + std::strerror(unshared);
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options) != 0)
        return std::string("cannot mount a tmpfs: ") + std::strerror(errno);
    return {};
}

inline void unmount(const QString &folder)
{
    ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
}
