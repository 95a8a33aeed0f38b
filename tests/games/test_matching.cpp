// The matching game: choosing the words, dealing the pairs, clicking, losing and winning a deal.
#include "GameTestKit.h"
#include "games/MatchDeal.h"
#include "games/WordFFK.h"
#include "store/WordStore.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

namespace lexora::test {
namespace {

std::vector<CWordType> Records(const QStringList& texts)
{
    std::vector<CWordType> words;
    for (const QString& t : texts) {
        CWordType w;
        w.English = t;
        words.push_back(w);
    }
    return words;
}

TEST(MatchDealing, EveryFirstHalfCardHasExactlyOnePartnerInTheSecondHalf)
{
    ScriptedRandom random(7);
    for (int n = 0; n <= kMatchWordsMax; ++n) {
        for (int round = 0; round < 100; ++round) {
            const MatchDeal deal = DealCards(n, random);
            std::multiset<int> partners;
            for (int card = 0; card < kMatchCards; ++card) {
                const int tag = deal.tags[static_cast<size_t>(card)];
                if (card >= n && card < 2 * n)
                    partners.insert(tag);
                else
                    EXPECT_EQ(tag, -1) << "card " << card;
            }
            std::multiset<int> want;
            for (int p = 0; p < n; ++p)
                want.insert(p);
            ASSERT_EQ(partners, want) << "n " << n;
            ASSERT_EQ(deal.coins.size(), static_cast<size_t>(n));
            for (int c : deal.coins)
                EXPECT_TRUE(c == 0 || c == 1);
            EXPECT_GE(deal.background, 1);
            EXPECT_LE(deal.background, 3);
        }
    }
}

TEST(MatchDealing, ChoosesDistinctTextsAndAsManyWordsAsThereAreTexts)
{
    struct Case
    {
        QStringList texts;
        int wordNum;
        int chosen;
    };
    const Case cases[] = {
        {{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"}, 12, 8},
        {{"a", "b", "c"}, 3, 3},
        {{"a", "A", "a", "b", "b", "a", "b", "a", "a", "b"}, 10, 3}, // case counts: a, A, b
        {{"a", "b", "c", "d", "e"}, 2, 2},                           // only the first wordNum are the list
        {{"a", "b"}, 0, 0},
    };
    ScriptedRandom random(3);
    for (const Case& c : cases) {
        const auto words = Records(c.texts);
        for (int round = 0; round < 50; ++round) {
            const std::vector<int> chosen = ChooseGameWords(words, c.wordNum, random);
            ASSERT_EQ(static_cast<int>(chosen.size()), c.chosen)
                << c.texts.join(QLatin1Char(',')).toStdString();
            std::set<QString> texts;
            for (int i : chosen) {
                ASSERT_GE(i, 0);
                ASSERT_LT(i, c.wordNum);
                texts.insert(words[static_cast<size_t>(i)].English);
            }
            EXPECT_EQ(static_cast<int>(texts.size()), c.chosen);
        }
    }
}

// Two words: cards 0, 1 first half; card 2 pairs with 1, card 3 with 0.
MatchDeal TwoWordDeal()
{
    MatchDeal deal;
    deal.tags.fill(-1);
    deal.tags[2] = 1;
    deal.tags[3] = 0;
    deal.coins = {0, 0};
    return deal;
}

TEST(MatchRules, ClicksSelectMatchMissAndLose)
{
    MatchBoard board;
    board.start(TwoWordDeal(), 2);
    using O = MatchBoard::Outcome;
    struct Step
    {
        int card;
        O outcome;
        int selectedAfter;
        int errorsAfter;
    };
    const Step steps[] = {
        {0, O::Selected, 0, 0}, {0, O::Ignored, 0, 0},  {1, O::Missed, -1, 1},  {2, O::Selected, 2, 1},
        {0, O::Missed, -1, 2},  {4, O::Ignored, -1, 2}, {2, O::Selected, 2, 2}, {3, O::Lost, -1, 3},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(board.click(s.card).outcome, s.outcome) << "card " << s.card;
        EXPECT_EQ(board.selected(), s.selectedAfter);
        EXPECT_EQ(board.errors(), s.errorsAfter);
    }
}

TEST(MatchRules, TheLastPairWinsAndNamesTheSecondHalfWord)
{
    MatchBoard board;
    board.start(TwoWordDeal(), 2);
    board.click(3);
    const auto first = board.click(0);
    EXPECT_EQ(first.outcome, MatchBoard::Outcome::Matched);
    EXPECT_EQ(first.word, 1);
    EXPECT_FALSE(first.won);
    EXPECT_FALSE(board.showing(0));
    EXPECT_EQ(board.click(0).outcome, MatchBoard::Outcome::Ignored); // gone from the board
    board.click(1);
    const auto last = board.click(2);
    EXPECT_EQ(last.word, 0);
    EXPECT_TRUE(last.won);
}

class MatchingView : public ::testing::Test
{
protected:
    void open(const QStringList& words, const QStringList& withoutPicture = {})
    {
        m_words = words;
        world = std::make_unique<GameWorld>(words, withoutPicture);
        ffk = std::make_unique<WordFFK>(world->program->context());
        ffk->StartGameFFK();
    }
    QWidget* card(int i) const { return ffk->findChild<QWidget*>(QStringLiteral("PicWord_%1").arg(i)); }
    QLabel* text(int i) const { return ffk->findChild<QLabel*>(QStringLiteral("lblWord_%1").arg(i)); }
    QLabel* picture(int i) const { return ffk->findChild<QLabel*>(QStringLiteral("imgWord_%1").arg(i)); }
    int n() const { return ffk->iGameWordNum(); }
    // The first-half partner of second-half card k.
    int partner(int k) const { return ffk->board().tag(k); }
    // A first-half card that is not k's partner.
    int stranger(int k) const { return partner(k) == 0 ? 1 : 0; }
    const CWordType& gameWord(int k) const
    {
        return world->program->store
            .arrWords[static_cast<size_t>(ffk->arrGameWords()[static_cast<size_t>(k)])];
    }

    QByteArray voiceOf(int k) const
    {
        return world->voiceOf(static_cast<int>(m_words.indexOf(gameWord(k).English)) + 1);
    }

    QStringList m_words;
    std::unique_ptr<GameWorld> world;
    std::unique_ptr<WordFFK> ffk;
};

TEST_F(MatchingView, DealsEachWordAsEnglishAndPictureOrMeaningOnTwoCards)
{
    open({QStringLiteral("cat"), QStringLiteral("dog"), QStringLiteral("pig")}, {QStringLiteral("dog")});
    ASSERT_EQ(n(), 3);
    for (int i = 0; i < kMatchCards; ++i)
        EXPECT_EQ(card(i)->isHidden(), i >= 6) << "card " << i;
    for (int k = 0; k < n(); ++k) {
        const CWordType& w = gameWord(k);
        const int a = partner(n() + k), b = n() + k;
        const bool englishOnA = text(a)->text() == w.English;
        const int other = englishOnA ? b : a;
        EXPECT_EQ(text(englishOnA ? a : b)->text(), w.English);
        if (w.English == QStringLiteral("dog")) {
            EXPECT_EQ(text(other)->text(), w.Chinese);
            EXPECT_TRUE(picture(other)->pixmap().isNull());
        } else {
            EXPECT_TRUE(text(other)->text().isEmpty());
            EXPECT_FALSE(picture(other)->pixmap().isNull());
        }
    }
}

TEST_F(MatchingView, ClickingTheSelectedCardAgainChangesNothing)
{
    open({QStringLiteral("cat"), QStringLiteral("dog")});
    QTest::mouseClick(card(2), Qt::LeftButton);
    EXPECT_EQ(ffk->board().selected(), 2);
    EXPECT_EQ(text(2)->styleSheet(), QStringLiteral("color: #e00000;"));
    ffk->PicWord_Click(2);
    EXPECT_EQ(ffk->board().selected(), 2);
    EXPECT_EQ(ffk->board().errors(), 0);
    EXPECT_TRUE(world->soundOut.played.empty());
    EXPECT_FALSE(card(2)->isHidden());
}

TEST_F(MatchingView, TwoMissesSoundAndTheThirdLosesTheDealSilently)
{
    open({QStringLiteral("cat"), QStringLiteral("dog"), QStringLiteral("pig")});
    for (int miss = 1; miss <= 2; ++miss) {
        ffk->PicWord_Click(n());
        ffk->PicWord_Click(stranger(n()));
        EXPECT_EQ(world->count(world->failSound()), miss);
        EXPECT_EQ(ffk->board().selected(), -1);
        EXPECT_EQ(text(n())->styleSheet(), QStringLiteral("color: #000000;"));
    }
    ffk->PicWord_Click(n());
    ffk->PicWord_Click(stranger(n()));
    EXPECT_EQ(world->count(world->failSound()), 2);
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    EXPECT_EQ(world->prompter.asked()[0].text, QStringLiteral("没有过关啊，你要努力喔！！"));
    EXPECT_EQ(world->prompter.asked()[0].title, world->program->store.strVersionName);
    // A new deal of the same words, its count back at 0.
    EXPECT_EQ(ffk->board().errors(), 0);
    EXPECT_EQ(n(), 3);
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(card(i)->isHidden());
}

TEST_F(MatchingView, MatchesSpeakTheWordAndClearingTheBoardWins)
{
    open({QStringLiteral("cat"), QStringLiteral("dog")});
    const std::vector<int> before = ffk->arrGameWords();
    const int words = n();
    for (int k = 0; k < words; ++k) {
        const QByteArray voice = voiceOf(k);
        const int p = partner(words + k);
        ffk->PicWord_Click(p);
        ffk->PicWord_Click(words + k);
        if (k + 1 < words) {
            EXPECT_TRUE(card(p)->isHidden());
            EXPECT_TRUE(card(words + k)->isHidden());
        }
        EXPECT_EQ(world->count(voice), 1);
    }
    EXPECT_EQ(world->count(world->successSound()), 1);
    EXPECT_EQ(world->soundOut.played.back(), world->successSound());
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    EXPECT_EQ(world->prompter.asked()[0].text, QStringLiteral("恭喜你过关啦，你好棒喔！！"));
    EXPECT_EQ(ffk->arrGameWords(), before);
    EXPECT_FALSE(card(0)->isHidden());
}

TEST_F(MatchingView, RestartKeepsTheWordsAndDropsTheSelection)
{
    open({QStringLiteral("a1"), QStringLiteral("b2"), QStringLiteral("c3"), QStringLiteral("d4"),
          QStringLiteral("e5"), QStringLiteral("f6"), QStringLiteral("g7"), QStringLiteral("h8"),
          QStringLiteral("i9"), QStringLiteral("j10")});
    EXPECT_EQ(n(), 8);
    const std::vector<int> words = ffk->arrGameWords();
    ffk->PicWord_Click(9);
    ffk->cmdRestart_Click();
    EXPECT_EQ(ffk->arrGameWords(), words);
    EXPECT_EQ(ffk->board().selected(), -1);
    EXPECT_EQ(text(9)->styleSheet(), QStringLiteral("color: #000000;"));
    for (int i = 0; i < kMatchCards; ++i)
        EXPECT_FALSE(card(i)->isHidden());
    ffk->cmdNext_Click();
    EXPECT_EQ(n(), 8);
}

TEST_F(MatchingView, AListWithRepeatedTextsDealsOnePairPerText)
{
    open({QStringLiteral("cat"), QStringLiteral("dog")});
    // The same English in several units of a range: ten words, two texts.
    WordStore& store = world->program->store;
    for (int copy = 0; copy < 8; ++copy)
        store.arrWords.push_back(store.arrWords[static_cast<size_t>(copy % 2)]);
    store.iWordNum = static_cast<std::int16_t>(store.arrWords.size());
    ffk->cmdNext_Click();
    EXPECT_EQ(n(), 2);
    for (int i = 0; i < kMatchCards; ++i)
        EXPECT_EQ(card(i)->isHidden(), i >= 4);
}

TEST_F(MatchingView, AnEmptyListShowsAnEmptyBoardAndSaysSo)
{
    open({QStringLiteral("cat")});
    world->program->store.iWordNum = 0;
    world->prompter.clear();
    ffk->StartGameFFK();
    EXPECT_EQ(n(), 0);
    for (int i = 0; i < kMatchCards; ++i)
        EXPECT_TRUE(card(i)->isHidden());
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    EXPECT_EQ(world->prompter.asked()[0].text, QStringLiteral("当前单词表里没有单词，请先选择词库。"));
}

} // namespace
} // namespace lexora::test
