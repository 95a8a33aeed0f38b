#include "publish/CourseSource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lexora;

namespace {

// A course with one book and one unit, to which each case adds its own lines.
const QString kHead = QStringLiteral("version\t小学英语\tPEP3\n"
                                     "book\t0\t三年级上册\n"
                                     "unit\t0\t0\tUnit 1\n"
                                     "word\t0\t0\thello\t你好\n");

class SourceFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QDir(m_dir.path()).mkpath(QStringLiteral("media"));
        for (const char* name : {"media/cat.jpg", "media/cat.wav"}) {
            QFile file(m_dir.filePath(QLatin1String(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }
    CourseParse parse(const QString& text) const { return ParseCourseSource(text, m_dir.path()); }
    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

    QTemporaryDir m_dir;
};

TEST_F(SourceFiles, ReadsBooksUnitsAndWordsInNumberOrder)
{
    const CourseParse parsed = parse(QStringLiteral("\xFEFF# a comment\r\n"
                                                    "version\t 小学英语（三年级） \tPEP3\r\n"
                                                    "\n"
                                                    "book\t1\t三年级下册\t\t\n"
                                                    "book\t0\t三年级上册\n"
                                                    "unit\t1\t0\tUnit 1 School\n"
                                                    "unit\t0\t1\tUnit 2 Colours\n"
                                                    "unit\t0\t0\tUnit 1 Hello\n"
                                                    "   # indented comment\n"
                                                    "word\t0\t0\t ice cream \t冰淇淋\temoji:🍦\n"
                                                    "word\t0\t1\tcat\t猫\tmedia/cat.jpg\tmedia/cat.wav\n"
                                                    "word\t1\t0\tcat\t猫\tmedia/cat.jpg\tmedia/cat.wav\n"
                                                    "word\t0\t0\tI'm\t我是\n"));
    ASSERT_TRUE(std::holds_alternative<CourseSource>(parsed))
        << std::get<CourseError>(parsed).message.toStdString();
    const auto& course = std::get<CourseSource>(parsed);
    EXPECT_EQ(course.versionName, QStringLiteral("小学英语（三年级）"));
    EXPECT_EQ(course.versionDB, QStringLiteral("PEP3"));
    ASSERT_EQ(course.books.size(), 2u);
    EXPECT_EQ(course.books[0].name, QStringLiteral("三年级上册"));
    EXPECT_EQ(course.books[1].name, QStringLiteral("三年级下册"));
    ASSERT_EQ(course.units.size(), 3u);
    EXPECT_EQ(course.units[0].name, QStringLiteral("Unit 1 Hello"));
    EXPECT_EQ(course.units[1].name, QStringLiteral("Unit 2 Colours"));
    EXPECT_EQ(course.units[2].book, 1);
    ASSERT_EQ(course.words.size(), 4u);
    EXPECT_EQ(course.words[0].english, QStringLiteral("ice cream"));
    EXPECT_EQ(course.words[0].line, 10);
    EXPECT_EQ(course.words[0].picture.kind, CoursePicture::Kind::Emoji);
    EXPECT_EQ(course.words[0].picture.value, QStringLiteral("🍦"));
    EXPECT_TRUE(course.words[0].voiceFile.isEmpty());
    EXPECT_EQ(course.words[1].picture.kind, CoursePicture::Kind::File);
    EXPECT_EQ(course.words[1].picture.value, path("media/cat.jpg"));
    EXPECT_EQ(course.words[1].voiceFile, path("media/cat.wav"));
    EXPECT_EQ(course.words[3].picture.kind, CoursePicture::Kind::None);
}

struct BadSource
{
    const char* name;
    QString lines; // appended to kHead, whose lines are 1 to 4
    int line;
    const char* message;
};

void PrintTo(const BadSource& c, std::ostream* os)
{
    *os << c.name;
}

class BadSources : public SourceFiles, public ::testing::WithParamInterface<BadSource>
{};

TEST_P(BadSources, AreRefusedWithLineAndReason)
{
    const CourseParse parsed = parse(kHead + GetParam().lines);
    ASSERT_TRUE(std::holds_alternative<CourseError>(parsed));
    const CourseError& error = std::get<CourseError>(parsed);
    EXPECT_EQ(error.line, GetParam().line);
    EXPECT_TRUE(error.message.contains(QString::fromUtf8(GetParam().message))) << error.message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    CourseSource, BadSources,
    ::testing::Values(
        BadSource{
            "MissingColumns", QStringLiteral("word\t0\t0\tcat\n"), 5,
            "missing Chinese: a word line has word, book id, unit id, English, Chinese, [picture], [voice]"},
        BadSource{"MissingStem", QStringLiteral("version\tV\n"), 5, "missing table stem"},
        BadSource{"MissingUnitName", QStringLiteral("unit\t0\t1\n"), 5, "missing name"},
        BadSource{"EmptyChinese", QStringLiteral("word\t0\t0\tcat\t\temoji:🐱\n"), 5, "missing Chinese"},
        BadSource{"EmptyEnglish", QStringLiteral("word\t0\t0\t \t猫\n"), 5, "missing English"},
        BadSource{"TooManyColumns", QStringLiteral("book\t1\tB\textra\n"), 5, "too many columns"},
        BadSource{"WordWithEightColumns", QStringLiteral("word\t0\t0\tcat\t猫\t\t\tx\n"), 5,
                  "too many columns"},
        BadSource{"BookIdNotNumber", QStringLiteral("book\tone\tB\n"), 5, "book id \"one\" is not a number"},
        BadSource{"NegativeUnitId", QStringLiteral("unit\t0\t-1\tU\n"), 5, "unit id \"-1\" is not a number"},
        BadSource{"UnitIdTooLarge", QStringLiteral("unit\t0\t40000\tU\n"), 5, "unit id \"40000\""},
        BadSource{"WordUnitNotNumber", QStringLiteral("word\t0\tx\tcat\t猫\n"), 5, "unit id \"x\""},
        BadSource{"GapInBooks", QStringLiteral("book\t2\tB\nunit\t2\t0\tU\nword\t2\t0\tcat\t猫\n"), 5,
                  "book 1 is missing"},
        BadSource{"GapInUnits", QStringLiteral("\n\nunit\t0\t2\tU\nword\t0\t2\tcat\t猫\n"), 7,
                  "unit 1 is missing"},
        BadSource{"TwoNamesForOneBook", QStringLiteral("book\t0\t三年级下册\n"), 5, "book 0 has two names"},
        BadSource{"TwoNamesForOneUnit", QStringLiteral("unit\t0\t0\tUnit One\n"), 5,
                  "unit 0 of book 0 has two names"},
        BadSource{"SecondVersion", QStringLiteral("version\tX\tPEP4\n"), 5,
                  "second version line (the first is on line 1)"},
        BadSource{"UnknownKind", QStringLiteral("lesson\t0\tL\n"), 5, "unknown line kind \"lesson\""},
        BadSource{"UnitBeforeItsBook", QStringLiteral("unit\t1\t0\tU\nbook\t1\tB\n"), 5,
                  "no book line before it"},
        BadSource{"WordBeforeItsUnit", QStringLiteral("word\t0\t1\tcat\t猫\nunit\t0\t1\tU\n"), 5,
                  "no unit line before it"},
        BadSource{"UnitWithoutWords", QStringLiteral("unit\t0\t1\tUnit 2\n"), 5,
                  "unit 1 of book 0 has no words"},
        BadSource{"BookWithoutUnits", QStringLiteral("book\t1\tB\n"), 5, "book 1 has no units"},
        BadSource{"MissingPictureFile", QStringLiteral("word\t0\t0\tdog\t狗\tmedia/dog.jpg\n"), 5,
                  "picture file not found"},
        BadSource{"PictureNotJpeg", QStringLiteral("word\t0\t0\tdog\t狗\tmedia/dog.png\n"), 5,
                  "must end in .jpg"},
        BadSource{"MissingVoiceFile", QStringLiteral("word\t0\t0\tdog\t狗\t\tmedia/dog.wav\n"), 5,
                  "voice file not found"},
        BadSource{"EmptyEmoji", QStringLiteral("word\t0\t0\tdog\t狗\temoji:\n"), 5, "without an emoji"},
        BadSource{"ParentFolderName", QStringLiteral("word\t0\t0\t../x\t坏\n"), 5, "contains '/'"},
        BadSource{"SlashInName", QStringLiteral("word\t0\t0\ta/b\t坏\n"), 5, "contains '/'"},
        BadSource{"DotDotName", QStringLiteral("word\t0\t0\t..\t坏\n"), 5, "cannot name a media file"},
        BadSource{"SameWordTwiceInUnit", QStringLiteral("word\t0\t0\thello\t你好\n"), 5,
                  "already in this unit (line 4)"},
        BadSource{"SharedWordOtherPicture",
                  QStringLiteral("unit\t0\t1\tU2\nword\t0\t1\thello\t你好\temoji:👋\n"), 6,
                  "another picture or voice on line 4"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadStem
{
    const char* name;
    const char* stem;
};

void PrintTo(const BadStem& c, std::ostream* os)
{
    *os << c.name;
}

class BadStems : public SourceFiles, public ::testing::WithParamInterface<BadStem>
{};

TEST_P(BadStems, AreRefusedOnTheVersionLine)
{
    const CourseParse parsed =
        parse(QStringLiteral("# course\nversion\tV\t%1\n").arg(QLatin1String(GetParam().stem)));
    ASSERT_TRUE(std::holds_alternative<CourseError>(parsed));
    EXPECT_EQ(std::get<CourseError>(parsed).line, 2);
    EXPECT_TRUE(std::get<CourseError>(parsed).message.startsWith(QStringLiteral("bad table stem")));
}

INSTANTIATE_TEST_SUITE_P(CourseSource, BadStems,
                         ::testing::Values(BadStem{"Hyphen", "PEP-3"}, BadStem{"LeadingDigit", "3PEP"},
                                           BadStem{"Quote", "PEP';drop"}, BadStem{"FixedTable", "history"},
                                           BadStem{"SqliteName", "sqlite_master"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SourceFiles, WholeFileErrorsHaveNoLine)
{
    const CourseParse noVersion = parse(QStringLiteral("book\t0\tB\nunit\t0\t0\tU\nword\t0\t0\tcat\t猫\n"));
    ASSERT_TRUE(std::holds_alternative<CourseError>(noVersion));
    EXPECT_EQ(std::get<CourseError>(noVersion).line, 0);
    EXPECT_EQ(std::get<CourseError>(noVersion).describe(QStringLiteral("c.tsv")),
              QStringLiteral("c.tsv: no version line (version, name, table stem)"));

    const CourseParse noBooks = parse(QStringLiteral("version\tV\tPEP\n"));
    ASSERT_TRUE(std::holds_alternative<CourseError>(noBooks));
    EXPECT_EQ(std::get<CourseError>(noBooks).message, QStringLiteral("no books"));
}

TEST_F(SourceFiles, FileReadingReportsBadBytesWithTheirLine)
{
    QFile file(path("course.tsv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kHead.toUtf8() + "word\t0\t0\tcat\t\xE7\x8C\n");
    file.close();
    const CourseParse parsed = ReadCourseSource(file.fileName());
    ASSERT_TRUE(std::holds_alternative<CourseError>(parsed));
    EXPECT_EQ(std::get<CourseError>(parsed).describe(QStringLiteral("course.tsv")),
              QStringLiteral("course.tsv:5: not UTF-8 text"));

    const CourseParse missing = ReadCourseSource(path("none.tsv"));
    ASSERT_TRUE(std::holds_alternative<CourseError>(missing));
    EXPECT_EQ(std::get<CourseError>(missing).line, 0);
}

TEST(MediaNames, RefuseWhatCouldLeaveTheMediaFolderOrClashWithLetterSounds)
{
    for (const QString& bad : {QString(), QStringLiteral("."), QStringLiteral(".."), QStringLiteral("../x"),
                               QStringLiteral("a/b"), QStringLiteral("/etc"), QStringLiteral("a") + QChar(0),
                               QString(252, QLatin1Char('a')), QStringLiteral("I"), QStringLiteral("z")})
        EXPECT_TRUE(MediaNameProblem(bad).has_value()) << bad.toStdString();
    for (const QString& good :
         {QStringLiteral("ice cream"), QStringLiteral("I'm"), QStringLiteral("T-shirt"),
          QStringLiteral("..."), QStringLiteral("a.b"), QStringLiteral("7"), QString(251, QLatin1Char('a'))})
        EXPECT_FALSE(MediaNameProblem(good).has_value()) << good.toStdString();
}

} // namespace
