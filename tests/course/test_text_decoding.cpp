#include "MediaTestKit.h"
#include "course/CourseImport.h"
#include "course/TextDecoding.h"

#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
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

// The list as a program saves it in the encoding; ICU's "UTF-16" starts with a byte order mark.
QByteArray savedAs(const char* text, const char* encoding)
{
    QByteArray bytes(static_cast<qsizetype>(std::strlen(text)) * 4 + 16, '\0');
    UErrorCode status = U_ZERO_ERROR;
    bytes.truncate(
        ucnv_convert(encoding, "UTF-8", bytes.data(), static_cast<int32_t>(bytes.size()), text, -1, &status));
    return U_SUCCESS(status) ? bytes : QByteArray();
}

// "error LINE: message" or the course source written from the list.
QString imported(const QString& path)
{
    const ImportResult result = ImportCourse(path, {});
    if (const auto* error = std::get_if<CourseError>(&result))
        return QStringLiteral("error %1: %2").arg(error->line).arg(error->message);
    // Every import is a new course with a new identity; the texts are compared without it.
    CourseImport course = std::get<CourseImport>(result);
    course.course.courseId = QStringLiteral("same-course");
    return CourseSourceText(course, path, QFileInfo(path).absolutePath());
}

struct EncodingCase
{
    const char* name;
    QByteArray bytes;
    const char* list;     // the same list in UTF-8, or nothing when the file is refused
    const char* reported; // the encoding named, or the start of the refusal
};

void PrintTo(const EncodingCase& c, std::ostream* os)
{
    *os << c.name;
}

class Encodings : public ::testing::TestWithParam<EncodingCase>
{};

// A list in any encoding a Chinese desktop saves becomes the course source of its UTF-8 form; what
// no encoding reads as Chinese text, or two read alike, is refused with how to save it as UTF-8.
TEST_P(Encodings, ReadTheListOrRefuseItWithTheHint)
{
    const EncodingCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.csv"));
    test::WriteFile(path, c.bytes);
    const QString result = imported(path);
    if (!c.list) {
        EXPECT_TRUE(result.startsWith(QLatin1String(c.reported))) << result.toStdString();
        EXPECT_TRUE(result.contains(QLatin1String("\"CSV UTF-8 (Comma delimited)\"")))
            << result.toStdString();
        return;
    }
    const auto read = ImportCourse(path, {});
    ASSERT_TRUE(std::holds_alternative<CourseImport>(read)) << result.toStdString();
    EXPECT_EQ(std::get<CourseImport>(read).encoding, QLatin1String(c.reported));
    test::WriteFile(path, QByteArray(c.list));
    EXPECT_EQ(result.toStdString(), imported(path).toStdString());
}

const char* const kRefused = "error 2: not text in UTF-8, UTF-16, GB18030/GBK or Big5";

// clang-format off
INSTANTIATE_TEST_SUITE_P(TextDecoding, Encodings, ::testing::Values(
    EncodingCase{"Utf16", savedAs(kSimplified, "UTF-16"), kSimplified, "UTF-16"},
    EncodingCase{"Gbk", savedAs(kSimplified, "GBK"), kSimplified, "GBK"},
    EncodingCase{"Gb18030BeyondGbk", savedAs(kBeyondGbk, "GB18030"), kBeyondGbk, "GB18030"},
    EncodingCase{"Big5", savedAs(kTraditional, "Big5"), kTraditional, "Big5"},
    EncodingCase{"TraditionalSavedAsGbk", savedAs(kTraditional, "GBK"), kTraditional, "GBK"},
    EncodingCase{"Latin1AccentsInsideWords", "English,German\nM\xE4" "dchen,girl\nsch\xF6" "n,beautiful\n", nullptr, kRefused},
    EncodingCase{"Latin1AccentAtTheEndOfAWord", "English,French\ntea,th\xE9\ncoffee,caf\xE9\n", nullptr, kRefused},
    EncodingCase{"Utf8WithGbkLinesMixedIn", "English,Chinese\ncat,猫\ndog,\xB9\xB7\n", nullptr, "error 3: not text in UTF-8"},
    EncodingCase{"Binary", QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\x01\0\0\0\x01\0\x08\x06\0\0\0\x5C\x72\xA8\x66", 33),
        nullptr, "error 1: not text in UTF-8"},
    EncodingCase{"TooShortToTellGbkFromBig5", "English,Chinese\ncat,\xB9\xB7\n", nullptr,
        "error 2: not UTF-8 text, and it reads as GBK and as Big5 alike"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A list too short to tell is read in the encoding its author names, strictly: bytes that encoding has
// no character for are refused with their line.
TEST(TextDecoding, ANamedEncodingIsReadStrictly)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        const char* encoding;
        const char* text; // nullptr: refused at line
        int line;
    };
    const Case cases[] = {
        {"short GBK list", "English,Chinese\r\ncat,\xB9\xB7\r\n", "gbk", "English,Chinese\ncat,狗\n", 0},
        {"not GBK at its third line", "a,b\nc,d\ne,\x80\xFF\n", "GBK", nullptr, 3},
        {"GBK bytes named UTF-8", "cat,\xB9\xB7\n", "UTF-8", nullptr, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = DecodeWordListText(c.bytes, QLatin1String(c.encoding));
        if (c.text) {
            ASSERT_TRUE(std::holds_alternative<DecodedText>(read))
                << qPrintable(std::get<CourseError>(read).message);
            EXPECT_EQ(std::get<DecodedText>(read).text, QString::fromUtf8(c.text));
        } else {
            ASSERT_TRUE(std::holds_alternative<CourseError>(read));
            EXPECT_EQ(std::get<CourseError>(read).line, c.line)
                << qPrintable(std::get<CourseError>(read).message);
        }
    }
}

} // namespace
