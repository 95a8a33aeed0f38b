#include "store/WordStore.h"

#include "store/ConnectString.h"
#include "store/ErrorText.h"
#include "store/FileHead.h"
#include "store/Prompter.h"
#include "store/Random.h"
#include "store/Schema.h"

#include <QDir>
#include <QFileInfo>
#include <limits>
#include <sqlcipher/sqlite3.h>

namespace lexora {

namespace {

constexpr int kMaxListCount = std::numeric_limits<std::int16_t>::max();
constexpr int kMaxHistoryRows = 50;
constexpr int kRandomDraws = 6;

const QString kNoWordsMessage = QStringLiteral("没有找到您要的单词库，请下载最新的版本！");
const QString kNoUnitsMessage = QStringLiteral("没有找到您要的单元，请下载最新的版本！");
const QString kNoHistoryMessage = QStringLiteral("没有练习记录！");

} // namespace

std::int16_t MergeUnitStatus(std::int16_t current, std::int16_t status)
{
    if (current == 0)
        return status;
    if (current > 2)
        return 3;
    return status == current ? status : static_cast<std::int16_t>(status + current);
}

WordStore::WordStore(Locations locations, Prompter& prompter, Random& random)
    : m_locations(std::move(locations)), m_prompter(prompter), m_random(random)
{}

WordStore::WordStore(const QString& programFolder, Prompter& prompter, Random& random)
    : WordStore(Locations::portable(programFolder), prompter, random)
{}

WordStore::~WordStore() = default;

QString WordStore::messageTitle() const
{
    return strVersionName.isEmpty() ? QStringLiteral("Lexora") : strVersionName;
}

// ---------------------------------------------------------------- connection and row set

void WordStore::PrefetchKeys()
{
    m_keys.prefetch(m_locations.databaseFile(), QLatin1String(kDatabasePassword));
}

WordStore::Burst::~Burst()
{
    if (--m_store.m_burstDepth == 0 && m_store.m_scrambleOwed) {
        m_store.m_scrambleOwed = false;
        CryptFileHead(m_store.strDBFile);
    }
}

void WordStore::MakeConnectString()
{
    strDBFile = m_locations.databaseFile();
    strConnect = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;"
                                "Jet OLEDB:Database Password=%1;Data Source=")
                     .arg(QLatin1String(kDatabasePassword)) +
                 strDBFile;
}

bool WordStore::openOnce(const QString& sql, const QVariantList& params, QString* error)
{
    const ConnectionInfo info = ParseConnectString(strConnect);
    auto rs = std::make_unique<RecordSet>();
    // A query never creates the database: a missing file is an error, not an empty course.
    if (!QFileInfo::exists(info.dataSource)) {
        *error = QStringLiteral("找不到文件 %1").arg(QDir::toNativeSeparators(info.dataSource));
        return false;
    }
    if (!rs->Open(sql, info.dataSource, info.password, &m_keys, params, error))
        return false;
    myRS = std::move(rs);
    return true;
}

bool WordStore::inEitherHeaderState(const std::function<bool(QString*)>& attempt, QString* error)
{
    QString firstError;
    // Whichever try succeeds leaves the file plain now, whatever an earlier query of a burst owed.
    if (attempt(&firstError)) {
        m_scrambleOwed = false;
        return true;
    }
    // The file is scrambled at rest: unscramble once and retry.
    int fileError = 0;
    if (!CryptFileHead(strDBFile, &fileError)) {
        // Read-only files open for reading, so the real fault is the header we could not restore.
        *error = QStringLiteral("单词库文件 %1 不能写入：%2。")
                     .arg(QDir::toNativeSeparators(strDBFile), DescribeFileError(fileError));
        return false;
    }
    if (attempt(error)) {
        m_scrambleOwed = false;
        return true;
    }
    // One of the two tries saw the file in its wrong state; the other one's error is the real one.
    if (*error == DescribeSqliteError(SQLITE_NOTADB))
        *error = firstError;
    // Leave a file that failed for another reason as it was found.
    CryptFileHead(strDBFile);
    return false;
}

bool WordStore::OpenRecordset(const QString& sql, const QVariantList& params)
{
    myRS.reset();
    strSQL = sql;
    QString error;
    if (inEitherHeaderState([&](QString* e) { return openOnce(sql, params, e); }, &error))
        return true;
    failOpen(error);
    return false;
}

