#include "course/EmojiNames.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <algorithm>
#include <tuple>
#include <unicode/uchar.h>

namespace lexora {

namespace {

const QString kFlagPrefix = QStringLiteral("flag: ");
constexpr char32_t kVariationSelector = 0xFE0F;
constexpr char32_t kRegionalIndicatorA = 0x1F1E6;

// Function words name nothing a picture can show; an emoji found for them ("she", "this") would
// only puzzle a child, whatever keyword happens to hold them.
const QSet<QString>& stopWords()
{
    static const QSet<QString> words = {
        // pronouns and their forms
        "i", "i'm", "me", "my", "mine", "you", "you're", "your", "yours", "he", "he's", "him", "his", "she",
        "she's", "her", "hers", "it", "it's", "its", "we", "we're", "us", "our", "ours", "they", "they're",
        "them", "their", "theirs",
        // articles, determiners, question words
        "a", "an", "the", "this", "that", "these", "those", "what", "what's", "who", "whose", "which",
        "where", "when", "why", "how", "some", "any", "every", "each", "all", "both",
        // be, have, do and the helping verbs
        "am", "is", "are", "was", "were", "be", "been", "do", "does", "did", "don't", "doesn't", "have",
        "has", "had", "can", "can't", "will", "won't", "shall", "may", "must", "let's",
        // conjunctions, prepositions, little adverbs
        "and", "or", "but", "not", "no", "yes", "so", "if", "then", "too", "also", "very", "here", "there",
        "to", "of", "in", "on", "at", "by", "for", "with", "from", "into", "about", "under", "over", "up",
        "down", "off", "out"};
    return words;
}

// Plural and -ing endings taken off one lower-case word, the same way on both sides of a
// comparison: "cherries" and "cherry" meet at "cherry", "boxes" at "box", "running" at "run".
// Deliberately simple: an -ing stem keeps its letters ("making" stays "mak"), and only stems
// with a vowel are cut, so that "string" and "spring" stay whole.
QString reduceWord(const QString& w)
{
    static const QRegularExpression sibilantPlural(QStringLiteral("(s|x|z|ch|sh)es$"));
    static const QRegularExpression keptS(QStringLiteral("(ss|us|is)$"));
    static const QRegularExpression vowel(QStringLiteral("[aeiouy]"));
    const qsizetype n = w.size();
    if (n > 4 && w.endsWith(QLatin1String("ies")))
        return w.left(n - 3) + QLatin1Char('y');
    if (n > 4 && sibilantPlural.match(w).hasMatch())
        return w.left(n - 2);
    if (n > 3 && w.endsWith(QLatin1Char('s')) && !keptS.match(w).hasMatch())
        return w.left(n - 1);
    if (n > 5 && w.endsWith(QLatin1String("ing"))) {
        QString stem = w.left(n - 3);
        if (!stem.contains(vowel))
            return w;
        const QChar last = stem.back();
        if (last == stem.at(stem.size() - 2) && !QStringLiteral("lsz").contains(last))
            stem.chop(1);
        return stem;
    }
    return w;
}

QString foldText(const QString& text)
{
    QString folded = text.toLower().trimmed();
    folded.replace(QChar(0x2019), QLatin1Char('\''));
    return folded;
}

// Lower-case words of a text; apostrophes and hyphens stay inside a word ("i'm", "t-shirt").
QStringList foldedWords(const QString& text)
{
    static const QRegularExpression word(QStringLiteral("[\\w'-]+"));
    QStringList words;
    auto it = word.globalMatch(foldText(text));
    while (it.hasNext())
        words << it.next().captured();
    return words;
}

bool isEmoji(char32_t c, UProperty property)
{
    return u_hasBinaryProperty(static_cast<UChar32>(c), property) != 0;
}

// The files leave out the variation selectors; a picture is drawn from the fully qualified form.
// Nothing for what is no emoji of its own: symbols, skin-tone variants, bare components.
std::optional<QString> qualified(const QString& cp)
{
    const QList<uint> points = cp.toUcs4();
    if (points.isEmpty())
        return std::nullopt;
    if (points.size() == 1 && isEmoji(points[0], UCHAR_EMOJI_COMPONENT))
        return std::nullopt;
    QList<uint> out;
    for (const char32_t c : points) {
        if (isEmoji(c, UCHAR_EMOJI_MODIFIER))
            return std::nullopt;
        out << c;
        if (isEmoji(c, UCHAR_EMOJI) && !isEmoji(c, UCHAR_EMOJI_PRESENTATION) &&
            !isEmoji(c, UCHAR_REGIONAL_INDICATOR))
            out << kVariationSelector;
    }
    const QString text = QString::fromUcs4(reinterpret_cast<const char32_t*>(out.constData()), out.size());
    if (!u_stringHasBinaryProperty(reinterpret_cast<const UChar*>(text.utf16()),
                                   static_cast<int32_t>(text.size()), UCHAR_RGI_EMOJI))
        return std::nullopt;
    return text;
}

// "CA" for the flag of Canada, spelt by its two regional indicator letters.
QString regionCode(const QString& emoji)
{
    const QList<uint> points = emoji.toUcs4();
    QString code;
    for (const uint c : points) {
        if (c < kRegionalIndicatorA || c > kRegionalIndicatorA + 25)
            return {};
        code += QChar(u'A' + static_cast<char16_t>(c - kRegionalIndicatorA));
    }
    return code.size() == 2 ? code : QString();
}

bool endsWith(const QStringList& whole, const QStringList& part)
{
    return whole.size() > part.size() && whole.mid(whole.size() - part.size()) == part;
}

bool holds(const QStringList& whole, const QStringList& part)
{
    for (qsizetype i = 0; i + part.size() <= whole.size(); ++i) {
        if (whole.mid(i, part.size()) == part)
            return true;
    }
    return false;
}

// The words of a text in lower case, without plural or -ing endings: "Boxes" -> {"box"}.
QStringList ReducedWords(const QString& text)
{
    QStringList words = foldedWords(text);
    for (QString& word : words)
        word = reduceWord(word);
    return words;
}

} // namespace

QStringList EmojiNames::InstalledFiles()
{
    const QString common = QStringLiteral("/usr/share/unicode/cldr/common/");
    return {common + QStringLiteral("annotations/en.xml"),
            common + QStringLiteral("annotationsDerived/en.xml"),
            common + QStringLiteral("annotations/zh.xml"),
            common + QStringLiteral("annotationsDerived/zh.xml"),
            // After the Simplified names, which stay an emoji's first Chinese name.
            common + QStringLiteral("annotations/zh_Hant.xml"),
            common + QStringLiteral("annotationsDerived/zh_Hant.xml"),
            common + QStringLiteral("main/en.xml"),
            common + QStringLiteral("supplemental/supplementalData.xml")};
}

bool EmojiNames::loadFiles(const QStringList& paths, QString* error)
{
    for (const QString& path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
            return false;
        }
        if (!addAnnotations(file, error)) {
            *error = QStringLiteral("%1: %2").arg(path, *error);
            return false;
        }
    }
    return true;
}

