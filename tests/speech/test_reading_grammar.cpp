#include "speech/ReadingGrammar.h"

#include <gtest/gtest.h>
#include <limits>
#include <map>
#include <set>

using namespace lexora;

namespace {

// A dictionary of a few words; anything else is guessed as "G", except "xyz", which has no guess.
const Lexicon kLexicon{[](const QString& token) {
                           static const std::set<QString> words = {"hello",   "ice",  "cream",
                                                                   "t-shirt", "good", "morning"};
                           return words.count(token) > 0;
                       },
                       [](const QString& token) { return token == "xyz" ? QString() : QStringLiteral("G"); }};

TEST(SpokenTokens, KeepApostrophesAndHyphensInsideAToken)
{
    const std::pair<const char*, QStringList> cases[] = {
        {"  Hello!  ", {"hello"}}, {"ice cream", {"ice", "cream"}}, {"I\u2019m", {"i'm"}},
        {"T-shirt", {"t-shirt"}},  {"'quoted'", {"quoted"}},        {"你好 - -", {}}};
    for (const auto& [text, tokens] : cases)
        EXPECT_EQ(SpokenTokens(QString::fromUtf8(text)), tokens) << text;
    // A hyphenated token the dictionary lacks is spoken as its parts.
    EXPECT_EQ(PhraseTokens(QStringLiteral("T-shirt"), kLexicon), QStringList({"t-shirt"}));
    EXPECT_EQ(PhraseTokens(QStringLiteral("good-morning"), kLexicon), QStringList({"good", "morning"}));
}

TEST(RecognizerPhones, DropStressFoldTheSchwasAndShowFreePhonesAsBracketedRuns)
{
    EXPECT_EQ(RecognizerPhones({"hh", "ax0", "l", "ow1"}), QStringLiteral("HH AH L OW"));
    EXPECT_EQ(RecognizerPhones({"pau", "b", "axr0"}), QStringLiteral("B ER"));
    EXPECT_EQ(ShowHypothesis({GarbageToken("P"), GarbageToken("AA"), "hello", GarbageToken("T")}),
              QStringLiteral("[p aa] hello [t]"));
}

// The network's arcs: "from to probability [token]".
QStringList Arcs(const ReadingGrammar& grammar)
{
    QStringList arcs;
    for (const QString& line : grammar.network.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("TRANSITION ")))
            arcs << line.mid(11);
    return arcs;
}

TEST(ReadingGrammar, HoldsEachPhraseOnceAndAddsWhatTheDictionaryLacks)
{
    const ReadingGrammar grammar = BuildReadingGrammar(
        {"hello", "Ice cream", "ice  cream", "Lexora", "lexora", "xyz", "!"}, kLexicon, 0.01);
    ASSERT_EQ(grammar.phrases.size(), 4u);
    EXPECT_EQ(grammar.phrases[1], QStringList({"ice", "cream"}));
    QStringList added;
    for (const Pronunciation& p : grammar.additions)
        added << p.token;
    EXPECT_EQ(added.count("lexora"), 1);
    EXPECT_EQ(added.count("hello"), 0);
    EXPECT_EQ(added.count("xyz"), 0); // no pronunciation: left out rather than added empty
    EXPECT_EQ(added.count(GarbageToken("AA")), 1);
}

TEST(ReadingGrammar, LeadsThroughOnePhraseOrOneRunOfFreePhones)
{
    const QStringList arcs = Arcs(BuildReadingGrammar({"hello", "ice cream"}, kLexicon, 0.2));
    for (const QString arc : {"0 1 0.4 hello", "0 3 0.4 ice", "3 1 1 cream", "2 1 0.1"})
        EXPECT_TRUE(arcs.contains(arc)) << arc.toStdString();
    EXPECT_TRUE(arcs.contains(QStringLiteral("0 2 %1 phone_aa").arg(0.2 / 39, 0, 'g', 6)));
    EXPECT_TRUE(arcs.contains(QStringLiteral("2 2 %1 phone_zh").arg(0.9 / 39, 0, 'g', 6)));
    // Nothing returns to the start: a phrase and free phones never follow each other.
    EXPECT_FALSE(
        std::any_of(arcs.begin(), arcs.end(), [](const QString& a) { return a.section(' ', 1, 1) == "0"; }));
    // Without weight the free phones are left out: the word is forced on the reading.
    EXPECT_EQ(Arcs(BuildReadingGrammar({"hello"}, kLexicon, 0)), QStringList({"0 1 1 hello"}));
}