void WordStore::failOpen(const QString& reason)
{
    m_prompter.message(QStringLiteral("无法打开单词库：\n%1").arg(reason), messageTitle(),
                       Prompter::Buttons::Ok, Prompter::Icon::Critical);
    if (m_onFatal)
        m_onFatal();
}

bool WordStore::reportWriteFailure(RecordKind kind, const QString& reason)
{
    const auto bit = 1u << static_cast<unsigned>(kind);
    if (m_reportedWrites & bit)
        return false;
    m_reportedWrites |= bit;
    static const QString kWhat[] = {QStringLiteral("上次学习的课本和单元"), QStringLiteral("单词的测试成绩"),
                                    QStringLiteral("单元完成情况")};
    m_prompter.message(QStringLiteral("学习记录没有保存下来（%1）：\n%2。\n\n"
                                      "程序可以继续使用，但这些记录不会留下。")
                           .arg(kWhat[static_cast<size_t>(kind)], reason),
                       messageTitle(), Prompter::Buttons::Ok, Prompter::Icon::Warning);
    return false;
}

void WordStore::CloseRecordset()
{
    if (!myRS || !myRS->IsOpen())
        return;
    myRS.reset();
    if (m_burstDepth > 0) {
        m_scrambleOwed = true;
        return;
    }
    CryptFileHead(strDBFile);
}

void WordStore::ReleaseRecordset()
{
    myRS.reset();
}

QString WordStore::GetCommonPath() const
{
    return m_locations.commonFolder();
}

// ---------------------------------------------------------------- catalogue and settings

void WordStore::failCatalogue(const QString& what)
{
    m_prompter.message(QStringLiteral("%1，程序无法启动！").arg(what), messageTitle(), Prompter::Buttons::Ok,
                       Prompter::Icon::Critical);
}

bool WordStore::LoadSettings()
{
    if (!OpenRecordset(QStringLiteral("select * from FeatureTable")))
        return false;
    if (myRS->IsEOF()) {
        CloseRecordset();
        failCatalogue(QStringLiteral("单词库中没有设置记录"));
        return false;
    }
    iCurrBook = ToInt16(myRS->Field(QStringLiteral("LastBook")));
    iCurrUnit = ToInt16(myRS->Field(QStringLiteral("LastUnit")));
    iVersionID = ToInt16(myRS->Field(QStringLiteral("VersionID")));
    CloseRecordset();

    if (!OpenRecordset(QStringLiteral("select * from VersionInfo where ID = ") + QString::number(iVersionID)))
        return false;
    if (myRS->IsEOF()) {
        CloseRecordset();
        failCatalogue(QStringLiteral("单词库中没有所用版本（%1）的版本信息").arg(iVersionID));
        return false;
    }
    const QVariant name = myRS->Field(QStringLiteral("VersionName"));
    const QVariant stem = myRS->Field(QStringLiteral("VersionDB"));
    CloseRecordset();
    if (name.isNull() || stem.isNull()) {
        failCatalogue(QStringLiteral("单词库的版本信息不完整"));
        return false;
    }
    strVersionName = name.toString();
    strVersionDB = stem.toString();
    // The stem is joined into SQL text: accept nothing but a plain table name.
    if (!IsValidTableStem(strVersionDB)) {
        failCatalogue(QStringLiteral("单词库的版本信息有误"));
        return false;
    }

    if (!OpenRecordset(QStringLiteral("select DISTINCT BookName,BookID from ") + strVersionDB +
                       QStringLiteral("_BookUnit order by BookID")))
        return false;
    const int count = myRS->RecordCount();
    if (count == 0 || count > kMaxListCount) {
        CloseRecordset();
        failCatalogue(QStringLiteral("单词库中没有课本"));
        return false;
    }
    iBookNum = static_cast<std::int16_t>(count);
    arrBookName.assign(static_cast<size_t>(count), QString());
    myRS->MoveFirst();
    for (int i = 0; i < count && !myRS->IsEOF(); ++i) {
        arrBookName[static_cast<size_t>(i)] = myRS->Field(QStringLiteral("BookName")).toString().trimmed();
        myRS->MoveNext();
    }
    CloseRecordset();
    return true;
}

