#include "CourseFixture.h"
#include "media/MediaFolders.h"
#include "report/ProgressReport.h"
#include "store/CourseDatabase.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

const QDate kToday(2026, 3, 28);

QByteArray bytesOf(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ProgressReportRead : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::vector<std::pair<QString, QString>> results = {
            {QStringLiteral("red"), QStringLiteral("7|0|7")},
            {QStringLiteral("blue"), QStringLiteral("4|3|0")},
            {QStringLiteral("apple"), QStringLiteral("5|1|2")},
            {QStringLiteral("pen"), QStringLiteral("2|2|0")},
            {QStringLiteral("mother"), QStringLiteral("6|3|1")},
            {QStringLiteral("cake"), QStringLiteral("3|1|1")},
            {QStringLiteral("ice cream"), QStringLiteral("2|2|0")},
        };
        for (auto& word : course.words)
            for (const auto& [english, result] : results)
                if (word.english == english)
                    word.result = result;
        // Book 0: unit 1 spelled, unit 2 both; book 1: unit 0 an unknown status, unit 1 tested.
        const std::vector<QVariant> statuses = {QVariant(), 1, 3, 7, 2};
        for (size_t i = 0; i < course.units.size(); ++i)
            course.units[i].status = statuses[i];
        const auto day = [](int no, int user, const char* date) {
            return CourseFixture::History{no, user, QString::fromUtf8(date), QStringLiteral("08:00"),
                                          QStringLiteral("单元测试")};
        };
        course.history = {day(1, 0, "2026-03-28"),   day(2, 0, " 2026-03-28 "), day(3, 0, "2026/3/27"),
                          day(4, 0, "2026年3月1日"), day(5, 0, "2026-02-28"),   day(6, 0, "昨天"),
                          day(7, 3, "2026-03-28")};
        ASSERT_TRUE(course.build());
        QImage(40, 30, QImage::Format_RGB32).save(course.commonFolder() + QStringLiteral("/pics/pen.jpg"));
    }

    std::optional<ProgressReport> read()
    {
        CourseDatabase db(course.dbFile());
        QString error;
        auto report = ReadProgressReport(db, MediaFolders(course.programFolder(), course.commonFolder()),
                                         kToday, &error);
        EXPECT_TRUE(report) << error.toStdString();
        return report;
    }

    CourseFixture course = CourseFixture::fresh();
};

TEST_F(ProgressReportRead, CountsWhatTheRecordsHold)
{
    ASSERT_TRUE(course.exec(QStringLiteral(
        "CREATE TABLE MistakeNotebook (English TEXT PRIMARY KEY, Box INTEGER NOT NULL, Due TEXT)")));
    ASSERT_TRUE(course.exec(QStringLiteral("INSERT INTO MistakeNotebook (English, Box) VALUES ('pen', 1), "
                                           "('blue', 1), ('cake', 1), ('red', 3)")));
    // Logged runs add tests to their days with their words; one outside the span, one whose wrong
    // answers claim more than were asked.
    ASSERT_TRUE(course.exec(QLatin1String(kTestRunsSchema)));
    ASSERT_TRUE(course.exec(
        QStringLiteral("INSERT INTO TestRuns VALUES ('2026-03-28', '09:00', 10, 2, 'U1'), "
                       "('2026-03-28', '10:00', 5, 0, 'U1'), ('2026-02-27', '09:00', 4, 4, 'U2'), "
                       "('2026-03-27', '09:00', 8, 9, 'U3')")));
    const auto report = read();
    ASSERT_TRUE(report);

    EXPECT_EQ(report->courseTitle, QStringLiteral("小学英语"));
    ASSERT_EQ(report->books.size(), 2u);
    ASSERT_EQ(report->books[0].units.size(), 3u);
    ASSERT_EQ(report->books[1].units.size(), 2u);
    EXPECT_FALSE(report->books[0].units[0].spellingDone);
    EXPECT_TRUE(report->books[0].units[1].spellingDone);
    EXPECT_FALSE(report->books[0].units[1].testDone);
    EXPECT_TRUE(report->books[0].units[2].testDone);
    EXPECT_FALSE(report->books[1].units[0].known);
    EXPECT_TRUE(report->books[1].units[1].testDone);
    EXPECT_EQ(report->unitsWith(&ProgressReport::Unit::testDone), 2);

    // Only this learner's dated rows inside the four weeks that end today.
    ASSERT_EQ(report->days.size(), static_cast<size_t>(kReportDays));
    EXPECT_EQ(report->days.front().date, QDate(2026, 3, 1));
    EXPECT_EQ(report->days.front().tests, 1);
    EXPECT_EQ(report->days[26].tests, 2);
    EXPECT_EQ(report->days[26].asked, 8);
    EXPECT_EQ(report->days[26].wrong, 8);
    EXPECT_EQ(report->days.back().tests, 4);
    EXPECT_EQ(report->days.back().asked, 15);
    EXPECT_EQ(report->days.back().wrong, 2);

    // apple is stored in two units and counts once.
    EXPECT_EQ(report->wordsAsked, 7);
    EXPECT_EQ(report->answers, 29);
    EXPECT_EQ(report->wrongAnswers, 12);
    EXPECT_EQ(report->rightPercent(), 59);

    QStringList weakest;
    for (const auto& word : report->weakest)
        weakest << word.english;
    EXPECT_EQ(weakest, (QStringList{"ice cream", "pen", "blue", "mother", "cake", "apple"}));
    EXPECT_EQ(report->weakest[1].chinese, QStringLiteral("钢笔"));
    EXPECT_FALSE(report->weakest[1].picture.isNull());
    EXPECT_TRUE(report->weakest[0].picture.isNull());

    EXPECT_EQ(report->notebook, (std::array<int, 3>{3, 0, 1}));
}

TEST_F(ProgressReportRead, ChangesNoFileAndReadsAMissingNotebookAsEmpty)
{
    const QByteArray database = bytesOf(course.dbFile());
    const QStringList pictures = QDir(course.commonFolder() + QStringLiteral("/pics")).entryList(QDir::Files);

    const auto report = read();
    ASSERT_TRUE(report);

    EXPECT_EQ(report->notebookTotal(), 0);
    EXPECT_EQ(bytesOf(course.dbFile()), database);
    // A plain picture is read, not encoded in place as the reader would.
    EXPECT_EQ(QDir(course.commonFolder() + QStringLiteral("/pics")).entryList(QDir::Files), pictures);
}

TEST(ProgressReportRank, TiesGoToMoreMistakesThenTheAlphabet)
{
    const std::vector<WordCounts> words = {
        {QStringLiteral("zoo"), {}, 2, 1}, // 1 wrong for 1 right
        {QStringLiteral("bag"), {}, 5, 2}, // 2 for 3: the same share, more mistakes
        {QStringLiteral("Ant"), {}, 2, 1}, // as zoo, earlier in the alphabet
        {QStringLiteral("cat"), {}, 5, 0}, // never wrong: not weak
        {QStringLiteral("dog"), {}, 1, 3}, // more wrong than asked still reads as no right answer
    };
    QStringList order;
    for (const auto& word : WeakestWords(words, 3))
        order << word.english;
    EXPECT_EQ(order, (QStringList{"dog", "bag", "Ant"}));
}

} // namespace
} // namespace lexora::test
