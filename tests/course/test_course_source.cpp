#include "course/CourseSource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lexora;

namespace {

const QString kHead = QStringLiteral(
    "version\t小学英语\tPEP3\nbook\t0\t三年级上册\nunit\t0\t0\tUnit 1\nword\t0\t0\thello\t你好\n");

CourseError errorOf(const CourseParse& parsed)
{
    return std::holds_alternative<CourseError>(parsed) ? std::get<CourseError>(parsed)
                                                       : CourseError{-1, "parsed"};
}

class SourceFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid() && QDir(m_dir.path()).mkpath(QStringLiteral("media")));
        for (const char* name : {"media/cat.jpg", "media/cat.wav"})
            ASSERT_TRUE(QFile(path(name)).open(QIODevice::WriteOnly));
    }
    CourseParse parse(const QString& text) const { return ParseCourseSource(text, m_dir.path()); }
    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

    QTemporaryDir m_dir;
};

TEST_F(SourceFiles, ReadsBooksUnitsAndWordsInNumberOrder)
{
    const CourseParse parsed = parse(QStringLiteral(
        "\xFEFF# a comment\r\nversion\t 小学英语（三年级） "
        "\tPEP3\r\n\nbook\t1\t三年级下册\t\t\nbook\t0\t三年级上册\n"
        "unit\t1\t0\tUnit 1 School\nunit\t0\t1\tUnit 2 Colours\nunit\t0\t0\tUnit 1 Hello\n   # indented "
        "comment\n"
        "word\t0\t0\t ice cream \t冰淇淋\temoji:🍦\nword\t0\t1\tcat\t猫\tmedia/cat.jpg\tmedia/cat.wav\n"
        "word\t1\t0\tcat\t猫\tmedia/cat.jpg\tmedia/cat.wav\nword\t0\t0\tI'm\t我是\n"));
    ASSERT_TRUE(std::holds_alternative<CourseSource>(parsed)) << errorOf(parsed).message.toStdString();
    const auto& course = std::get<CourseSource>(parsed);
    QStringList read{course.versionName + QLatin1Char('|') + course.versionDB};
    for (const CourseBook& b : course.books)
        read << QStringLiteral("book %1 %2").arg(b.id).arg(b.name);
    for (const CourseUnit& u : course.units)
        read << QStringLiteral("unit %1 %2 %3").arg(u.book).arg(u.id).arg(u.name);
    const auto n = [](int number) { return QString::number(number); };
    for (const CourseWord& w : course.words)
        read << QStringLiteral("word %1 %2 %3|%4|%5 %6 %7|%8")
                    .arg(n(w.book), n(w.unit), w.english, w.chinese, n(w.line),
                         n(static_cast<int>(w.picture.kind)), QString(w.picture.value).remove(m_dir.path()),
                         QString(w.voiceFile).remove(m_dir.path()));
    EXPECT_EQ(read, (QStringList{"小学英语（三年级）|PEP3", "book 0 三年级上册", "book 1 三年级下册",
                                 "unit 0 0 Unit 1 Hello", "unit 0 1 Unit 2 Colours", "unit 1 0 Unit 1 School",
                                 "word 0 0 ice cream|冰淇淋|10 1 🍦|",
                                 "word 0 1 cat|猫|11 2 /media/cat.jpg|/media/cat.wav",
                                 "word 1 0 cat|猫|12 2 /media/cat.jpg|/media/cat.wav",
                                 "word 0 0 I'm|我是|13 0 |"}));
}