bool WordStore::LoadBookUnits(std::int16_t book)
{
    strSQL = QStringLiteral("select DISTINCT UnitName,UnitID,UnitStatus from ") + strVersionDB +
             QStringLiteral("_BookUnit where bookid = ") + QString::number(book) +
             QStringLiteral(" order by UnitID");
    if (!OpenRecordset(strSQL))
        return false;
    const int count = myRS->RecordCount();
    if (count == 0 || count > kMaxListCount) {
        iUnitNum = 0;
        m_prompter.message(kNoUnitsMessage, messageTitle());
        CloseRecordset();
        return false;
    }
    iUnitNum = static_cast<std::int16_t>(count);
    std::vector<CBookUnit> units(static_cast<size_t>(count));
    myRS->MoveFirst();
    for (int i = 0; i < count && !myRS->IsEOF(); ++i) {
        CBookUnit& unit = units[static_cast<size_t>(i)];
        unit.UnitName = myRS->Field(QStringLiteral("UnitName")).toString().trimmed();
        unit.BookID = book;
        unit.UnitID = static_cast<std::int16_t>(i);
        unit.UnitStatus = ToInt16(myRS->Field(QStringLiteral("UnitStatus")));
        myRS->MoveNext();
    }
    arrBookUnit = std::move(units);
    iCurrWord = 0;
    CloseRecordset();
    return true;
}

bool WordStore::SaveLastBookUnit()
{
    if (!OpenRecordset(QStringLiteral("select * from FeatureTable")))
        return false;
    QString error = QStringLiteral("单词库中没有设置记录");
    bool saved = !myRS->IsEOF();
    if (saved) {
        myRS->SetField(QStringLiteral("LastBook"), iCurrBook);
        myRS->SetField(QStringLiteral("LastUnit"), iCurrUnit);
        saved = myRS->Save(&error);
    }
    CloseRecordset();
    return saved || reportWriteFailure(RecordKind::LastBookUnit, error);
}

QString WordStore::GetBookName(std::int16_t book) const
{
    if (book < 0 || book >= iBookNum || static_cast<size_t>(book) >= arrBookName.size())
        return {};
    return arrBookName[static_cast<size_t>(book)];
}

// ---------------------------------------------------------------- current word list

bool WordStore::LoadUnitWords(std::int16_t book, std::int16_t unit)
{
    return loadWords(QStringLiteral("SELECT DISTINCT * FROM ") + strVersionDB +
                     QStringLiteral(" WHERE Book = ") + QString::number(book) +
                     QStringLiteral(" AND Unit = ") + QString::number(unit));
}

bool WordStore::LoadUnitRangeWords(std::int16_t book, std::int16_t unitFrom, std::int16_t unitTo)
{
    return loadWords(QStringLiteral("select DISTINCT * from ") + strVersionDB +
                     QStringLiteral(" where Book = ") + QString::number(book) +
                     QStringLiteral(" AND Unit >= ") + QString::number(unitFrom) +
                     QStringLiteral(" AND Unit <= ") + QString::number(unitTo));
}

bool WordStore::loadWords(const QString& sql)
{
    strSQL = sql;
    if (!OpenRecordset(strSQL)) {
        iWordNum = 0;
        return false;
    }
    const int count = myRS->RecordCount();
    if (count == 0 || count > kMaxListCount) {
        // More words than a 16-bit count holds is refused like an empty load.
        iWordNum = 0;
        m_prompter.message(kNoWordsMessage, messageTitle());
        CloseRecordset();
        return false;
    }
    iWordNum = static_cast<std::int16_t>(count);
    arrWords.assign(static_cast<size_t>(count), CWordType());
    ++m_listStamp;
    myRS->MoveFirst();
    for (int i = 0; i < count && !myRS->IsEOF(); ++i) {
        FetchWordRecord(*myRS, i);
        myRS->MoveNext();
    }
    iCurrWord = 0;
    CloseRecordset();
    return true;
}

void WordStore::FetchWordRecord(RecordSet& rs, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= arrWords.size())
        return;
    CWordType word;
    word.StoredEnglish = rs.Field(QStringLiteral("English")).toString();
    word.English = word.StoredEnglish.trimmed();
    word.Chinese = rs.Field(QStringLiteral("Chinese")).toString();
    word.Composition = ToInt16(rs.Field(QStringLiteral("Composition")));
    const QVariant result = rs.Field(QStringLiteral("Result"));
    word.Result = result.isNull() ? QStringLiteral("0|0|0") : result.toString();
    word.Tested = false;
    word.CurrErr = false;
    word.SetComposition();
    word.GetWordResult();
    arrWords[static_cast<size_t>(index)] = std::move(word);
}

