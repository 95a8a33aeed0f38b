#include "store/FileHead.h"

#include <QFile>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace lexora {

namespace {

constexpr std::array<unsigned char, 256> makeReverseTable()
{
    std::array<unsigned char, 256> table{};
    for (int b = 0; b < 256; ++b) {
        unsigned char r = 0;
        for (int k = 0; k < 8; ++k) {
            if (b & (1 << k))
                r |= static_cast<unsigned char>(1 << (7 - k));
        }
        table[static_cast<size_t>(b)] = r;
    }
    return table;
}

constexpr auto kReverse = makeReverseTable();

} // namespace

unsigned char ReverseBits(unsigned char byte)
{
    return kReverse[byte];
}

void CryptBytesHead(QByteArray& bytes)
{
    const qsizetype n = std::min<qsizetype>(bytes.size(), kFileHeadLength);
    for (qsizetype i = 0; i < n; ++i)
        bytes[i] = static_cast<char>(kReverse[static_cast<unsigned char>(bytes[i])]);
}

bool CryptFileHead(const QString& path, int* error)
{
    if (path.isEmpty() || !QFile::exists(path))
        return true;
    const auto fail = [error] {
        if (error)
            *error = errno;
        return false;
    };
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return fail();
    unsigned char head[kFileHeadLength];
    const ssize_t got = ::pread(fd, head, sizeof head, 0);
    bool ok = got >= 0;
    if (ok && got > 0) {
        for (ssize_t i = 0; i < got; ++i)
            head[i] = kReverse[head[i]];
        const ssize_t put = ::pwrite(fd, head, static_cast<size_t>(got), 0);
        // A short write sets no errno; the disk had no room for the rest.
        if (put >= 0 && put != got)
            errno = ENOSPC;
        ok = put == got && ::fdatasync(fd) == 0;
    }
    if (!ok)
        fail();
    ::close(fd);
    return ok;
}

} // namespace lexora