bool EmojiNames::addAnnotations(QIODevice& xml, QString* error)
{
    QXmlStreamReader reader(&xml);
    int read = 0;
    bool chinese = false;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("language")) {
            chinese = reader.attributes().value(QLatin1String("type")) == QLatin1String("zh");
            continue;
        }
        if (!chinese && addCountryName(reader)) {
            ++read;
            continue;
        }
        if (reader.name() != QLatin1String("annotation"))
            continue;
        const QString cp = reader.attributes().value(QLatin1String("cp")).toString();
        const bool spoken = reader.attributes().value(QLatin1String("type")) == QLatin1String("tts");
        const QString text = reader.readElementText().trimmed();
        ++read;
        int index = m_indexOf.value(cp, -1);
        if (index < 0) {
            const auto emoji = qualified(cp);
            if (!emoji)
                continue;
            index = static_cast<int>(m_entries.size());
            m_indexOf.insert(cp, index);
            Entry entry;
            entry.emoji = *emoji;
            entry.codePoints = static_cast<int>(cp.toUcs4().size());
            entry.order = index;
            entry.regionCode = regionCode(cp);
            m_entries.push_back(std::move(entry));
        }
        Entry& entry = m_entries[static_cast<size_t>(index)];
        if (chinese) {
            QStringList& list = spoken ? entry.zhNames : entry.zhKeywords;
            for (const QString& keyword : text.split(QLatin1Char('|'), Qt::SkipEmptyParts))
                list << keyword.trimmed();
        } else if (spoken) {
            entry.name = text;
            entry.nameWords =
                ReducedWords(text.startsWith(kFlagPrefix) ? text.mid(kFlagPrefix.size()) : text);
        } else {
            entry.keywords.clear();
            for (const QString& keyword : text.split(QLatin1Char('|'), Qt::SkipEmptyParts))
                entry.keywords << ReducedWords(keyword).join(QLatin1Char(' '));
        }
    }
    if (reader.hasError()) {
        *error = QStringLiteral("line %1: %2").arg(reader.lineNumber()).arg(reader.errorString());
        return false;
    }
    if (read == 0) {
        *error = QStringLiteral("no emoji annotations or country names");
        return false;
    }
    m_keywordUse.clear();
    m_thingWords.clear();
    for (const Entry& entry : m_entries) {
        for (const QString& keyword : entry.keywords) {
            if (!holds(entry.nameWords, keyword.split(QLatin1Char(' '))))
                ++m_keywordUse[keyword];
        }
        if (entry.regionCode.isEmpty() && !entry.nameWords.isEmpty())
            m_thingWords.insert(entry.nameWords.back());
    }
    return true;
}

