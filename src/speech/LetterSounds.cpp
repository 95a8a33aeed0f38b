#include "speech/LetterSounds.h"

#include <algorithm>
#include <limits>
#include <map>
#include <vector>

namespace lexora {

namespace {

// The usual spellings of each phone of the recogniser's set in English words.
const std::map<QString, QStringList>& Spellings()
{
    static const std::map<QString, QStringList> spellings = {
        {"AA", {"a", "o", "ar", "al", "au", "ah"}},
        {"AE", {"a", "ai"}},
        {"AH", {"u", "o", "a", "e", "ou", "oo", "i"}},
        {"AO", {"o", "au", "aw", "a", "ou", "oo", "al", "oa"}},
        {"AW", {"ou", "ow"}},
        {"AY", {"i", "y", "ie", "igh", "ei", "uy", "ye"}},
        {"B", {"b", "bb"}},
        {"CH", {"ch", "tch", "t"}},
        {"D", {"d", "dd", "ed"}},
        {"DH", {"th"}},
        {"EH", {"e", "ea", "a", "ai", "ie"}},
        {"ER", {"er", "ir", "ur", "or", "ear", "ar", "our", "re", "r"}},
        {"EY", {"a", "ai", "ay", "ei", "ey", "ea", "eigh"}},
        {"F", {"f", "ff", "ph", "gh"}},
        {"G", {"g", "gg", "gu", "gh"}},
        {"HH", {"h", "wh"}},
        {"IH", {"i", "y", "e", "ee", "ui"}},
        {"IY", {"ee", "ea", "e", "y", "ie", "ei", "i", "ey"}},
        {"JH", {"j", "g", "dg", "ge", "dge"}},
        {"K", {"k", "c", "ck", "ch", "q", "x", "cc"}},
        {"L", {"l", "ll", "le"}},
        {"M", {"m", "mm", "mb"}},
        {"N", {"n", "nn", "kn", "gn"}},
        {"NG", {"ng", "n"}},
        {"OW", {"o", "oa", "ow", "oe", "ou"}},
        {"OY", {"oy", "oi"}},
        {"P", {"p", "pp"}},
        {"R", {"r", "rr", "wr"}},
        {"S", {"s", "ss", "c", "ce", "se", "x"}},
        {"SH", {"sh", "ti", "ci", "s", "ch"}},
        {"T", {"t", "tt", "ed"}},
        {"TH", {"th"}},
        {"UH", {"oo", "u", "ou"}},
        {"UW", {"oo", "u", "ew", "ue", "o", "ou", "ui", "wo"}},
        {"V", {"v", "ve", "f"}},
        {"W", {"w", "wh", "o", "u"}},
        {"Y", {"y", "u", "i"}},
        {"Z", {"z", "s", "zz", "se", "x", "es"}},
        {"ZH", {"s", "g", "si"}}};
    return spellings;
}

// What it costs to align: a phone spelt by its usual letters costs nothing, by other letters one per
// letter; a letter not heard costs a little (silent "e", "h", doubled letters), a phone without a letter
// ("x" spelling two) a little more.
constexpr double kOtherSpelling = 1.0;
constexpr double kSilentLetter = 0.6;
constexpr double kPhoneWithoutLetter = 0.8;
constexpr qsizetype kLongestSpelling = 4;

} // namespace

QList<QList<qsizetype>> LettersOfPhones(const QString& text, const QStringList& phones)
{
    QList<qsizetype> where; // positions of the letters in the text
    QString letters;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isLetter()) {
            where << i;
            letters += text[i].toLower();
        }
    }
    const qsizetype n = letters.size(), m = phones.size();
    constexpr double kNever = std::numeric_limits<double>::infinity();
    // cost[i][j]: the first i letters spell the first j phones; step[i][j]: how many letters phone j - 1
    // took to get there, or -1 when letter i - 1 was silent.
    std::vector<std::vector<double>> cost(n + 1, std::vector<double>(m + 1, kNever));
    std::vector<std::vector<qsizetype>> step(n + 1, std::vector<qsizetype>(m + 1, 0));
    cost[0][0] = 0;
    const auto spelt = [&](qsizetype from, qsizetype count, const QString& phone) {
        const auto found = Spellings().find(phone);
        return found != Spellings().end() && found->second.contains(letters.mid(from, count));
    };
    for (qsizetype i = 0; i <= n; ++i) {
        for (qsizetype j = 0; j <= m; ++j) {
            if (cost[i][j] == kNever)
                continue;
            const auto relax = [&](qsizetype ti, qsizetype tj, double add, qsizetype how) {
                if (cost[i][j] + add < cost[ti][tj]) {
                    cost[ti][tj] = cost[i][j] + add;
                    step[ti][tj] = how;
                }
            };
            if (i < n)
                relax(i + 1, j, kSilentLetter, -1);
            if (j == m)
                continue;
            relax(i, j + 1, kPhoneWithoutLetter, 0);
            for (qsizetype k = 1; k <= kLongestSpelling && i + k <= n; ++k)
                relax(i + k, j + 1, spelt(i, k, phones[j]) ? 0.0 : kOtherSpelling * static_cast<double>(k),
                      k);
        }
    }
    QList<QList<qsizetype>> out(m);
    QList<qsizetype> silent; // letters not heard, waiting for the phone before them
    qsizetype i = n, j = m;
    while (i > 0 || j > 0) {
        const qsizetype how = step[i][j];
        if (how < 0) {
            silent.prepend(where[--i]);
            continue;
        }
        QList<qsizetype>& mine = out[--j];
        for (qsizetype k = 0; k < how; ++k)
            mine << where[i - how + k];
        i -= how;
        if (!mine.isEmpty()) {
            mine << silent;
            silent.clear();
            std::sort(mine.begin(), mine.end());
        }
    }
    // Silent letters before the first spelt phone go with it.
    for (QList<qsizetype>& letterList : out) {
        if (!letterList.isEmpty() || silent.isEmpty()) {
            letterList = silent + letterList;
            std::sort(letterList.begin(), letterList.end());
            break;
        }
    }
    return out;
}

QList<qsizetype> MissedPhones(const QStringList& word, const QStringList& heard)
{
    const qsizetype n = word.size(), m = heard.size();
    std::vector<std::vector<int>> d(n + 1, std::vector<int>(m + 1));
    for (qsizetype i = 0; i <= n; ++i)
        for (qsizetype j = 0; j <= m; ++j)
            d[i][j] = i == 0 || j == 0 ? static_cast<int>(i + j)
                                       : std::min({d[i - 1][j - 1] + (word[i - 1] == heard[j - 1] ? 0 : 1),
                                                   d[i - 1][j] + 1, d[i][j - 1] + 1});
    QList<qsizetype> missed;
    qsizetype i = n, j = m;
    while (i > 0) {
        if (j > 0 && word[i - 1] == heard[j - 1] && d[i][j] == d[i - 1][j - 1]) {
            --i;
            --j;
        } else if (j > 0 && d[i][j] == d[i - 1][j - 1] + 1) {
            missed.prepend(--i);
            --j;
        } else if (d[i][j] == d[i - 1][j] + 1) {
            missed.prepend(--i);
        } else {
            --j;
        }
    }
    return missed;
}

QList<qsizetype> MissedLetters(const QString& text, const QStringList& phones, const QStringList& heard)
{
    const QList<QList<qsizetype>> letters = LettersOfPhones(text, phones);
    QList<qsizetype> out;
    for (const qsizetype phone : MissedPhones(phones, heard))
        out << letters[phone];
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace lexora
