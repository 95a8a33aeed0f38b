#include "store/WordStore.h"

#include "store/Prompter.h"
#include "store/TestRuns.h"

#include <QTime>

namespace lexora {

namespace {

const QString kNoWordsMessage = QStringLiteral("没有找到您要的单词库，请下载最新的版本！");
const QString kNoUnitsMessage = QStringLiteral("没有找到您要的单元，请下载最新的版本！");
const QString kNoHistoryMessage = QStringLiteral("没有练习记录！");

} // namespace

WordStore::WordStore(Locations locations, Prompter& prompter, Random& random)
    : m_locations(std::move(locations)), m_prompter(prompter), m_random(random),
      m_db(m_locations.databaseFile())
{}

WordStore::WordStore(const QString& programFolder, Prompter& prompter, Random& random)
    : WordStore(Locations::portable(programFolder), prompter, random)
{}

QString WordStore::messageTitle() const
{
    const QString& name = m_catalogue.versionName();
    return name.isEmpty() ? QStringLiteral("Lexora") : name;
}

bool WordStore::fail(const StoreFailure& failure, const QString& missing, RecordKind written)
{
    switch (failure.kind) {
    case StoreFailure::Kind::Open:
        m_prompter.message(QStringLiteral("无法打开单词库：\n%1").arg(failure.reason), messageTitle(),
                           Prompter::Buttons::Ok, Prompter::Icon::Critical);
        if (m_onFatal)
            m_onFatal();
        break;
    case StoreFailure::Kind::Content:
        if (!missing.isEmpty())
            m_prompter.message(missing, messageTitle());
        break;
    case StoreFailure::Kind::Write:
        reportWriteFailure(written, failure.reason);
        break;
    }
    return false;
}

bool WordStore::reportWriteFailure(RecordKind kind, const QString& reason)
{
    const auto bit = 1u << static_cast<unsigned>(kind);
    if (m_reportedWrites & bit)
        return false;
    m_reportedWrites |= bit;
    static const QString kWhat[] = {QStringLiteral("上次学习的课本和单元"), QStringLiteral("单词的测试成绩"),
                                    QStringLiteral("单元完成情况"), QStringLiteral("错词本"),
                                    QStringLiteral("测试记录")};
    m_prompter.message(QStringLiteral("学习记录没有保存下来（%1）：\n%2。\n\n"
                                      "程序可以继续使用，但这些记录不会留下。")
                           .arg(kWhat[static_cast<size_t>(kind)], reason),
                       messageTitle(), Prompter::Buttons::Ok, Prompter::Icon::Warning);
    return false;
}

void WordStore::failCatalogue(const QString& what)
{
    m_prompter.message(QStringLiteral("%1，程序无法启动！").arg(what), messageTitle(), Prompter::Buttons::Ok,
                       Prompter::Icon::Critical);
}

bool WordStore::LoadSettings()
{
    StoreFailure failure;
    if (m_catalogue.readSettings(m_db, &failure))
        return true;
    if (failure.kind == StoreFailure::Kind::Content)
        failCatalogue(failure.reason);
    else
        fail(failure, {}, RecordKind::LastBookUnit);
    return false;
}

bool WordStore::LoadBookUnits(std::int16_t book)
{
    StoreFailure failure;
    if (!m_catalogue.readUnits(m_db, book, &failure))
        return fail(failure, kNoUnitsMessage, RecordKind::UnitStatus);
    m_words.setCurrent(0);
    return true;
}

bool WordStore::SaveLastBookUnit()
{
    StoreFailure failure;
    return m_catalogue.writeLastChoice(m_db, &failure) || fail(failure, {}, RecordKind::LastBookUnit);
}

bool WordStore::LoadUnitWords(std::int16_t book, std::int16_t unit)
{
    return loadWords(QStringLiteral("SELECT DISTINCT * FROM ") + m_catalogue.tableStem() +
                         QStringLiteral(" WHERE Book = ") + QString::number(book) +
                         QStringLiteral(" AND Unit = ") + QString::number(unit),
                     kNoWordsMessage);
}

bool WordStore::LoadUnitRangeWords(std::int16_t book, std::int16_t unitFrom, std::int16_t unitTo)
{
    return loadWords(QStringLiteral("select DISTINCT * from ") + m_catalogue.tableStem() +
                         QStringLiteral(" where Book = ") + QString::number(book) +
                         QStringLiteral(" AND Unit >= ") + QString::number(unitFrom) +
                         QStringLiteral(" AND Unit <= ") + QString::number(unitTo),
                     kNoWordsMessage);
}

bool WordStore::loadWords(const QString& sql, const QString& missing, const QVariantList& params)
{
    StoreFailure failure;
    return m_words.read(m_db, sql, &failure, params) || fail(failure, missing, RecordKind::WordResult);
}

bool WordStore::RecordNotebookAnswers(const NotebookAnswers& answers, const QDate& today)
{
    QString error;
    return m_notebook.record(answers, today, &error) || reportWriteFailure(RecordKind::Notebook, error);
}

int WordStore::NotebookDueCount(const QDate& today)
{
    QString error;
    const auto due = m_notebook.dueWords(today, &error);
    return due ? static_cast<int>(due->size()) : 0;
}

bool WordStore::LoadNotebookWords(const QDate& today)
{
    QString error;
    const auto due = m_notebook.dueWords(today, &error);
    if (!due || due->isEmpty())
        return false;
    QStringList marks;
    QVariantList words;
    for (const QString& english : *due) {
        marks.append(QStringLiteral("?"));
        words.append(english);
    }
    // A word in several units is studied once.
    if (!loadWords(QStringLiteral("select * from %1 where trim(English) in (%2) group by trim(English)")
                       .arg(m_catalogue.tableStem(), marks.join(QLatin1Char(','))),
                   {}, words))
        return false;
    m_reviewStamp = m_words.stamp();
    return true;
}

bool WordStore::SaveWordResults(const std::vector<int>& indices)
{
    QString error;
    auto db = m_db.connect(&error);
    if (!db)
        return reportWriteFailure(RecordKind::WordResult, error);
    const bool saved = m_words.writeResults(*db, m_catalogue.tableStem(), indices, m_saveWatcher, &error);
    db.reset();
    m_db.finish();
    return saved || reportWriteFailure(RecordKind::WordResult, error);
}

bool WordStore::LogTestRun(const QDate& day, int asked, int wrong)
{
    QString error;
    auto db = m_db.connect(&error);
    const QString task =
        ReviewingNotebook()
            ? QStringLiteral("错词复习")
            : m_catalogue.bookName(m_catalogue.currentBook()) + QLatin1Char(' ') + m_catalogue.currentUnitName();
    const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm"));
    const bool saved = db && AddTestRun(*db, {day, time, asked, wrong, task.trimmed()}, &error);
    db.reset();
    m_db.finish();
    return saved || reportWriteFailure(RecordKind::TestRun, error);
}

bool WordStore::SetUnitStatus(UnitMark mark)
{
    StoreFailure failure;
    return m_catalogue.markCurrentUnit(m_db, mark, &failure) || fail(failure, {}, RecordKind::UnitStatus);
}

std::int16_t WordStore::LoadHistory()
{
    StoreFailure failure;
    if (!m_catalogue.readHistory(m_db, &failure)) {
        fail(failure, kNoHistoryMessage, RecordKind::UnitStatus);
        return 0;
    }
    return static_cast<std::int16_t>(m_catalogue.history().size());
}

} // namespace lexora