void WordStore::SetCurrWordText()
{
    if (iCurrWord == iWordNum || iCurrWord < 0 || static_cast<size_t>(iCurrWord) >= arrWords.size())
        return;
    const CWordType& word = arrWords[static_cast<size_t>(iCurrWord)];
    if (word.English == strCurrEnglish)
        return;
    strLastEnglish = strCurrEnglish;
    strCurrEnglish = word.English.trimmed();
    strCurrChinese = word.Chinese.trimmed();
}

void WordStore::ResetTestFlags()
{
    for (CWordType& word : arrWords) {
        word.Tested = false;
        word.CurrErr = false;
    }
    iTestDone = 0;
}

void WordStore::ResetTestFlagsSkipPhrases()
{
    iTestDone = 0;
    for (CWordType& word : arrWords) {
        if (word.Composition != 0) {
            word.Tested = true;
        } else {
            word.Tested = false;
            word.CurrErr = false;
        }
    }
}

bool WordStore::SaveWordResults(const std::vector<int>& indices)
{
    myRS.reset();
    const ConnectionInfo info = ParseConnectString(strConnect);
    std::unique_ptr<Database> db;
    auto open = [&](QString* error) {
        db.reset();
        if (!QFileInfo::exists(info.dataSource)) {
            *error = QStringLiteral("找不到文件 %1").arg(QDir::toNativeSeparators(info.dataSource));
            return false;
        }
        db = Database::open(info.dataSource, info.password, &m_keys, error);
        // Opening reads nothing yet; the first read tells whether the header is in its plain state.
        if (db && !db->exec(QStringLiteral("select count(*) from sqlite_master"), error))
            db.reset();
        return db != nullptr;
    };
    QString error;
    if (!inEitherHeaderState(open, &error))
        return reportWriteFailure(RecordKind::WordResult, error);
    const bool saved = writeResults(*db, indices, &error);
    db.reset();
    CryptFileHead(strDBFile);
    return saved || reportWriteFailure(RecordKind::WordResult, error);
}

