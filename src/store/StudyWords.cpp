#include "store/StudyWords.h"

#include "store/Catalogue.h"
#include "store/CourseDatabase.h"
#include "store/Random.h"

#include <algorithm>
#include <limits>
#include <sqlcipher/sqlite3.h>

namespace lexora {

namespace {

constexpr int kMaxListCount = std::numeric_limits<std::int16_t>::max();
constexpr int kRandomDraws = 6;

} // namespace

int StudyWords::count() const
{
    return std::clamp<int>(m_count, 0, static_cast<int>(m_words.size()));
}

CWordType* StudyWords::word(int index)
{
    return index >= 0 && index < count() ? &m_words[static_cast<size_t>(index)] : nullptr;
}

const CWordType* StudyWords::word(int index) const
{
    return const_cast<StudyWords*>(this)->word(index);
}

void StudyWords::assign(std::vector<CWordType> words)
{
    m_words = std::move(words);
    m_count = static_cast<int>(m_words.size());
    ++m_stamp;
}

void StudyWords::restore(std::vector<CWordType> words, int count)
{
    m_words = std::move(words);
    setCount(count);
}

void StudyWords::setCount(int n)
{
    m_count = std::clamp<int>(n, 0, static_cast<int>(m_words.size()));
}

void StudyWords::SetCurrWordText()
{
    const CWordType* current = word(m_current);
    if (!current || current->English == m_currentEnglish)
        return;
    m_currentEnglish = current->English.trimmed();
    m_currentChinese = current->Chinese.trimmed();
}

void StudyWords::ResetTestFlags()
{
    for (CWordType& w : m_words) {
        w.Tested = false;
        w.CurrErr = false;
    }
    m_testDone = 0;
}

void StudyWords::ResetTestFlagsSkipPhrases()
{
    m_testDone = 0;
    for (CWordType& w : m_words) {
        if (w.Composition != 0) {
            w.Tested = true;
        } else {
            w.Tested = false;
            w.CurrErr = false;
        }
    }
}

std::int16_t StudyWords::RandUntestedWord(Random& random) const
{
    const int n = count();
    if (n <= 0)
        return -1;
    random.Randomize();
    for (int draw = 0; draw < kRandomDraws; ++draw) {
        const int i = random.below(n);
        if (!m_words[static_cast<size_t>(i)].Tested)
            return static_cast<std::int16_t>(i);
    }
    for (int i = 0; i < n; ++i) {
        if (!m_words[static_cast<size_t>(i)].Tested)
            return static_cast<std::int16_t>(i);
    }
    return -1;
}

CWordType StudyWords::fromRow(const RecordSet& rs)
{
    CWordType w;
    w.StoredEnglish = rs.Field(QStringLiteral("English")).toString();
    w.English = w.StoredEnglish.trimmed();
    w.Chinese = rs.Field(QStringLiteral("Chinese")).toString();
    w.Composition = ToInt16(rs.Field(QStringLiteral("Composition")));
    const QVariant result = rs.Field(QStringLiteral("Result"));
    w.Result = result.isNull() ? QStringLiteral("0|0|0") : result.toString();
    w.SetComposition();
    w.GetWordResult();
    return w;
}

bool StudyWords::read(CourseDatabase& db, const QString& sql, StoreFailure* failure,
                      const QVariantList& params)
{
    QString error;
    if (!db.open(sql, params, &error)) {
        m_count = 0;
        *failure = {StoreFailure::Kind::Open, error};
        return false;
    }
    RecordSet& rs = db.rows();
    const int n = rs.RecordCount();
    if (n == 0 || n > kMaxListCount) {
        // More words than a 16-bit count holds is refused like an empty load.
        m_count = 0;
        db.close();
        *failure = {StoreFailure::Kind::Content, {}};
        return false;
    }
    std::vector<CWordType> words;
    words.reserve(static_cast<size_t>(n));
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        words.push_back(fromRow(rs));
    assign(std::move(words));
    m_current = 0;
    db.close();
    return true;
}

bool StudyWords::writeResults(Database& db, const QString& table, const std::vector<int>& indices,
                            const std::function<void(int)>& watch, QString* error)
{
    auto tell = [&watch](int written) {
        if (watch)
            watch(written);
    };
    // IMMEDIATE: the write lock is taken now, so no step of the run can fail for want of it later.
    if (!db.exec(QStringLiteral("BEGIN IMMEDIATE"), error))
        return false;
    tell(0);
    auto stmt = db.prepare(QStringLiteral("update ") + table + QStringLiteral(" set Result = ? where English in (?, ?)"),
                           {}, error);
    bool ok = stmt != nullptr;
    int written = 0;
    for (int index : indices) {
        if (!ok)
            break;
        if (index < 0 || static_cast<size_t>(index) >= m_words.size())
            continue;
        CWordType& w = m_words[static_cast<size_t>(index)];
        w.SetWordResultString();
        ok = BindValue(stmt.get(), 1, w.Result) && BindValue(stmt.get(), 2, w.English) &&
             BindValue(stmt.get(), 3, w.storedText()) && sqlite3_step(stmt.get()) == SQLITE_DONE;
        sqlite3_reset(stmt.get());
        if (ok)
            tell(++written);
        else
            *error = db.lastError();
    }
    stmt.reset();
    if (ok)
        ok = db.exec(QStringLiteral("COMMIT"), error);
    if (!ok) {
        db.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    tell(-1);
    return true;
}

} // namespace lexora
