#include "store/Catalogue.h"

#include "store/CourseDatabase.h"
#include "store/Schema.h"

#include <limits>

namespace lexora {

namespace {

constexpr int kMaxListCount = std::numeric_limits<std::int16_t>::max();

bool openFailed(const QString& reason, StoreFailure* failure)
{
    *failure = {StoreFailure::Kind::Open, reason};
    return false;
}

bool contentFailed(CourseDatabase& db, const QString& reason, StoreFailure* failure)
{
    db.close();
    *failure = {StoreFailure::Kind::Content, reason};
    return false;
}

} // namespace

std::int16_t MergeUnitStatus(std::int16_t current, UnitMark mark)
{
    const auto status = static_cast<std::int16_t>(mark);
    if (current == 0)
        return status;
    if (current > 2)
        return 3;
    return status == current ? status : static_cast<std::int16_t>(status + current);
}

QString Catalogue::bookName(int book) const
{
    if (book < 0 || book >= bookCount())
        return {};
    return m_bookNames[static_cast<size_t>(book)];
}

QString Catalogue::currentUnitName() const
{
    const bool known = m_currentUnit >= 0 && m_currentUnit < m_unitCount &&
                       static_cast<size_t>(m_currentUnit) < m_units.size();
    return known ? m_units[static_cast<size_t>(m_currentUnit)].UnitName : QString();
}

void Catalogue::setCurrent(std::int16_t book, std::int16_t unit)
{
    m_currentBook = book;
    m_currentUnit = unit;
}

int Catalogue::unitCount() const
{
    return std::min(m_unitCount, static_cast<int>(m_units.size()));
}

const CBookUnit* Catalogue::unit(int index) const
{
    return index >= 0 && index < unitCount() ? &m_units[static_cast<size_t>(index)] : nullptr;
}

void Catalogue::restoreUnits(std::vector<CBookUnit> units, int count)
{
    m_units = std::move(units);
    m_unitCount = count;
}

bool Catalogue::readSettings(CourseDatabase& db, StoreFailure* failure)
{
    QString error;
    if (!db.open(QStringLiteral("select * from FeatureTable"), {}, &error))
        return openFailed(error, failure);
    RecordSet& rs = db.rows();
    if (rs.IsEOF())
        return contentFailed(db, QStringLiteral("单词库中没有设置记录"), failure);
    m_currentBook = ToInt16(rs.Field(QStringLiteral("LastBook")));
    m_currentUnit = ToInt16(rs.Field(QStringLiteral("LastUnit")));
    m_versionId = ToInt16(rs.Field(QStringLiteral("VersionID")));
    db.close();

    if (!db.open(QStringLiteral("select * from VersionInfo where ID = ") + QString::number(m_versionId), {},
                 &error))
        return openFailed(error, failure);
    if (db.rows().IsEOF())
        return contentFailed(db, QStringLiteral("单词库中没有所用版本（%1）的版本信息").arg(m_versionId),
                             failure);
    const QVariant name = db.rows().Field(QStringLiteral("VersionName"));
    const QVariant stem = db.rows().Field(QStringLiteral("VersionDB"));
    db.close();
    if (name.isNull() || stem.isNull())
        return contentFailed(db, QStringLiteral("单词库的版本信息不完整"), failure);
    m_versionName = name.toString();
    m_tableStem = stem.toString();
    // The stem is joined into SQL text: accept nothing but a plain table name.
    if (!IsValidTableStem(m_tableStem))
        return contentFailed(db, QStringLiteral("单词库的版本信息有误"), failure);

    if (!db.open(QStringLiteral("select DISTINCT BookName,BookID from ") + m_tableStem +
                     QStringLiteral("_BookUnit order by BookID"),
                 {}, &error))
        return openFailed(error, failure);
    const int count = db.rows().RecordCount();
    if (count == 0 || count > kMaxListCount)
        return contentFailed(db, QStringLiteral("单词库中没有课本"), failure);
    std::vector<QString> names;
    for (db.rows().MoveFirst(); !db.rows().IsEOF(); db.rows().MoveNext())
        names.push_back(db.rows().Field(QStringLiteral("BookName")).toString().trimmed());
    m_bookNames = std::move(names);
    db.close();
    return true;
}

bool Catalogue::readUnits(CourseDatabase& db, std::int16_t book, StoreFailure* failure)
{
    QString error;
    if (!db.open(QStringLiteral("select DISTINCT UnitName,UnitID,UnitStatus from ") + m_tableStem +
                     QStringLiteral("_BookUnit where bookid = ") + QString::number(book) +
                     QStringLiteral(" order by UnitID"),
                 {}, &error))
        return openFailed(error, failure);
    RecordSet& rs = db.rows();
    const int count = rs.RecordCount();
    if (count == 0 || count > kMaxListCount) {
        m_unitCount = 0;
        return contentFailed(db, {}, failure);
    }
    std::vector<CBookUnit> units(static_cast<size_t>(count));
    rs.MoveFirst();
    for (int i = 0; i < count && !rs.IsEOF(); ++i) {
        CBookUnit& unit = units[static_cast<size_t>(i)];
        unit.UnitName = rs.Field(QStringLiteral("UnitName")).toString().trimmed();
        unit.BookID = book;
        unit.UnitID = static_cast<std::int16_t>(i);
        unit.UnitStatus = ToInt16(rs.Field(QStringLiteral("UnitStatus")));
        rs.MoveNext();
    }
    m_units = std::move(units);
    m_unitCount = count;
    db.close();
    return true;
}

bool Catalogue::writeLastChoice(CourseDatabase& db, StoreFailure* failure) const
{
    QString error;
    if (!db.open(QStringLiteral("select * from FeatureTable"), {}, &error))
        return openFailed(error, failure);
    RecordSet& rs = db.rows();
    error = QStringLiteral("单词库中没有设置记录");
    bool saved = !rs.IsEOF();
    if (saved) {
        rs.SetField(QStringLiteral("LastBook"), m_currentBook);
        rs.SetField(QStringLiteral("LastUnit"), m_currentUnit);
        saved = rs.Save(&error);
    }
    db.close();
    if (!saved)
        *failure = {StoreFailure::Kind::Write, error};
    return saved;
}

bool Catalogue::markCurrentUnit(CourseDatabase& db, UnitMark mark, StoreFailure* failure)
{
    if (m_currentUnit < 0 || static_cast<size_t>(m_currentUnit) >= m_units.size()) {
        *failure = {};
        return false;
    }
    CBookUnit& unit = m_units[static_cast<size_t>(m_currentUnit)];
    unit.UnitStatus = MergeUnitStatus(unit.UnitStatus, mark);
    QString error;
    if (!db.open(QStringLiteral("select * from ") + m_tableStem +
                     QStringLiteral("_BookUnit where BookID = ") + QString::number(unit.BookID) +
                     QStringLiteral(" and UnitID = ") + QString::number(unit.UnitID),
                 {}, &error))
        return openFailed(error, failure);
    RecordSet& rs = db.rows();
    bool saved = true;
    if (rs.RecordCount() == 0) {
        // A nameless row would count as another book and unit in the catalogue: carry the names.
        rs.AddNew();
        rs.SetField(QStringLiteral("VersionID"), m_versionId);
        rs.SetField(QStringLiteral("BookID"), unit.BookID);
        rs.SetField(QStringLiteral("BookName"), bookName(unit.BookID));
        rs.SetField(QStringLiteral("UnitID"), unit.UnitID);
        rs.SetField(QStringLiteral("UnitName"), unit.UnitName);
        rs.SetField(QStringLiteral("UnitStatus"), unit.UnitStatus);
        saved = rs.Save(&error);
    } else {
        // Every row of the unit carries the status, so the catalogue's DISTINCT reads see one unit.
        for (rs.MoveFirst(); !rs.IsEOF() && saved; rs.MoveNext()) {
            rs.SetField(QStringLiteral("UnitStatus"), unit.UnitStatus);
            saved = rs.Save(&error);
        }
    }
    db.close();
    if (!saved)
        *failure = {StoreFailure::Kind::Write, error};
    return saved;
}

bool Catalogue::readHistory(CourseDatabase& db, StoreFailure* failure)
{
    QString error;
    if (!db.open(QStringLiteral("select * from History where userID = ") + QString::number(0) +
                     QStringLiteral(" order by NO DESC"),
                 {}, &error))
        return openFailed(error, failure);
    RecordSet& rs = db.rows();
    const int n = std::min(rs.RecordCount(), kMaxHistoryRows);
    if (n == 0)
        return contentFailed(db, {}, failure);
    std::vector<CHisType> rows(static_cast<size_t>(n));
    rs.MoveFirst();
    for (int i = 0; i < n && !rs.IsEOF(); ++i) {
        CHisType& row = rows[static_cast<size_t>(i)];
        row.userID = ToInt16(rs.Field(QStringLiteral("userID")));
        row.myDate = rs.Field(QStringLiteral("Date")).toString();
        row.myTime = rs.Field(QStringLiteral("Time")).toString();
        row.myTask = rs.Field(QStringLiteral("Task")).toString();
        rs.MoveNext();
    }
    m_history = std::move(rows);
    db.close();
    return true;
}

} // namespace lexora
