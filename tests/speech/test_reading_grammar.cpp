#include "speech/ReadingGrammar.h"

#include <gtest/gtest.h>
#include <set>

using namespace lexora;

namespace {

// A dictionary of a few words; anything else is guessed as "G".
Lexicon SmallLexicon(std::set<QString> words = {"hello", "ice", "cream", "i'm", "t-shirt", "shirt", "good",
                                                "morning"})
{
    return {
        [words](const QString& token) { return words.count(token) > 0; },
        [](const QString& token) { return token == QLatin1String("xyz") ? QString() : QStringLiteral("G"); }};
}

struct TokenCase
{
    const char* text;
    QStringList tokens;
};

class SpokenTokensCase : public ::testing::TestWithParam<TokenCase>
{};

TEST_P(SpokenTokensCase, SplitsAsSpoken)
{
    EXPECT_EQ(SpokenTokens(QString::fromUtf8(GetParam().text)), GetParam().tokens);
}

INSTANTIATE_TEST_SUITE_P(Texts, SpokenTokensCase,
                         ::testing::Values(TokenCase{"hello", {"hello"}}, TokenCase{"  Hello!  ", {"hello"}},
                                           TokenCase{"ice cream", {"ice", "cream"}},
                                           TokenCase{"I'm", {"i'm"}}, TokenCase{"I\u2019m", {"i'm"}},
                                           TokenCase{"T-shirt", {"t-shirt"}},
                                           TokenCase{"Nice to meet you.", {"nice", "to", "meet", "you"}},
                                           TokenCase{"'quoted'", {"quoted"}}, TokenCase{"- -", {}},
                                           TokenCase{"你好", {}}));

TEST(PhraseTokens, SplitsOnlyHyphenatedWordsTheDictionaryLacks)
{
    const Lexicon lexicon = SmallLexicon();
    EXPECT_EQ(PhraseTokens(QStringLiteral("T-shirt"), lexicon), QStringList({"t-shirt"}));
    EXPECT_EQ(PhraseTokens(QStringLiteral("good-morning"), lexicon), QStringList({"good", "morning"}));
}

struct PhoneCase
{
    QStringList letters;
    const char* phones;
};

class RecognizerPhonesCase : public ::testing::TestWithParam<PhoneCase>
{};

TEST_P(RecognizerPhonesCase, MapsToTheModelsPhones)
{
    EXPECT_EQ(RecognizerPhones(GetParam().letters), QLatin1String(GetParam().phones));
}

INSTANTIATE_TEST_SUITE_P(LetterToSound, RecognizerPhonesCase,
                         ::testing::Values(PhoneCase{{"hh", "ax0", "l", "ow1"}, "HH AH L OW"},
                                           PhoneCase{{"b", "axr0"}, "B ER"}, PhoneCase{{"pau", "t"}, "T"},
                                           PhoneCase{{}, ""}));

TEST(ReadingGrammar, HoldsEachPhraseOnceAndAddsWhatTheDictionaryLacks)
{
    const ReadingGrammar grammar = BuildReadingGrammar(
        {QStringLiteral("hello"), QStringLiteral("Ice cream"), QStringLiteral("ice  cream"),
         QStringLiteral("Lexora"), QStringLiteral("lexora"), QStringLiteral("xyz"), QStringLiteral("!")},
        SmallLexicon(), 0.01);
    ASSERT_EQ(grammar.phrases.size(), 4u);
    EXPECT_EQ(grammar.phrases[1], QStringList({"ice", "cream"}));
    const auto added = [&](const QString& token) {
        return std::count_if(grammar.additions.begin(), grammar.additions.end(),
                             [&](const Pronunciation& p) { return p.token == token; });
    };
    EXPECT_EQ(added(QStringLiteral("lexora")), 1);
    EXPECT_EQ(added(QStringLiteral("hello")), 0);
    // No pronunciation could be made: left out rather than added empty.
    EXPECT_EQ(added(QStringLiteral("xyz")), 0);
    EXPECT_EQ(added(GarbageToken(QStringLiteral("AA"))), 1);
}

// The network as arcs: "from to probability [token]".
QStringList Arcs(const QString& network)
{
    QStringList arcs;
    for (const QString& line : network.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("TRANSITION ")))
            arcs << line.mid(11);
    return arcs;
}

