#include "media/AtomicFile.h"

#include "store/FileHead.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace lexora {

namespace {

class Fd
{
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    bool closeChecked()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return ::fdatasync(fd) == 0;
}

void syncFolder(const QByteArray& dir)
{
    Fd fd(::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

enum class Outcome
{
    Done,
    Failed,
    Unsupported
};

// An unnamed file needs no clean-up when we die before naming it. linkat cannot replace, so an
// existing target goes first; the caller's source keeps the content whole meanwhile.
Outcome linkUnnamedFile(const QByteArray& dir, const QByteArray& target, const QByteArray& content)
{
    Fd fd(::open(dir.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644));
    if (fd.get() < 0)
        return errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL ? Outcome::Unsupported
                                                                         : Outcome::Failed;
    if (!writeAll(fd.get(), content))
        return Outcome::Failed;
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd.get());
    if (::unlink(target.constData()) != 0 && errno != ENOENT)
        return Outcome::Failed;
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, target.constData(), AT_SYMLINK_FOLLOW) != 0)
        return errno == ENOENT || errno == EPERM ? Outcome::Unsupported : Outcome::Failed;
    return Outcome::Done;
}

// Where unnamed files are not offered: a hidden temporary beside the target, renamed over it. One that
// a crash left behind is truncated and reused by the next attempt.
bool renameTemporaryFile(const QString& target, const QByteArray& content)
{
    const QFileInfo info(target);
    const QByteArray temp = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                                              QStringLiteral(".part"));
    Fd fd(::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (fd.get() < 0)
        return false;
    if (!writeAll(fd.get(), content) || !fd.closeChecked() ||
        ::rename(temp.constData(), QFile::encodeName(target).constData()) != 0) {
        ::unlink(temp.constData());
        return false;
    }
    return true;
}

} // namespace

std::optional<QByteArray> ReadWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool ReplaceMediaFile(const QString& source, const QString& target, const QByteArray& content)
{
    const QByteArray dir = QFile::encodeName(QFileInfo(target).absolutePath());
    const QByteArray nativeTarget = QFile::encodeName(target);
    Outcome outcome = linkUnnamedFile(dir, nativeTarget, content);
    if (outcome == Outcome::Unsupported)
        outcome = renameTemporaryFile(target, content) ? Outcome::Done : Outcome::Failed;
    if (outcome != Outcome::Done)
        return false;
    // The new name must be on disk before the old content goes.
    syncFolder(dir);
    ::unlink(QFile::encodeName(source).constData());
    return true;
}

bool TransformMediaFile(const QString& source, const QString& target)
{
    std::optional<QByteArray> bytes = ReadWholeFile(source);
    if (!bytes)
        return false;
    CryptBytesHead(*bytes);
    return ReplaceMediaFile(source, target, *bytes);
}

} // namespace lexora