// The short and other names of a country (<territory type="GB" alt="short">UK</territory>) and its
// three-letter code (<territoryCodes type="US" alpha3="USA"/>) find its flag too.
bool EmojiNames::addCountryName(QXmlStreamReader& reader)
{
    const auto attributes = reader.attributes();
    const QString region = attributes.value(QLatin1String("type")).toString();
    if (reader.name() == QLatin1String("territoryCodes")) {
        const QString code = attributes.value(QLatin1String("alpha3")).toString();
        if (!code.isEmpty())
            m_regionOf.insert(code, region);
        return true;
    }
    if (reader.name() != QLatin1String("territory") || !attributes.hasAttribute(QLatin1String("alt")))
        return false;
    const QString name = reader.readElementText().trimmed();
    static const QRegularExpression code(QStringLiteral("^[A-Z]{2,3}$"));
    m_regionOf.insert(code.match(name).hasMatch() ? name : ReducedWords(name).join(QLatin1Char(' ')), region);
    return true;
}

// Which rule an emoji qualifies by, the most telling first; -1 when it does not.
//  0  its name is the word ("pencil"), or, for a flag, one of its country's names ("Canada", "UK");
//  1  its name ends with the word after a describing word: "red apple" is an apple, "soccer ball"
//     a ball, "person running" shows running;
//  2  the same after a word that names a thing of its own, which makes it a looser kind of the word:
//     "rice ball", "tram car", "moon cake" (rice, tram and moon end names of other emoji);
//  3  its keywords list the word plainly, its name is one other word that does not hold it, even as
//     the end of a compound, and at most two emoji list the word so: "backpack" for bag, "automobile"
//     for car, but not "handbag";
//  4  only its keywords list the word, the emoji has at most three of them, and at most two emoji
//     list the word without naming it: "tangerine" for "orange", "yo-yo" for "toy", but not "ear"
//     for "body", which many list as their category;
//  5  its name holds the word elsewhere and its keywords list the word alone ("yellow heart").
// A flag matches only by a whole name of its country, so that "island" finds no flag.
int EmojiNames::tierOf(const Entry& entry, const QStringList& words, const QString& phrase) const
{
    if (entry.name.isEmpty())
        return -1;
    if (entry.nameWords == words)
        return 0;
    if (!entry.regionCode.isEmpty() || entry.name.startsWith(kFlagPrefix))
        return -1;
    if (endsWith(entry.nameWords, words)) {
        const QString& describing = entry.nameWords.at(entry.nameWords.size() - words.size() - 1);
        return m_thingWords.contains(describing) ? 2 : 1;
    }
    if (!entry.keywords.contains(phrase))
        return -1;
    if (holds(entry.nameWords, words))
        return 5;
    const bool compound =
        words.size() == 1 && entry.nameWords.size() == 1 && entry.nameWords.front().endsWith(words.front());
    if (entry.nameWords.size() == 1 && !compound && m_keywordUse.value(phrase) <= 2)
        return 3;
    return entry.keywords.size() <= 3 && m_keywordUse.value(phrase) <= 2 ? 4 : -1;
}