bool WordStore::writeResults(Database& db, const std::vector<int>& indices, QString* error)
{
    auto watch = [this](int written) {
        if (m_saveWatcher)
            m_saveWatcher(written);
    };
    // IMMEDIATE: the write lock is taken now, so no step of the run can fail for want of it later.
    if (!db.exec(QStringLiteral("BEGIN IMMEDIATE"), error))
        return false;
    watch(0);
    auto stmt = db.prepare(QStringLiteral("update ") + strVersionDB +
                               QStringLiteral(" set Result = ? where English in (?, ?)"),
                           {}, error);
    bool ok = stmt != nullptr;
    int written = 0;
    for (int index : indices) {
        if (!ok)
            break;
        if (index < 0 || static_cast<size_t>(index) >= arrWords.size())
            continue;
        CWordType& word = arrWords[static_cast<size_t>(index)];
        word.SetWordResultString();
        ok = BindValue(stmt.get(), 1, word.Result) && BindValue(stmt.get(), 2, word.English) &&
             BindValue(stmt.get(), 3, word.storedText()) && sqlite3_step(stmt.get()) == SQLITE_DONE;
        sqlite3_reset(stmt.get());
        if (ok)
            watch(++written);
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
    watch(-1);
    return true;
}

bool CWordType::UpdateUserInfo(WordStore& store)
{
    // The text is bound, not joined into the SQL, so "don't" and "it's" find their rows.
    if (!store.OpenRecordset(QStringLiteral("select * from ") + store.strVersionDB +
                                 QStringLiteral(" where English in (?, ?)"),
                             {English, storedText()}))
        return false;
    SetWordResultString();
    RecordSet& rs = *store.myRS;
    const int n = rs.RecordCount();
    QString error;
    bool saved = true;
    rs.MoveFirst();
    for (int i = 0; i < n && !rs.IsEOF() && saved; ++i) {
        rs.SetField(QStringLiteral("Result"), Result);
        saved = rs.Save(&error);
        rs.MoveNext();
    }
    // Closed without scrambling: the next query opens the plain file at its first try.
    store.ReleaseRecordset();
    return saved || store.reportWriteFailure(WordStore::RecordKind::WordResult, error);
}

// ---------------------------------------------------------------- learning records

bool WordStore::SetUnitStatus(std::int16_t status)
{
    if (iCurrUnit < 0 || static_cast<size_t>(iCurrUnit) >= arrBookUnit.size())
        return false;
    CBookUnit& unit = arrBookUnit[static_cast<size_t>(iCurrUnit)];
    unit.UnitStatus = MergeUnitStatus(unit.UnitStatus, status);
    return unit.UpdateUnitStatus(*this);
}

bool CBookUnit::UpdateUnitStatus(WordStore& store)
{
    if (!store.OpenRecordset(QStringLiteral("select * from ") + store.strVersionDB +
                             QStringLiteral("_BookUnit where BookID = ") + QString::number(BookID) +
                             QStringLiteral(" and UnitID = ") + QString::number(UnitID)))
        return false;
    RecordSet& rs = *store.myRS;
    QString error;
    bool saved = true;
    if (rs.RecordCount() == 0) {
        saved = AddUnitStatusRow(rs, store.iVersionID, store.GetBookName(BookID), &error);
    } else {
        // Every row of the unit carries the status, so the catalogue's DISTINCT reads see one unit.
        rs.MoveFirst();
        while (!rs.IsEOF() && saved) {
            rs.SetField(QStringLiteral("UnitStatus"), UnitStatus);
            saved = rs.Save(&error);
            rs.MoveNext();
        }
    }
    store.CloseRecordset();
    return saved || store.reportWriteFailure(WordStore::RecordKind::UnitStatus, error);
}

bool CBookUnit::AddUnitStatusRow(RecordSet& rs, std::int16_t versionID, const QString& bookName,
                                 QString* error)
{
    // A nameless row would count as another book and unit in the catalogue: carry the names.
    rs.AddNew();
    rs.SetField(QStringLiteral("VersionID"), versionID);
    rs.SetField(QStringLiteral("BookID"), BookID);
    rs.SetField(QStringLiteral("BookName"), bookName);
    rs.SetField(QStringLiteral("UnitID"), UnitID);
    rs.SetField(QStringLiteral("UnitName"), UnitName);
    rs.SetField(QStringLiteral("UnitStatus"), UnitStatus);
    return rs.Save(error);
}

std::int16_t WordStore::LoadHistory()
{
    if (!OpenRecordset(QStringLiteral("select * from History where userID = ") + QString::number(0) +
                       QStringLiteral(" order by NO DESC")))
        return 0;
    const int n = std::min(myRS->RecordCount(), kMaxHistoryRows);
    if (n == 0) {
        m_prompter.message(kNoHistoryMessage, messageTitle());
        CloseRecordset();
        return 0;
    }
    std::vector<CHisType> rows(static_cast<size_t>(n));
    myRS->MoveFirst();
    for (int i = 0; i < n && !myRS->IsEOF(); ++i) {
        CHisType& row = rows[static_cast<size_t>(i)];
        row.userID = ToInt16(myRS->Field(QStringLiteral("userID")));
        row.myDate = myRS->Field(QStringLiteral("Date")).toString();
        row.myTime = myRS->Field(QStringLiteral("Time")).toString();
        row.myTask = myRS->Field(QStringLiteral("Task")).toString();
        myRS->MoveNext();
    }
    arrHistory = std::move(rows);
    CloseRecordset();
    return static_cast<std::int16_t>(n);
}

// ---------------------------------------------------------------- random selection

std::int16_t WordStore::RandUntestedWord()
{
    const int n = std::min<int>(iWordNum, static_cast<int>(arrWords.size()));
    if (n <= 0)
        return -1;
    m_random.Randomize();
    for (int draw = 0; draw < kRandomDraws; ++draw) {
        const int i = m_random.below(n);
        if (!arrWords[static_cast<size_t>(i)].Tested)
            return static_cast<std::int16_t>(i);
    }
    for (int i = 0; i < n; ++i) {
        if (!arrWords[static_cast<size_t>(i)].Tested)
            return static_cast<std::int16_t>(i);
    }
    return -1;
}

} // namespace lexora
