#include "report/ProgressReport.h"

#include "media/AtomicFile.h"
#include "media/MediaFiles.h"
#include "media/MediaFolders.h"
#include "store/Catalogue.h"
#include "store/CourseDatabase.h"
#include "store/FileHead.h"
#include "store/MistakeNotebook.h"

#include <QFileInfo>
#include <algorithm>
#include <numeric>
#include <set>

namespace lexora {

namespace {

const QSize kPictureFit(320, 320);

// Right answers of a word: every answer that was not wrong.
int rightOf(const WordCounts& word)
{
    return std::max(0, word.asked - word.wrong);
}

// More mistakes for fewer right answers ranks weaker: wrong / (right + 1), compared without division.
bool weaker(const WordCounts& a, const WordCounts& b)
{
    const long long left = static_cast<long long>(a.wrong) * (rightOf(b) + 1);
    const long long right = static_cast<long long>(b.wrong) * (rightOf(a) + 1);
    if (left != right)
        return left > right;
    if (a.wrong != b.wrong)
        return a.wrong > b.wrong;
    return a.english.compare(b.english, Qt::CaseInsensitive) < 0;
}

// The word's picture as a view would show it (the encoded form wins), read without changing the
// folder: the report must leave every file as it found it.
QImage readPicture(const MediaFolders& media, const QString& word)
{
    if (const auto encoded = MediaFolders::fileIn(media.pics(), word, QStringLiteral(".pet"));
        encoded && QFileInfo::exists(*encoded)) {
        std::optional<QByteArray> bytes = ReadWholeFile(*encoded);
        if (!bytes)
            return {};
        CryptBytesHead(*bytes);
        return DecodePicture(std::move(*bytes), kPictureFit);
    }
    const auto plain = MediaFolders::fileIn(media.pics(), word, QStringLiteral(".jpg"));
    std::optional<QByteArray> bytes = plain ? ReadWholeFile(*plain) : std::nullopt;
    return bytes ? DecodePicture(std::move(*bytes), kPictureFit) : QImage();
}

bool failed(const QString& reason, QString* error)
{
    if (error)
        *error = reason;
    return false;
}

bool readBooks(CourseDatabase& db, Catalogue& catalogue, ProgressReport& report, QString* error)
{
    for (int b = 0; b < catalogue.bookCount(); ++b) {
        ProgressReport::Book book{catalogue.bookName(b), {}};
        StoreFailure failure;
        if (catalogue.readUnits(db, static_cast<std::int16_t>(b), &failure)) {
            for (const CBookUnit& unit : catalogue.units()) {
                const int status = unit.UnitStatus;
                const bool known = status >= 0 && status <= 3;
                book.units.push_back(
                    {unit.UnitName, known && (status & 1) != 0, known && (status & 2) != 0, known});
            }
        } else if (failure.kind == StoreFailure::Kind::Open) {
            return failed(failure.reason, error);
        }
        report.books.push_back(std::move(book));
    }
    return true;
}

// Whether the learner's database holds a table of the learner's own; false with error when it cannot
// be read, false alone when it has none (an older record).
bool hasTable(CourseDatabase& db, const QString& name, QString* error)
{
    error->clear();
    if (!db.open(QStringLiteral("select count(*) AS n from sqlite_master where type = 'table' and name = ?"),
                 {name}, error))
        return false;
    const bool present = db.rows().Field(QStringLiteral("n")).toInt() > 0;
    db.close();
    return present;
}

bool readDays(CourseDatabase& db, ProgressReport& report, QString* error)
{
    if (!db.open(QStringLiteral("select Date from History where userID = 0"), {}, error))
        return false;
    QStringList dates;
    for (db.rows().MoveFirst(); !db.rows().IsEOF(); db.rows().MoveNext())
        dates << db.rows().Field(QStringLiteral("Date")).toString();
    db.close();
    report.days = TestsPerDay(dates, report.made, kReportDays);
    if (!hasTable(db, QLatin1String(kTestRunsTable), error))
        return error->isEmpty();
    if (!db.open(QStringLiteral("select Date, Asked, Wrong from TestRuns"), {}, error))
        return false;
    std::vector<TestRun> runs;
    for (db.rows().MoveFirst(); !db.rows().IsEOF(); db.rows().MoveNext())
        runs.push_back({QDate::fromString(db.rows().Field(QStringLiteral("Date")).toString(), Qt::ISODate),
                        {},
                        db.rows().Field(QStringLiteral("Asked")).toInt(),
                        db.rows().Field(QStringLiteral("Wrong")).toInt(),
                        {}});
    db.close();
    AddTestRuns(report.days, runs);
    return true;
}

bool readWords(CourseDatabase& db, const QString& table, const MediaFolders& media, ProgressReport& report,
               QString* error)
{
    if (!db.open(QStringLiteral("select English, Chinese, Result from ") + table, {}, error))
        return false;
    std::vector<WordCounts> words;
    std::set<QString> seen;
    RecordSet& rs = db.rows();
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        CWordType word;
        word.English = rs.Field(QStringLiteral("English")).toString().trimmed();
        const QVariant result = rs.Field(QStringLiteral("Result"));
        word.Result = result.isNull() ? QStringLiteral("0|0|0") : result.toString();
        word.GetWordResult();
        // Every row of a word carries the same record: count it once.
        if (!seen.insert(word.English).second)
            continue;
        words.push_back({word.English, rs.Field(QStringLiteral("Chinese")).toString().trimmed(),
                         std::max<int>(0, word.testNum), std::max<int>(0, word.errNum)});
    }
    db.close();
    for (const WordCounts& word : words) {
        report.wordsAsked += word.asked > 0 ? 1 : 0;
        report.answers += word.asked;
        report.wrongAnswers += std::min(word.wrong, word.asked);
    }
    report.weakest = WeakestWords(words, kReportWeakWords);
    for (ProgressReport::WeakWord& word : report.weakest)
        word.picture = readPicture(media, word.english);
    return true;
}

// The notebook is the learner's newest table: a database without it has an empty notebook.
bool readNotebook(CourseDatabase& db, ProgressReport& report, QString* error)
{
    if (!hasTable(db, QLatin1String(kNotebookTable), error))
        return error->isEmpty();
    if (!db.open(QStringLiteral("select Box, COUNT(*) AS n from %1 group by Box")
                     .arg(QLatin1String(kNotebookTable)),
                 {}, error))
        return false;
    for (db.rows().MoveFirst(); !db.rows().IsEOF(); db.rows().MoveNext()) {
        const int box = db.rows().Field(QStringLiteral("Box")).toInt();
        if (box >= 1 && box <= static_cast<int>(report.notebook.size()))
            report.notebook[static_cast<size_t>(box - 1)] += db.rows().Field(QStringLiteral("n")).toInt();
    }
    db.close();
    return true;
}

} // namespace

