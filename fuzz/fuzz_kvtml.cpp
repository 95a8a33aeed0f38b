// The KVTML reader: any bytes are a word list or an error, however deep the nesting.
#include "course/ImportKvtml.h"

using namespace lexora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ReadKvtml(bytes, {});
    // The same file with its languages picked by name and by number.
    ReadKvtml(bytes, {QStringLiteral("English"), QStringLiteral("2"), {}, 10});
    return 0;
}
