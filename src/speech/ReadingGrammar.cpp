#include "speech/ReadingGrammar.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <limits>
#include <set>

namespace lexora {

namespace {

// The phones of the recogniser's English model (its dictionary's phone set).
constexpr std::array<const char*, 39> kPhones = {"AA", "AE", "AH", "AO", "AW", "AY", "B",  "CH", "D",  "DH",
                                                 "EH", "ER", "EY", "F",  "G",  "HH", "IH", "IY", "JH", "K",
                                                 "L",  "M",  "N",  "NG", "OW", "OY", "P",  "R",  "S",  "SH",
                                                 "T",  "TH", "UH", "UW", "V",  "W",  "Y",  "Z",  "ZH"};

const QString kGarbagePrefix = QStringLiteral("phone_");

// After each free phone, how likely another one follows.
constexpr double kGarbageGoOn = 0.9;

// Shorter than this much voice is a click or nothing at all; a short word ("book") over background
// noise keeps little more than a tenth of a second clearly above it.
constexpr int kMinVoicedMs = 100;

// A word of fewer phones than this is short: one phone is much of it.
constexpr int kShortWordPhones = 3;

QString Trimmed(QString token)
{
    const auto edge = [](QChar c) { return c == QLatin1Char('\'') || c == QLatin1Char('-'); };
    while (!token.isEmpty() && edge(token.front()))
        token.remove(0, 1);
    while (!token.isEmpty() && edge(token.back()))
        token.chop(1);
    return token;
}

} // namespace

QStringList SpokenTokens(const QString& text)
{
    QString plain = text.toLower();
    plain.replace(QChar(0x2019), QLatin1Char('\'')).replace(QChar(0x2010), QLatin1Char('-'));
    static const QRegularExpression split(QStringLiteral("[^a-z0-9'\\-]+"));
    QStringList tokens;
    for (const QString& raw : plain.split(split, Qt::SkipEmptyParts)) {
        const QString token = Trimmed(raw);
        if (!token.isEmpty())
            tokens << token;
    }
    return tokens;
}

QStringList PhraseTokens(const QString& text, const Lexicon& lexicon)
{
    QStringList tokens;
    for (const QString& token : SpokenTokens(text)) {
        if (token.contains(QLatin1Char('-')) && !lexicon.known(token))
            tokens << token.split(QLatin1Char('-'), Qt::SkipEmptyParts);
        else
            tokens << token;
    }
    return tokens;
}

QString RecognizerPhones(const QStringList& lettersToSound)
{
    QStringList phones;
    for (QString phone : lettersToSound) {
        while (!phone.isEmpty() && phone.back().isDigit())
            phone.chop(1);
        phone = phone.toUpper();
        // The letter-to-sound rules know two phones the model folds into others.
        if (phone == QLatin1String("AX"))
            phone = QStringLiteral("AH");
        else if (phone == QLatin1String("AXR"))
            phone = QStringLiteral("ER");
        if (std::find(kPhones.begin(), kPhones.end(), phone) != kPhones.end())
            phones << phone;
    }
    return phones.join(QLatin1Char(' '));
}

QString GarbageToken(const QString& phone)
{
    return kGarbagePrefix + phone.toLower();
}

bool IsGarbageToken(const QString& token)
{
    return token.startsWith(kGarbagePrefix);
}

ReadingGrammar BuildReadingGrammar(const QStringList& texts, const Lexicon& lexicon, double garbageWeight,
                                   double edgeWeight)
{
    ReadingGrammar grammar;
    std::set<QString> seen;
    std::set<QString> guessed;
    for (const QString& text : texts) {
        const QStringList tokens = PhraseTokens(text, lexicon);
        if (tokens.isEmpty() || !seen.insert(tokens.join(QLatin1Char(' '))).second)
            continue;
        for (const QString& token : tokens) {
            if (lexicon.known(token) || !guessed.insert(token).second)
                continue;
            const QString phones = lexicon.guess(token);
            if (!phones.isEmpty())
                grammar.additions.push_back({token, phones});
        }
        grammar.phrases.push_back(tokens);
    }
    // States: 0 start, 1 end, 2 the free-phone loop; with edges, 3 a word's start, 4 its end, 5 and 6
    // the free phones before and after it; then the inner states of the phrases.
    QStringList arcs;
    const auto arc = [&arcs](int from, int to, double probability, const QString& token) {
        arcs << QStringLiteral("TRANSITION %1 %2 %3 %4")
                    .arg(from)
                    .arg(to)
                    .arg(probability, 0, 'g', 6)
                    .arg(token)
                    .trimmed();
    };
    const bool freePhones = grammar.phrases.empty() || garbageWeight > 0;
    const bool edges = freePhones && edgeWeight > 0 && !grammar.phrases.empty();
    const int wordStart = edges ? 3 : 0;
    const int wordEnd = edges ? 4 : 1;
    int states = edges ? 7 : 3;
    const double wordWeight =
        grammar.phrases.empty() ? 0.0 : (edges ? 1.0 : 1.0 - garbageWeight) / grammar.phrases.size();
    for (const QStringList& tokens : grammar.phrases) {
        int from = wordStart;
        for (qsizetype i = 0; i < tokens.size(); ++i) {
            const int to = i + 1 == tokens.size() ? wordEnd : states++;
            arc(from, to, i == 0 ? wordWeight : 1.0, tokens[i]);
            from = to;
        }
    }
    const auto loop = [&](int from, int state, int to, double enter) {
        for (const char* phone : kPhones) {
            const QString token = GarbageToken(QLatin1String(phone));
            arc(from, state, enter / kPhones.size(), token);
            arc(state, state, kGarbageGoOn / kPhones.size(), token);
        }
        arc(state, to, 1.0 - kGarbageGoOn, QString());
    };
    // Without the free phones only the phrases can be heard: a forced reading of the word.
    if (freePhones) {
        for (const char* phone : kPhones) {
            const QString token = GarbageToken(QLatin1String(phone));
            if (!lexicon.known(token))
                grammar.additions.push_back({token, QLatin1String(phone)});
        }
        loop(0, 2, 1, grammar.phrases.empty() ? 1.0 : garbageWeight);
    }
    if (edges) {
        const double into = 1.0 - garbageWeight;
        arc(0, wordStart, into * (1.0 - edgeWeight), QString());
        loop(0, 5, wordStart, into * edgeWeight);
        arc(wordEnd, 1, 1.0 - edgeWeight, QString());
        loop(wordEnd, 6, 1, edgeWeight);
    }
    grammar.network =
        QStringLiteral("FSG_BEGIN reading\nNUM_STATES %1\nSTART_STATE 0\nFINAL_STATE 1\n%2\nFSG_END\n")
            .arg(states)
            .arg(arcs.join(QLatin1Char('\n')));
    return grammar;
}

std::optional<QStringList> WordsAboveEdges(const std::vector<HeardToken>& heard, double margin)
{
    const auto isWord = [](const HeardToken& heard) { return !IsGarbageToken(heard.token); };
    const auto first = std::find_if(heard.begin(), heard.end(), isWord);
    const auto last = std::find_if(heard.rbegin(), heard.rend(), isWord).base();
    if (first == heard.end() || (first == heard.begin() && last == heard.end()) ||
        !std::all_of(first, last, isWord))
        return std::nullopt;
    // The sum of the levels of a run of tokens, frame by frame, and its frames.
    const auto total = [](auto from, auto to) {
        double sum = 0;
        int frames = 0;
        for (auto at = from; at != to; ++at) {
            sum += at->level * at->frames;
            frames += at->frames;
        }
        return std::pair(sum, frames);
    };
    const auto [words, wordFrames] = total(first, last);
    const auto [before, beforeFrames] = total(heard.begin(), first);
    const auto [after, afterFrames] = total(last, heard.end());
    if (wordFrames == 0 || beforeFrames + afterFrames == 0 ||
        words / wordFrames - (before + after) / (beforeFrames + afterFrames) < margin)
        return std::nullopt;
    QStringList tokens;
    for (auto at = first; at != last; ++at)
        tokens << at->token;
    return tokens;
}

QString ShowHypothesis(const QStringList& heard)
{
    QStringList shown;
    QStringList run;
    const auto flush = [&] {
        if (!run.isEmpty())
            shown << QLatin1Char('[') + run.join(QLatin1Char(' ')) + QLatin1Char(']');
        run.clear();
    };
    for (const QString& token : heard) {
        if (IsGarbageToken(token)) {
            run << token.mid(kGarbagePrefix.size());
            continue;
        }
        flush();
        shown << token;
    }
    flush();
    return shown.join(QLatin1Char(' '));
}

int PhoneDistance(const QStringList& a, const QStringList& b)
{
    std::vector<int> row(static_cast<std::size_t>(b.size()) + 1);
    for (std::size_t j = 0; j < row.size(); ++j)
        row[j] = static_cast<int>(j);
    for (qsizetype i = 0; i < a.size(); ++i) {
        int diagonal = row[0];
        row[0] = static_cast<int>(i) + 1;
        for (qsizetype j = 0; j < b.size(); ++j) {
            const auto at = static_cast<std::size_t>(j) + 1;
            const int replaced = diagonal + (a[i] == b[j] ? 0 : 1);
            diagonal = row[at];
            row[at] = std::min({replaced, row[at] + 1, row[at - 1] + 1});
        }
    }
    return row.back();
}

double AllowedShortfall(int apart, int phones, const Leniency& leniency)
{
    if (apart != 1)
        return -std::numeric_limits<double>::infinity();
    return phones >= kShortWordPhones ? leniency.near : leniency.shortNear;
}

ReadingVerdict JudgeReading(int voicedMs, const QStringList& heard, const QStringList& target,
                            std::optional<double> shortfall, double allowed)
{
    if (voicedMs < kMinVoicedMs)
        return ReadingVerdict::Silent;
    if (target.isEmpty())
        return ReadingVerdict::Again;
    return heard == target || (shortfall && *shortfall <= allowed) ? ReadingVerdict::Good
                                                                   : ReadingVerdict::Again;
}

} // namespace lexora