int ProgressReport::unitCount() const
{
    int count = 0;
    for (const Book& book : books)
        count += static_cast<int>(book.units.size());
    return count;
}

int ProgressReport::unitsWith(bool ProgressReport::Unit::*mark) const
{
    int count = 0;
    for (const Book& book : books)
        count += static_cast<int>(std::count_if(book.units.begin(), book.units.end(),
                                                [mark](const Unit& unit) { return unit.*mark; }));
    return count;
}

std::optional<int> ProgressReport::rightPercent() const
{
    if (answers <= 0)
        return std::nullopt;
    return static_cast<int>((static_cast<long long>(answers - wrongAnswers) * 100 + answers / 2) / answers);
}

int ProgressReport::notebookTotal() const
{
    return std::accumulate(notebook.begin(), notebook.end(), 0);
}

QDate HistoryDate(const QString& text)
{
    const QString trimmed = text.trimmed();
    for (const char* format : {"yyyy-M-d", "yyyy/M/d", "yyyy.M.d", "yyyy年M月d日"}) {
        const QDate date = QDate::fromString(trimmed, QString::fromUtf8(format));
        if (date.isValid())
            return date;
    }
    return {};
}

std::vector<ProgressReport::Day> TestsPerDay(const QStringList& dates, QDate last, int span)
{
    std::vector<ProgressReport::Day> days;
    if (!last.isValid() || span <= 0)
        return days;
    const QDate first = last.addDays(1 - span);
    for (QDate day = first; day <= last; day = day.addDays(1))
        days.push_back({day, 0});
    for (const QString& text : dates) {
        const QDate date = HistoryDate(text);
        if (date.isValid() && date >= first && date <= last)
            ++days[static_cast<size_t>(first.daysTo(date))].tests;
    }
    return days;
}

void AddTestRuns(std::vector<ProgressReport::Day>& days, const std::vector<TestRun>& runs)
{
    if (days.empty())
        return;
    const QDate first = days.front().date;
    for (const TestRun& run : runs) {
        const qint64 at = run.date.isValid() ? first.daysTo(run.date) : -1;
        if (at < 0 || at >= static_cast<qint64>(days.size()))
            continue;
        ProgressReport::Day& day = days[static_cast<size_t>(at)];
        ++day.tests;
        day.asked += std::max(0, run.asked);
        day.wrong += std::clamp(run.wrong, 0, std::max(0, run.asked));
    }
}

std::vector<ProgressReport::WeakWord> WeakestWords(const std::vector<WordCounts>& words, int count)
{
    std::vector<WordCounts> wrong;
    std::copy_if(words.begin(), words.end(), std::back_inserter(wrong),
                 [](const WordCounts& word) { return word.wrong > 0; });
    std::sort(wrong.begin(), wrong.end(), weaker);
    std::vector<ProgressReport::WeakWord> weakest;
    for (const WordCounts& word : wrong) {
        if (static_cast<int>(weakest.size()) >= count)
            break;
        weakest.push_back({word.english, word.chinese, word.asked, word.wrong, rightOf(word), {}});
    }
    return weakest;
}

std::optional<ProgressReport> ReadProgressReport(CourseDatabase& db, const MediaFolders& media, QDate today,
                                                 QString* error)
{
    // One turn of the file's head each way for the whole report.
    CourseDatabase::Burst burst(db);
    Catalogue catalogue;
    StoreFailure failure;
    if (!catalogue.readSettings(db, &failure)) {
        failed(failure.reason, error);
        return std::nullopt;
    }
    ProgressReport report;
    report.courseTitle = catalogue.versionName();
    report.made = today;
    if (!readBooks(db, catalogue, report, error) || !readDays(db, report, error) ||
        !readWords(db, catalogue.tableStem(), media, report, error) || !readNotebook(db, report, error))
        return std::nullopt;
    return report;
}

} // namespace lexora
