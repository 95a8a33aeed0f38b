#include "store/FileHead.h"

#include <QFile>
#include <array>
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

bool CryptFileHead(const QString& path)
{
    if (path.isEmpty() || !QFile::exists(path))
        return true;
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    unsigned char head[kFileHeadLength];
    const ssize_t got = ::pread(fd, head, sizeof head, 0);
    bool ok = got >= 0;
    if (ok && got > 0) {
        for (ssize_t i = 0; i < got; ++i)
            head[i] = kReverse[head[i]];
        ok = ::pwrite(fd, head, static_cast<size_t>(got), 0) == got && ::fdatasync(fd) == 0;
    }
    ::close(fd);
    return ok;
}

} // namespace lexora