TEST(ReadingGrammar, NetworkLeadsThroughOnePhraseOrTheFreePhones)
{
    const ReadingGrammar grammar =
        BuildReadingGrammar({QStringLiteral("hello"), QStringLiteral("ice cream")}, SmallLexicon(), 0.2);
    const QStringList arcs = Arcs(grammar.network);
    EXPECT_TRUE(grammar.network.contains(QLatin1String("NUM_STATES 4\n")));
    EXPECT_TRUE(arcs.contains(QStringLiteral("0 1 0.4 hello")));
    EXPECT_TRUE(arcs.contains(QStringLiteral("0 3 0.4 ice")));
    EXPECT_TRUE(arcs.contains(QStringLiteral("3 1 1 cream")));
    // Entering the free phones costs the rejection weight, shared by the 39 phones.
    EXPECT_TRUE(arcs.contains(QStringLiteral("0 2 %1 phone_aa").arg(0.2 / 39, 0, 'g', 6)));
    EXPECT_TRUE(arcs.contains(QStringLiteral("2 2 %1 phone_zh").arg(0.9 / 39, 0, 'g', 6)));
    EXPECT_TRUE(arcs.contains(QStringLiteral("2 1 0.1")));
    // Nothing returns to the start: one phrase or one run of free phones, never both.
    EXPECT_FALSE(
        std::any_of(arcs.begin(), arcs.end(), [](const QString& a) { return a.section(' ', 1, 1) == "0"; }));
}

TEST(ReadingGrammar, WithoutWeightTheFreePhonesAreLeftOut)
{
    const ReadingGrammar grammar = BuildReadingGrammar({QStringLiteral("hello")}, SmallLexicon(), 0);
    EXPECT_EQ(Arcs(grammar.network), QStringList({"0 1 1 hello"}));
}

TEST(ReadingGrammar, WithoutAnyPhraseOnlyFreePhonesRemain)
{
    const ReadingGrammar grammar = BuildReadingGrammar({QStringLiteral("!")}, SmallLexicon(), 0.2);
    EXPECT_TRUE(grammar.phrases.empty());
    EXPECT_TRUE(Arcs(grammar.network).contains(QStringLiteral("0 2 %1 phone_b").arg(1.0 / 39, 0, 'g', 6)));
}

TEST(Hypothesis, ShowsFreePhonesAsBracketedRuns)
{
    const QStringList heard = {GarbageToken("P"), GarbageToken("AA"), QStringLiteral("hello"),
                               GarbageToken("T")};
    EXPECT_EQ(ShowHypothesis(heard), QStringLiteral("[p aa] hello [t]"));
    EXPECT_EQ(ShowHypothesis({}), QString());
}

struct VerdictCase
{
    const char* name;
    int voicedMs;
    QStringList heard;
    QStringList target;
    ReadingVerdict verdict;
    std::optional<double> shortfall = std::nullopt;
};

class JudgeReadingCase : public ::testing::TestWithParam<VerdictCase>
{};

TEST_P(JudgeReadingCase, GivesTheVerdict)
{
    const VerdictCase& c = GetParam();
    EXPECT_EQ(JudgeReading(c.voicedMs, c.heard, c.target, c.shortfall, 300), c.verdict);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, JudgeReadingCase,
    ::testing::Values(VerdictCase{"TheWord", 400, {"hello"}, {"hello"}, ReadingVerdict::Good},
                      VerdictCase{"ThePhrase", 900, {"ice", "cream"}, {"ice", "cream"}, ReadingVerdict::Good},
                      VerdictCase{"HalfThePhrase", 900, {"ice"}, {"ice", "cream"}, ReadingVerdict::Again},
                      VerdictCase{"AnotherWord", 400, {"hi"}, {"hello"}, ReadingVerdict::Again},
                      VerdictCase{
                          "FreePhones", 400, {"phone_hh", "phone_ay"}, {"hello"}, ReadingVerdict::Again},
                      VerdictCase{"NothingHeard", 400, {}, {"hello"}, ReadingVerdict::Again},
                      VerdictCase{"NoTarget", 400, {}, {}, ReadingVerdict::Again},
                      VerdictCase{"TooShort", 140, {"hello"}, {"hello"}, ReadingVerdict::Silent},
                      VerdictCase{"JustLongEnough", 150, {"hello"}, {"hello"}, ReadingVerdict::Good},
                      VerdictCase{"NoVoice", 0, {}, {"hello"}, ReadingVerdict::Silent},
                      VerdictCase{"NearMiss", 400, {"hi"}, {"hello"}, ReadingVerdict::Good, 300.0},
                      VerdictCase{"FarMiss", 400, {"hi"}, {"hello"}, ReadingVerdict::Again, 301.0},
                      VerdictCase{"NearMissOfNothing", 400, {"phone_m"}, {}, ReadingVerdict::Again, 0.0},
                      VerdictCase{"NearMissButSilent", 100, {"hi"}, {"hello"}, ReadingVerdict::Silent, 0.0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
