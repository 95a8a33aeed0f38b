#include "MediaTestKit.h"
#include "course/CourseBuilder.h"
#include "course/CourseImport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lexora;

namespace {

const char* const kTitledKvtml = R"(<kvtml version="2.0"><information><title>Animals</title></information>
<identifiers><identifier id="0"><name>English</name></identifier><identifier id="1"><name>Chinese</name></identifier></identifiers>
<entries><entry id="0"><translation id="0"><text>cat</text></translation><translation id="1"><text>猫</text></translation></entry></entries>
</kvtml>)";

struct NamingCase
{
    const char* name;
    const char* file;
    const char* content;
    const char* courseOption;
    const char* bookOption;
    const char* course;  // the course's name
    const char* stored;  // as the database keeps it
    QStringList books;   // the books' names in order
    bool namedAfterFile; // the author is asked for a name
    bool bookAfterFile;  // and for a book's
    const char* note;    // a note that must be among the notes; empty: none
};

void PrintTo(const NamingCase& c, std::ostream* os)
{
    *os << c.name;
}

class Naming : public ::testing::TestWithParam<NamingCase>
{};

TEST_P(Naming, NamesTheCourseAndItsBooks)
{
    const NamingCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromUtf8(c.file));
    test::WriteFile(path, QByteArray(c.content));
    ImportOptions options;
    options.course = QString::fromUtf8(c.courseOption);
    options.book = QString::fromUtf8(c.bookOption);

    const ImportResult result = ImportCourse(path, options);
    ASSERT_TRUE(std::holds_alternative<CourseImport>(result))
        << std::get<CourseError>(result).message.toStdString();
    const CourseImport& imported = std::get<CourseImport>(result);
    EXPECT_EQ(imported.course.versionName, QString::fromUtf8(c.course));
    QStringList books;
    for (const CourseBook& book : imported.course.books)
        books << book.name;
    EXPECT_EQ(books, c.books);
    EXPECT_EQ(imported.namedAfterFile, c.namedAfterFile);
    EXPECT_EQ(imported.bookNamedAfterFile, c.bookAfterFile);
    // The caption glues the name to "Lexora -- ": a Latin name keeps a blank, a Chinese one none.
    EXPECT_EQ(StoredVersionName(imported.course.versionName), QString::fromUtf8(c.stored));
    QStringList notes;
    for (const CourseError& note : imported.notes)
        notes << note.message;
    if (*c.note) {
        EXPECT_TRUE(notes.join('\n').contains(QString::fromUtf8(c.note))) << notes.join('\n').toStdString();
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(CourseImport, Naming, ::testing::Values(
    NamingCase{"FileNameReadAsWords", "grade3_words.csv", "English,Chinese\ncat,猫\n", "", "",
        "grade3 words", "grade3 words ", {"grade3 words"}, true, true, ""},
    NamingCase{"CourseNameGiven", "teacher.csv", "English,Chinese\ncat,猫\n", "三年级英语（王老师）", "",
        "三年级英语（王老师）", "三年级英语（王老师）", {"teacher"}, false, true, ""},
    NamingCase{"BookColumnWinsWhereFilled", "teacher.csv", "English,Chinese,Book\ncat,猫,上册\ndog,狗,\n", "", "下册",
        "teacher", "teacher ", {"上册", "下册"}, true, false, ""},
    NamingCase{"VocabularyTitleWins", "animals.kvtml", kTitledKvtml, "My course", "",
        "Animals", "Animals ", {"Animals"}, false, false, "the file's own title \"Animals\" names the course"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

} // namespace
