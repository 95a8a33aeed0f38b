#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QIODevice;
class QXmlStreamReader;

namespace lexora {

struct EmojiMatch
{
    QString emoji; // fully qualified, ready to draw
    QString name;  // its spoken English name
    // How the English word found it: 0 its name is the word, 1 its name is the word after a
    // describing word ("red apple"), 2 and up looser matches an author should look at (see tierOf),
    // kByMeaningOnly when only the Chinese meaning found it.
    int rule = 0;
    // How its Chinese annotations agree with the word's meaning: 2 its Chinese name is the meaning
    // (书包 for 🎒), 1 a Chinese keyword is, 0 neither.
    int meaning = 0;
};

inline constexpr int kByMeaningOnly = 6;

// Finds a picture for an English word among the emoji, by their English names and keywords from
// the Unicode CLDR annotation files. Only emoji that stand alone qualify: no skin-tone variants,
// no bare components (hair styles, regional indicator letters, digits).
class EmojiNames
{
public:
    // The English and Chinese annotation files of the unicode-cldr-core package and its country names
    // and codes.
    static QStringList InstalledFiles();

    // Reads every file; false with the reason when one is missing or holds nothing of use.
    bool loadFiles(const QStringList& paths, QString* error);
    // Adds what one CLDR file holds: emoji annotations (cp, its keywords and its spoken name),
    // other names of countries, their three-letter codes.
    bool addAnnotations(QIODevice& xml, QString* error);

    std::optional<EmojiMatch> find(const QString& word, const QString& meaning = {}) const;
    // Every emoji the word finds, the best first. A Chinese meaning, when given, puts the emoji whose
    // Chinese name it is first, loose English matches that it contradicts last, and finds emoji
    // whose Chinese annotations hold it when the English finds none.
    std::vector<EmojiMatch> candidates(const QString& word, const QString& meaning = {}) const;

private:
    struct Entry
    {
        QString emoji;
        QString name;
        QStringList nameWords; // of the name, or of the country for a flag
        QStringList keywords;  // each a phrase of reduced words joined by spaces
        QString regionCode;    // "CA" for the flag of Canada
        QStringList zhNames;   // its Chinese spoken names
        QStringList zhKeywords;
        int codePoints = 0;
        int order = 0;
    };
    std::vector<EmojiMatch> ranked(const QString& word, const QString& meaning) const;
    int tierOf(const Entry& entry, const QStringList& words, const QString& phrase) const;
    bool addCountryName(QXmlStreamReader& reader);

    std::vector<Entry> m_entries;
    QHash<QString, int> m_indexOf;      // by the cp text of the files
    QHash<QString, int> m_keywordUse;   // how many emoji list a keyword their names do not hold
    QSet<QString> m_thingWords;         // the last words of the emoji names: things of their own
    QHash<QString, QString> m_regionOf; // other names and codes of countries ("UK", "ivory coast")
};

} // namespace lexora
