// The stored result text of a word ("tests|errors|rights") and the 16-bit reading of stored numbers.
#include "store/Records.h"

#include <cstdlib>

using namespace lexora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CWordType word;
    word.Result = text;
    bool number = false;
    const int score = word.GetWordResult().toInt(&number);
    // The counters are 16-bit, so the score stays within what their sums and differences give.
    if (!number || score < -70000 || score > 70000)
        std::abort();
    // What is written back reads back the same.
    word.SetWordResultString();
    CWordType again;
    again.Result = word.Result;
    again.GetWordResult();
    if (again.testNum != word.testNum || again.errNum != word.errNum || again.rightNum != word.rightNum)
        std::abort();
    ToInt16(QVariant(text));
    return 0;
}
