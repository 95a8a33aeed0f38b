#include "media/AtomicFile.h"

#include "store/FileHead.h"
#include "store/FileMoves.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
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
    return WriteAll(fd, bytes.constData(), bytes.size()) && ::fdatasync(fd) == 0;
}

void syncFolder(const QByteArray& dir)
{
    Fd fd(::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

// The hidden name a new content takes beside its target until it is renamed over it. A crash in
// between leaves it behind; the next replace of either form of the file clears it.
QByteArray partName(const QString& path)
{
    const QFileInfo info(path);
    return QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                             QStringLiteral(".part"));
}

// Writes content under the part name: first as an unnamed file, so a crash while writing leaves
// nothing; where unnamed files are not offered, straight into the named one.
bool writePart(const QByteArray& dir, const QByteArray& part, const QByteArray& content)
{
    if (::unlink(part.constData()) != 0 && errno != ENOENT)
        return false;
    Fd unnamed(::open(dir.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644));
    if (unnamed.get() >= 0) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(unnamed.get());
        if (!writeAll(unnamed.get(), content))
            return false;
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, part.constData(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != ENOENT && errno != EPERM)
            return false;
    } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        return false;
    }
    Fd named(::open(part.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (named.get() < 0)
        return false;
    if (!writeAll(named.get(), content) || !named.closeChecked()) {
        ::unlink(part.constData());
        return false;
    }
    return true;
}

} // namespace

std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes, QString* why)
{
    const auto fail = [why](const QString& reason) {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    const auto failErrno = [&fail] { return fail(QString::fromLocal8Bit(std::strerror(errno))); };
    // Not blocking: opening a FIFO for reading would otherwise wait for a writer forever.
    const Fd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        return failErrno();
    struct stat info;
    if (::fstat(fd.get(), &info) != 0)
        return failErrno();
    if (!S_ISREG(info.st_mode))
        return fail(QStringLiteral("not a regular file"));
    if (info.st_size > maxBytes)
        return fail(QStringLiteral("%1 bytes, more than the %2 read").arg(info.st_size).arg(maxBytes));
    QByteArray bytes(static_cast<qsizetype>(info.st_size), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + got, static_cast<size_t>(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failErrno();
        if (n == 0)
            break; // shrank while being read: what is there
        got += n;
    }
    bytes.truncate(got);
    return bytes;
}

std::optional<QByteArray> ReadWholeFile(const QString& path)
{
    return ReadRegularFile(path, std::numeric_limits<qsizetype>::max());
}

bool ReplaceMediaFile(const QString& source, const QString& target, const QByteArray& content,
                      const ReplaceCheckpoint& checkpoint)
{
    const QByteArray dir = QFile::encodeName(QFileInfo(target).absolutePath());
    const QByteArray part = partName(target);
    if (!writePart(dir, part, content))
        return false;
    if (checkpoint && !checkpoint(ReplaceStep::NewContentWritten))
        return false;
    // The one step that changes what the target's name holds: the old content or the new, whole.
    if (::rename(part.constData(), QFile::encodeName(target).constData()) != 0) {
        ::unlink(part.constData());
        return false;
    }
    // The new name must be on disk before the old content goes.
    syncFolder(dir);
    if (checkpoint && !checkpoint(ReplaceStep::TargetReplaced))
        return false;
    ::unlink(partName(source).constData());
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
