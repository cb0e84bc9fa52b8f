#pragma once
// Root's powers that a test of an ordinary user's limits gives up, and a file
// system of a test's own.

#include <QFile>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <unistd.h>

// While it lives, the calling thread meets file permissions like any user.
// Capabilities belong to a thread, so nothing else changes.
class WithoutPermissionOverrides {
public:
    WithoutPermissionOverrides()
    {
        ::syscall(SYS_capget, &m_header, m_saved);
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            reduced[capability / 32].effective &= ~(1u << (capability % 32));
        ::syscall(SYS_capset, &m_header, reduced);
    }
    ~WithoutPermissionOverrides() { ::syscall(SYS_capset, &m_header, m_saved); }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
};

// While it lives, the calling thread acts as user and group `nobody`, without
// root's powers and groups; its saved user stays root, for asRoot(). The rest
// of the process is left as it is.
struct AsNobody {
    static constexpr uid_t id = 65534;
    AsNobody() { become(id, 0, nullptr); }
    ~AsNobody() { become(0, count, groups); }
    static void asRoot(const auto &action) { become(0), action(), become(id); }
    static void become(uid_t user, int groupCount = -1, const gid_t *groupList = nullptr)
    {
        ::syscall(SYS_setresuid, -1, 0, -1); // root again, to set the rest
        if (groupCount >= 0)
            ::syscall(SYS_setgroups, groupCount, groupList);
        ::syscall(SYS_setresgid, -1, user, -1), ::syscall(SYS_setresuid, -1, user, -1);
    }
    gid_t groups[64]{};
    int count = std::max(0, ::getgroups(64, groups));
};

// Mounts a tmpfs on `folder` in a mount namespace of the calling thread's own,
// seen by no one else. Gives an empty text, or why it could not.
inline std::string mountTmpfs(const QString &folder, const char *options)
{
    static const int unshared =
        ::unshare(CLONE_NEWNS) == 0
                && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
            ? 0
            : errno;
    if (unshared != 0)
        return std::string("no mount namespace of its own: ") + std::strerror(unshared);
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options) != 0)
        return std::string("cannot mount a tmpfs: ") + std::strerror(errno);
    return {};
}
