// The head transform of files at rest is its own inverse and touches nothing past its 72 bytes.
#include "store/FileHead.h"

#include <cstdlib>

using namespace lexora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray original(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QByteArray bytes = original;
    CryptBytesHead(bytes);
    if (bytes.size() != original.size() || bytes.mid(kFileHeadLength) != original.mid(kFileHeadLength))
        std::abort();
    CryptBytesHead(bytes);
    if (bytes != original)
        std::abort();
    return 0;
}
