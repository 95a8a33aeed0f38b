#include "SmallDisk.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lexora::test {

SmallDisk::SmallDisk(qint64 bytes) : m_path(m_dir.filePath(QStringLiteral("disk")))
{
    if (!m_dir.isValid() || ::geteuid() != 0 || ::mkdir(QFile::encodeName(m_path).constData(), 0777) != 0)
        return;
    const QByteArray options = "size=" + QByteArray::number(bytes);
    m_mounted = ::unshare(CLONE_NEWNS) == 0 &&
                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                ::mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
}

bool SmallDisk::fill(qint64 room)
{
    const QByteArray filler = QFile::encodeName(m_path + QStringLiteral("/filler"));
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const QByteArray block(4096, '\0');
    while (::write(fd, block.constData(), static_cast<size_t>(block.size())) > 0) {
    }
    const bool full = errno == ENOSPC;
    struct stat info = {};
    const bool ok =
        full && ::fstat(fd, &info) == 0 && ::ftruncate(fd, std::max<off_t>(0, info.st_size - room)) == 0;
    ::close(fd);
    return ok;
}

} // namespace lexora::test