TEST_F(SourceFiles, BadLinesAreRefusedWithLineAndReason)
{
    struct Case
    {
        const char* lines;
        int line;
        const char* message;
    }; // lines after kHead's four
    const Case cases[] = {
        {"word\t0\t0\tcat\n", 5, "missing Chinese meaning of \"cat\": fill it in"},
        {"word\t0\t0\tcat\t\t\nword\t0\t0\tdog\n", 5,
         "missing Chinese meaning on 2 rows, fill them in: line 5 \"cat\", line 6 \"dog\""},
        {"word\t0\t0\t \t猫\n", 5, "missing English"},
        {"word\t0\t0\tcat\t猫\t\t\tx\n", 5, "too many columns"},
        {"unit\t0\t-1\tU\n", 5, "unit id \"-1\" is not a number"},
        {"unit\t0\t40000\tU\n", 5, "unit id \"40000\""},
        {"book\t2\tB\nunit\t2\t0\tU\nword\t2\t0\tcat\t猫\n", 5, "book 1 is missing"},
        {"\n\nunit\t0\t2\tU\nword\t0\t2\tcat\t猫\n", 7, "unit 1 is missing"},
        {"book\t0\t三年级下册\n", 5, "book 0 has two names"},
        {"unit\t0\t0\tUnit One\n", 5, "unit 0 of book 0 has two names"},
        {"version\tX\tPEP4\n", 5, "second version line (the first is on line 1)"},
        {"lesson\t0\tL\n", 5, "unknown line kind \"lesson\""},
        {"unit\t1\t0\tU\nbook\t1\tB\n", 5, "no book line before it"},
        {"word\t0\t1\tcat\t猫\nunit\t0\t1\tU\n", 5, "no unit line before it"},
        {"unit\t0\t1\tUnit 2\n", 5, "unit 1 of book 0 has no words"},
        {"book\t1\tB\n", 5, "book 1 has no units"},
        {"word\t0\t0\tdog\t狗\tmedia/dog.jpg\n", 5, "picture file not found"},
        {"word\t0\t0\tdog\t狗\tmedia/dog.png\n", 5, "must end in .jpg"},
        {"word\t0\t0\tdog\t狗\temoji:\n", 5, "without an emoji"},
        {"word\t0\t0\t../x\t坏\n", 5, "contains '/'"},
        {"word\t0\t0\thello\t你好\n", 5, "already in this unit (line 4)"},
        {"unit\t0\t1\tU2\nword\t0\t1\thello\t你好\temoji:👋\n", 6, "another picture or voice on line 4"},
    };
    for (const Case& c : cases) {
        const CourseError error = errorOf(parse(kHead + QString::fromUtf8(c.lines)));
        EXPECT_EQ(error.line, c.line) << c.lines;
        EXPECT_TRUE(error.message.contains(QString::fromUtf8(c.message))) << error.message.toStdString();
    }
}

TEST_F(SourceFiles, BadTableStemsAreRefusedOnTheVersionLine)
{
    for (const char* stem : {"3PEP", "PEP';drop", "history", "sqlite_master"}) {
        const CourseError error =
            errorOf(parse(QStringLiteral("# course\nversion\tV\t") + QLatin1String(stem)));
        EXPECT_EQ(error.line, 2) << stem;
        EXPECT_TRUE(error.message.startsWith(QStringLiteral("bad table stem"))) << stem;
    }
}

TEST_F(SourceFiles, WholeFileErrorsHaveNoLineAndBadBytesTheirs)
{
    EXPECT_EQ(
        errorOf(parse(QStringLiteral("book\t0\tB\nunit\t0\t0\tU\nword\t0\t0\tcat\t猫\n"))).describe("c.tsv"),
        QStringLiteral("c.tsv: no version line (version, name, table stem)"));
    EXPECT_EQ(errorOf(parse(QStringLiteral("version\tV\tPEP\n"))).message, QStringLiteral("no books"));
    EXPECT_EQ(errorOf(ReadCourseSource(path("none.tsv"))).line, 0);

    QFile file(path("course.tsv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) &&
                file.write(kHead.toUtf8() + "word\t0\t0\tcat\t\xE7\x8C\n") > 0);
    file.close();
    EXPECT_EQ(errorOf(ReadCourseSource(file.fileName())).describe("c.tsv"),
              QStringLiteral("c.tsv:5: not UTF-8 text"));
}

TEST(MediaNames, RefuseWhatCouldLeaveTheMediaFolderOrClashWithLetterSounds)
{
    for (const QString& bad :
         {QString(), QString("."), QString(".."), QString("a/b"), QString("a") + QChar(0),
          QString("ice\ncream"), QString(252, QLatin1Char('a')), QString("I"), QString("z")})
        EXPECT_TRUE(MediaNameProblem(bad).has_value()) << bad.toStdString();
    for (const QString& good :
         {QString("ice cream"), QString("I'm"), QString("..."), QString("7"), QString(251, QLatin1Char('a'))})
        EXPECT_FALSE(MediaNameProblem(good).has_value()) << good.toStdString();
}

} // namespace
