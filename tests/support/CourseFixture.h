#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <optional>
#include <vector>

namespace lexora::test {

// Builds a small course database in a temporary folder laid out as the program expects:
// <tmp>/Lexora/AppPics/lexora.pet beside <tmp>/Common/{voice,pics,appvoice,myvoice}.
class CourseFixture
{
public:
    struct Unit
    {
        int book;
        QString bookName;
        int unit;
        QString unitName;
        QVariant status; // invalid QVariant: Null
    };
    struct Word
    {
        int book;
        int unit;
        QString english;
        QString chinese;
        int composition = 0;
        QVariant result; // invalid QVariant: Null
    };
    struct History
    {
        int no;
        int userID;
        QString date;
        QString time;
        QString task;
    };

    CourseFixture();

    // Settings and version; defaults: book 0, unit 0, version 1 "小学英语" with stem "PEP".
    int lastBook = 0;
    int lastUnit = 0;
    int versionID = 1;
    QString versionName = QStringLiteral("小学英语");
    QString versionDB = QStringLiteral("PEP");
    bool withSettingsRow = true;
    bool withVersionRow = true;

    std::vector<Unit> units;
    std::vector<Word> words;
    std::vector<History> history;

    // Two books: book 0 with units 0..2, book 1 with units 0..1; a phrase, an apostrophe word and a
    // word shared by two units among them.
    static CourseFixture standard();
    // The standard course as a fresh build makes it: no results, no status.
    static CourseFixture fresh();

    // Writes the database; scrambled at rest unless told otherwise. False on failure.
    bool build(bool scrambled = true);

    QString programFolder() const;
    QString commonFolder() const;
    QString dbFile() const;
    QString root() const { return m_dir.path(); }

    // Reads rows straight from the file, whatever its header state, and leaves the file as found.
    std::vector<QVariantList> rows(const QString& sql) const;
    // Runs a statement on the file (header state kept as found).
    bool exec(const QString& sql) const;
    // The same for any database file.
    static std::vector<QVariantList> rowsOf(const QString& file, const QString& sql);
    static bool execOn(const QString& file, const QString& sql);
    QByteArray head(int n = 72) const;

private:
    QTemporaryDir m_dir;
};

} // namespace lexora::test
