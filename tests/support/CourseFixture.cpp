#include "CourseFixture.h"

#include "store/FileHead.h"
#include "store/LearnerRecords.h"
#include "store/Schema.h"
#include "store/SqlCipher.h"

#include <QDir>
#include <QFile>
#include <sqlcipher/sqlite3.h>

namespace lexora::test {

CourseFixture::CourseFixture()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("Lexora/AppPics"));
    for (const char* sub : {"voice", "pics", "appvoice", "myvoice"})
        QDir(m_dir.path()).mkpath(QStringLiteral("Common/") + QLatin1String(sub));
}

CourseFixture CourseFixture::fresh()
{
    CourseFixture course = standard();
    for (auto& word : course.words)
        word.result = QVariant();
    for (auto& unit : course.units)
        unit.status = QVariant();
    return course;
}

CourseFixture CourseFixture::standard()
{
    CourseFixture f;
    f.units = {
        {0, QStringLiteral(" 三年级上册 "), 0, QStringLiteral(" Unit 1 Hello "), QVariant()},
        {0, QStringLiteral(" 三年级上册 "), 1, QStringLiteral("Unit 2 Colours"), 1},
        {0, QStringLiteral(" 三年级上册 "), 2, QStringLiteral("Unit 3 Food"), 2},
        {1, QStringLiteral("三年级下册"), 0, QStringLiteral("Unit 1 School"), QVariant()},
        {1, QStringLiteral("三年级下册"), 1, QStringLiteral("Unit 2 Family"), 3},
    };
    f.words = {
        {0, 0, QStringLiteral("hello"), QStringLiteral("你好"), 0, QVariant()},
        {0, 0, QStringLiteral("good morning"), QStringLiteral("早上好"), 1, QStringLiteral("3|1|2")},
        {0, 0, QStringLiteral(" I'm "), QStringLiteral("我是"), 0, QVariant()},
        {0, 1, QStringLiteral("red"), QStringLiteral("红色"), 0, QStringLiteral("7|0|7")},
        {0, 1, QStringLiteral("blue"), QStringLiteral("蓝色"), 0, QVariant()},
        {0, 1, QStringLiteral("apple"), QStringLiteral("苹果"), 0, QVariant()},
        {0, 2, QStringLiteral("apple"), QStringLiteral("苹果"), 0, QVariant()},
        {0, 2, QStringLiteral("ice cream"), QStringLiteral("冰淇淋"), 0, QVariant()},
        {0, 2, QStringLiteral("cake"), QStringLiteral("蛋糕"), 0, QStringLiteral("")},
        {1, 0, QStringLiteral("pen"), QStringLiteral("钢笔"), 0, QVariant()},
        {1, 0, QStringLiteral("T-shirt"), QStringLiteral("T恤衫"), 0, QVariant()},
        {1, 1, QStringLiteral("mother"), QStringLiteral("母亲"), 0, QVariant()},
    };
    return f;
}

QString CourseFixture::programFolder() const
{
    return m_dir.path() + QStringLiteral("/Lexora");
}

QString CourseFixture::commonFolder() const
{
    return m_dir.path() + QStringLiteral("/Common");
}

QString CourseFixture::dbFile() const
{
    return programFolder() + QStringLiteral("/AppPics/") + QLatin1String(kDatabaseFileName);
}

bool CourseFixture::build(bool scrambled)
{
    QFile::remove(dbFile());
    QString error;
    auto db = Database::open(dbFile(), QLatin1String(kDatabasePassword), nullptr, &error);
    if (!db || !CreateCourseSchema(*db, versionDB, &error) || !db->exec(QStringLiteral("BEGIN")))
        return false;
    auto run = [&db](const QString& sql, const QVariantList& params) {
        QString err;
        auto stmt = db->prepare(sql, params, &err);
        return stmt && sqlite3_step(stmt.get()) == SQLITE_DONE;
    };
    bool ok = true;
    if (withSettingsRow)
        ok &= run(QStringLiteral("insert into FeatureTable values (?,?,?)"), {lastBook, lastUnit, versionID});
    if (withVersionRow)
        ok &= run(QStringLiteral("insert into VersionInfo values (?,?,?)"),
                  {versionID, versionName, versionDB});
    for (const Unit& u : units)
        ok &= run(QStringLiteral("insert into %1_BookUnit (BookID, BookName, UnitID, UnitName, UnitStatus, "
                                 "VersionID) values (?,?,?,?,?,?)")
                      .arg(versionDB),
                  {u.book, u.bookName, u.unit, u.unitName, u.status, versionID});
    for (const Word& w : words)
        ok &= run(QStringLiteral("insert into %1 (Book, Unit, English, Chinese, Composition, Result) "
                                 "values (?,?,?,?,?,?)")
                      .arg(versionDB),
                  {w.book, w.unit, w.english, w.chinese, w.composition, w.result});
    for (const History& h : history)
        ok &= run(QStringLiteral("insert into History values (?,?,?,?,?)"),
                  {h.no, h.userID, h.date, h.time, h.task});
    ok &= db->exec(QStringLiteral("COMMIT"));
    db.reset();
    if (ok && scrambled)
        ok = CryptFileHead(dbFile());
    return ok;
}

namespace {

// Opens the file whatever its header state; sets toggled when it had to be unscrambled.
std::unique_ptr<Database> openEither(const QString& file, bool& toggled)
{
    QString error;
    return OpenInEitherState(file, &toggled, &error);
}

} // namespace

std::vector<QVariantList> CourseFixture::rows(const QString& sql) const
{
    return rowsOf(dbFile(), sql);
}

bool CourseFixture::exec(const QString& sql) const
{
    return execOn(dbFile(), sql);
}

std::vector<QVariantList> CourseFixture::rowsOf(const QString& file, const QString& sql)
{
    bool toggled = false;
    std::vector<QVariantList> out;
    {
        auto db = openEither(file, toggled);
        if (!db)
            return out;
        QString error;
        auto stmt = db->prepare(sql, {}, &error);
        while (stmt && sqlite3_step(stmt.get()) == SQLITE_ROW) {
            QVariantList row;
            for (int c = 0; c < sqlite3_column_count(stmt.get()); ++c)
                row << ColumnValue(stmt.get(), c);
            out.push_back(row);
        }
    }
    if (toggled)
        CryptFileHead(file);
    return out;
}

bool CourseFixture::execOn(const QString& file, const QString& sql)
{
    bool toggled = false;
    bool ok = false;
    {
        auto db = openEither(file, toggled);
        ok = db && db->exec(sql);
    }
    if (toggled)
        CryptFileHead(file);
    return ok;
}

QByteArray CourseFixture::head(int n) const
{
    QFile f(dbFile());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(n);
}

} // namespace lexora::test
