#include "course/CourseImport.h"
#include "course/TextDecoding.h"

#include "MediaTestKit.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <unicode/ucnv.h>

using namespace lexora;

namespace {

// A teacher's list as a spreadsheet holds it; the traditional one is what a Big5 desktop saves.
const char* const kSimplified = "English,Chinese\r\ncat,猫\r\ndog,狗\r\nschool,学校\r\nteacher,老师\r\n"
                                "hello,你好\r\nthank you,谢谢\r\nice cream,冰淇淋\r\nred,红色\r\n";
const char* const kTraditional = "English,Chinese\r\ncat,貓\r\ndog,狗\r\nschool,學校\r\nteacher,老師\r\n"
                                 "hello,你好\r\nthank you,謝謝\r\nice cream,冰淇淋\r\nred,紅色\r\n";
// One character beyond GBK, which only GB18030's four-byte sequences hold.
const char* const kBeyondGbk = "English,Chinese\r\ncat,猫\r\ndog,狗\r\nschool,学校\r\nteacher,老师\r\n"
                               "hello,你好\r\nthank you,谢谢\r\nYan,㐀\r\n";

QByteArray encoded(const char* text, const char* encoding)
{
    const QString unicode = QString::fromUtf8(text);
    if (QByteArray(encoding) == "UTF-8")
        return unicode.toUtf8();
    if (QByteArray(encoding) == "UTF-8 BOM")
        return "\xEF\xBB\xBF" + unicode.toUtf8();
    if (QByteArray(encoding) == "UTF-16")
        return QByteArray("\xFF\xFE", 2) +
               QByteArray(reinterpret_cast<const char*>(unicode.utf16()), unicode.size() * 2);
    UErrorCode status = U_ZERO_ERROR;
    QByteArray bytes(unicode.size() * 4 + 16, '\0');
    const int32_t length =
        ucnv_convert(encoding, "UTF-16LE", bytes.data(), static_cast<int32_t>(bytes.size()),
                     reinterpret_cast<const char*>(unicode.utf16()), static_cast<int32_t>(unicode.size() * 2),
                     &status);
    EXPECT_TRUE(U_SUCCESS(status)) << encoding << ": " << u_errorName(status);
    bytes.truncate(length);
    return bytes;
}

QString importedSource(const QString& path)
{
    const ImportResult result = ImportCourse(path, {});
    if (const auto* error = std::get_if<CourseError>(&result))
        return QStringLiteral("error: ") + error->describe(QStringLiteral("list.csv"));
    return CourseSourceText(std::get<CourseImport>(result), path, QFileInfo(path).absolutePath());
}

struct SameListCase
{
    const char* name;
    const char* list;
    const char* encoding; // as ICU names it, or a Unicode form
    const char* reported;
};

void PrintTo(const SameListCase& c, std::ostream* os)
{
    *os << c.name;
}

class SameList : public ::testing::TestWithParam<SameListCase>
{};

// Whatever encoding the list was saved in, it becomes the course source of its UTF-8 form.
TEST_P(SameList, ImportsAsItsUtf8Form)
{
    QTemporaryDir dir;
    const QString reference = dir.filePath(QStringLiteral("utf8/list.csv"));
    const QString saved = dir.filePath(QStringLiteral("saved/list.csv"));
    QDir().mkpath(dir.filePath(QStringLiteral("utf8")));
    QDir().mkpath(dir.filePath(QStringLiteral("saved")));
    test::WriteFile(reference, QByteArray(GetParam().list));
    test::WriteFile(saved, encoded(GetParam().list, GetParam().encoding));

    const QString expected = importedSource(reference).replace(QStringLiteral("utf8/"), QString());
    EXPECT_EQ(importedSource(saved).replace(QStringLiteral("saved/"), QString()), expected);
    const ImportResult result = ImportCourse(saved, {});
    ASSERT_TRUE(std::holds_alternative<CourseImport>(result));
    EXPECT_EQ(std::get<CourseImport>(result).encoding, QLatin1String(GetParam().reported));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(TextDecoding, SameList, ::testing::Values(
    SameListCase{"Utf8", kSimplified, "UTF-8", "UTF-8"},
    SameListCase{"Utf8WithByteOrderMark", kSimplified, "UTF-8 BOM", "UTF-8"},
    SameListCase{"Utf16", kSimplified, "UTF-16", "UTF-16"},
    SameListCase{"Gbk", kSimplified, "GBK", "GBK"},
    SameListCase{"Gb18030", kSimplified, "GB18030", "GBK"},
    SameListCase{"Gb18030BeyondGbk", kBeyondGbk, "GB18030", "GB18030"},
    SameListCase{"Big5", kTraditional, "Big5", "Big5"},
    SameListCase{"TraditionalSavedAsGbk", kTraditional, "GBK", "GBK"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct RefusedCase
{
    const char* name;
    QByteArray bytes;
    int line;
    const char* reason; // the message starts with it
};

void PrintTo(const RefusedCase& c, std::ostream* os)
{
    *os << c.name;
}

class Refused : public ::testing::TestWithParam<RefusedCase>
{};

// What no encoding reads as Chinese text, or two read alike, is refused with how to save it.
TEST_P(Refused, WithTheHintToSaveAsUtf8)
{
    const auto decoded = DecodeWordListText(GetParam().bytes);
    ASSERT_TRUE(std::holds_alternative<CourseError>(decoded))
        << std::get<DecodedText>(decoded).encoding.toStdString() << ": "
        << std::get<DecodedText>(decoded).text.toStdString();
    const CourseError& error = std::get<CourseError>(decoded);
    EXPECT_EQ(error.line, GetParam().line);
    EXPECT_TRUE(error.message.startsWith(QLatin1String(GetParam().reason))) << error.message.toStdString();
    EXPECT_TRUE(error.message.contains(QLatin1String("\"CSV UTF-8 (Comma delimited)\""))) << error.message.toStdString();
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(TextDecoding, Refused, ::testing::Values(
    RefusedCase{"Latin1AccentsInsideWords", "English,German\nM\xE4" "dchen,girl\nsch\xF6" "n,beautiful\n", 2,
        "not text in UTF-8, UTF-16, GB18030/GBK or Big5"},
    RefusedCase{"Latin1AccentAtTheEndOfAWord", "English,French\ntea,th\xE9\ncoffee,caf\xE9\n", 2,
        "not text in UTF-8, UTF-16, GB18030/GBK or Big5"},
    RefusedCase{"Binary", QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\x01\0\0\0\x01\0\x08\x06\0\0\0\x5C\x72\xA8\x66", 33), 1,
        "not text in UTF-8, UTF-16, GB18030/GBK or Big5"},
    RefusedCase{"Utf8WithGbkLinesMixedIn", "cat\t猫\ndog\t\xB9\xB7\n", 2,
        "not text in UTF-8, UTF-16, GB18030/GBK or Big5"},
    RefusedCase{"TooShortToTellGbkFromBig5", "cat,\xB9\xB7\n", 1,
        "not UTF-8 text, and it reads as GBK and as Big5 alike"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

} // namespace