TEST(ReadingGrammar, WithEdgesLetsFreePhonesComeBeforeAndAfterAWord)
{
    const QStringList arcs = Arcs(BuildReadingGrammar({"hello", "ice cream"}, kLexicon, 0.2, 0.1));
    // Into a word directly or through free phones; out of it to the end directly or through free phones.
    for (const QString arc : {"0 3 0.72", "5 3 0.1", "3 4 0.5 hello", "3 7 0.5 ice", "7 4 1 cream", "4 1 0.9",
                              "6 1 0.1", "2 1 0.1"})
        EXPECT_TRUE(arcs.contains(arc)) << arc.toStdString();
    // What leaves each state adds up to one, as the recogniser's grammar must.
    std::map<QString, double> leaving;
    for (const QString& arc : arcs)
        leaving[arc.section(' ', 0, 0)] += arc.section(' ', 2, 2).toDouble();
    for (const auto& [state, sum] : leaving)
        EXPECT_NEAR(sum, 1.0, 1e-4) << "state " << state.toStdString();
    EXPECT_EQ(leaving.count("1"), 0u);
    // Forced on a reading, the word has no edges either.
    EXPECT_EQ(Arcs(BuildReadingGrammar({"hello"}, kLexicon, 0, 0.1)), QStringList({"0 1 1 hello"}));
}

TEST(WordsAboveEdges, TakesTheWordOnlyWhenItStandsAboveTheFreePhonesAroundIt)
{
    const QString p = GarbageToken("P"), s = GarbageToken("S");
    // name, tokens with level and frames, words taken
    const std::tuple<const char*, std::vector<HeardToken>, std::optional<QStringList>> cases[] = {
        {"louder by the margin", {{p, 10, 20}, {"hello", 16, 40}, {s, 10, 10}}, QStringList{"hello"}},
        {"louder by less", {{p, 10, 20}, {"hello", 15.9, 40}, {s, 10, 10}}, std::nullopt},
        {"edges weighed by their frames", {{p, 4, 30}, {"hello", 16, 40}, {s, 19, 10}}, QStringList{"hello"}},
        {"a phrase after free phones",
         {{p, 0, 5}, {"ice", 9, 10}, {"cream", 7, 10}},
         QStringList{"ice", "cream"}},
        {"louder edges", {{p, 20, 20}, {"hello", 16, 40}}, std::nullopt},
        {"free phones among the words",
         {{p, 0, 5}, {"ice", 9, 10}, {s, 0, 5}, {"cream", 9, 10}},
         std::nullopt},
        {"no edges", {{"hello", 16, 40}}, std::nullopt},
        {"only free phones", {{p, 0, 5}, {s, 9, 10}}, std::nullopt},
        {"nothing", {}, std::nullopt}};
    for (const auto& [name, heard, words] : cases)
        EXPECT_EQ(WordsAboveEdges(heard, 6), words) << name;
}

TEST(JudgeReading, GivesTheVerdict)
{
    const auto good = ReadingVerdict::Good, again = ReadingVerdict::Again, silent = ReadingVerdict::Silent;
    // name, voiced ms, heard, target, shortfall, verdict
    const std::tuple<const char*, int, QStringList, QStringList, std::optional<double>, ReadingVerdict>
        cases[] = {{"the phrase", 900, {"ice", "cream"}, {"ice", "cream"}, std::nullopt, good},
                   {"half the phrase", 900, {"ice"}, {"ice", "cream"}, std::nullopt, again},
                   {"free phones", 400, {"phone_hh"}, {"hello"}, std::nullopt, again},
                   {"no target", 400, {}, {}, 0.0, again},
                   {"near miss", 400, {"hi"}, {"hello"}, 300.0, good},
                   {"far miss", 400, {"hi"}, {"hello"}, 301.0, again},
                   {"too short", 90, {"hello"}, {"hello"}, std::nullopt, silent},
                   {"just long enough", 100, {"hello"}, {"hello"}, std::nullopt, good}};
    for (const auto& [name, voicedMs, heard, target, shortfall, verdict] : cases)
        EXPECT_EQ(JudgeReading(voicedMs, heard, target, shortfall, 300), verdict) << name;
}

TEST(PhoneDistance, CountsEditsAndAllowsOnlyNearNeighbours)
{
    const Leniency leniency{2.5, 1.5};
    const double never = -std::numeric_limits<double>::infinity();
    // a, b, phones apart, shortfall allowed
    const std::tuple<const char*, const char*, int, double> cases[] = {
        {"HH AA T", "HH AH T", 1, 2.5},       // hot, hut: one vowel
        {"G R AE S", "HH AH T", 4, never},    // grass, hut
        {"M AE N", "M AY", 2, never},         // man, my
        {"P EH T", "AO R", 3, never},         // pet, or
        {"HH AY", "M AY", 1, 1.5},            // hi, my: a short word
        {"AY", "AY M", 1, 1.5},               // I, I'm: one phone added
        {"R UW L ER", "R UW L ER Z", 1, 2.5}, // ruler, rulers
        {"S T AA R", "S T AA R", 0, never},   // the same word is heard outright, never judged by shortfall
        {"", "B UH K", 3, never}};
    for (const auto& [a, b, apart, allowed] : cases) {
        const QStringList left = QString(a).split(' ', Qt::SkipEmptyParts);
        const QStringList right = QString(b).split(' ', Qt::SkipEmptyParts);
        EXPECT_EQ(PhoneDistance(left, right), apart) << a << " / " << b;
        EXPECT_EQ(PhoneDistance(right, left), apart) << b << " / " << a;
        const auto shorter = static_cast<int>(std::min(left.size(), right.size()));
        EXPECT_EQ(AllowedShortfall(apart, shorter, leniency), allowed) << a << " / " << b;
    }
}

} // namespace
