#include "store/FileMoves.h"

#include "store/ErrorText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace lexora {

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

void syncFolderOf(const QString& path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool WriteAll(int fd, const char* data, long long size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

bool SyncFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && ::fsync(file.handle()) == 0;
}

bool ReplaceFile(const QString& from, const QString& to, QString* error)
{
    std::error_code code;
    std::filesystem::rename(QFile::encodeName(from).toStdString(), QFile::encodeName(to).toStdString(), code);
    if (code) {
        *error = QStringLiteral("无法把 %1 改名为 %2：%3")
                     .arg(native(from), native(to), QString::fromStdString(code.message()));
        return false;
    }
    syncFolderOf(to);
    return true;
}

bool CopyFileAfresh(const QString& from, const QString& to, QString* error)
{
    const QByteArray target = QFile::encodeName(to);
    const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        *error = QStringLiteral("无法读取 %1：%2").arg(native(from), DescribeFileError(errno));
        return false;
    }
    int fault = 0;
    int out = -1;
    if (::unlink(target.constData()) != 0 && errno != ENOENT)
        fault = errno;
    else if ((out = ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600)) <
             0)
        fault = errno;
    char buffer[64 * 1024];
    while (fault == 0) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            fault = errno;
        else if (got == 0)
            break;
        else if (!WriteAll(out, buffer, got))
            fault = errno;
    }
    if (fault == 0 && ::fsync(out) != 0)
        fault = errno;
    if (out >= 0 && ::close(out) != 0 && fault == 0)
        fault = errno;
    ::close(in);
    if (fault != 0) {
        if (out >= 0)
            ::unlink(target.constData());
        *error = QStringLiteral("无法写入 %1：%2").arg(native(to), DescribeFileError(fault));
        return false;
    }
    return true;
}

} // namespace lexora