namespace {

// The meanings a Chinese column lists: "书包；包" or "苹果（水果）" hold two each.
QStringList meaningsOf(const QString& chinese)
{
    static const QRegularExpression separators(QStringLiteral("[，,；;、/|（）()\\s]+"));
    QStringList meanings;
    for (QString part : chinese.split(separators, Qt::SkipEmptyParts)) {
        part.remove(QRegularExpression(QStringLiteral("的$")));
        if (!part.isEmpty())
            meanings << part;
    }
    return meanings;
}

// A keyword of one character (大, 小) is a category too wide to stand for a word by itself.
int meaningLevel(const QStringList& names, const QStringList& keywords, const QStringList& meanings)
{
    for (const QString& meaning : meanings) {
        if (names.contains(meaning))
            return 2;
    }
    for (const QString& meaning : meanings) {
        if (meaning.size() > 1 && keywords.contains(meaning))
            return 1;
    }
    return 0;
}

} // namespace

// Order: an emoji whose Chinese name is the meaning, then by the English rule, loose matches the
// meaning contradicts last; within a rule, the
// one the meaning agrees with more, the fewest words in the name (the plainest picture of the word),
// a single emoji over a sequence, the shortest name, the order of the files. A name spelt as the
// word beats one that meets it only when reduced ("eye" before "eyes").
std::vector<EmojiMatch> EmojiNames::ranked(const QString& word, const QString& meaning) const
{
    const QString folded = foldText(word);
    const QStringList words = ReducedWords(word);
    const QString phrase = words.join(QLatin1Char(' '));
    const QStringList meanings = meaningsOf(meaning);
    // Codes count only in capitals: "US" is a country, "us" a pronoun.
    const QString region = m_regionOf.value(word.trimmed(), m_regionOf.value(phrase));
    const QStringList spelt = foldedWords(word);
    if (region.isEmpty() &&
        std::all_of(spelt.begin(), spelt.end(), [](const QString& w) { return stopWords().contains(w); }))
        return {};
    using Key = std::tuple<int, int, int, bool, qsizetype, int, qsizetype, int>;
    std::vector<std::pair<Key, EmojiMatch>> found;
    for (const Entry& entry : m_entries) {
        int tier = !region.isEmpty() && entry.regionCode == region ? 0 : tierOf(entry, words, phrase);
        const int agrees = meaningLevel(entry.zhNames, entry.zhKeywords, meanings);
        // A loose match whose Chinese annotations do not hold the meaning may teach another word
        // ("shrimp" for small): it comes after every other candidate.
        const bool contradicted =
            tier >= 3 && agrees == 0 && !meanings.isEmpty() && !entry.zhKeywords.isEmpty();
        if (tier < 0 && agrees == 0)
            continue;
        if (tier < 0)
            tier = kByMeaningOnly;
        const QString name = entry.name.isEmpty() ? entry.zhNames.value(0) : entry.name;
        if (name.isEmpty())
            continue;
        found.emplace_back(Key{agrees == 2    ? 0
                               : contradicted ? 2
                                              : 1,
                               tier, -agrees, foldText(entry.name) != folded, entry.nameWords.size(),
                               entry.codePoints, entry.name.size(), entry.order},
                           EmojiMatch{entry.emoji, name, tier, agrees});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<EmojiMatch> result;
    for (auto& [key, match] : found)
        result.push_back(std::move(match));
    return result;
}

std::vector<EmojiMatch> EmojiNames::candidates(const QString& word, const QString& meaning) const
{
    return ranked(word, meaning);
}

std::optional<EmojiMatch> EmojiNames::find(const QString& word, const QString& meaning) const
{
    auto matches = ranked(word, meaning);
    if (matches.empty())
        return std::nullopt;
    return matches.front();
}

} // namespace lexora
