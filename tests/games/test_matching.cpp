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

TEST(MatchDealing, EveryFirstHalfCardHasExactlyOnePartnerInTheSecondHalf)
{
    ScriptedRandom random(7);
    for (int n = 0; n <= kMatchWordsMax; ++n) {
        for (int round = 0; round < 100; ++round) {
            const MatchDeal deal = DealCards(n, random);
            std::multiset<int> partners, want;
            for (int card = 0; card < kMatchCards; ++card) {
                if (card >= n && card < 2 * n)
                    partners.insert(deal.tags[static_cast<size_t>(card)]);
                else
                    ASSERT_EQ(deal.tags[static_cast<size_t>(card)], -1) << "card " << card;
            }
            for (int p = 0; p < n; ++p)
                want.insert(p);
            ASSERT_EQ(partners, want) << "n " << n;
            ASSERT_EQ(deal.coins.size(), static_cast<size_t>(n));
            EXPECT_TRUE(deal.background >= 1 && deal.background <= 3);
        }
    }
}

TEST(MatchDealing, ClicksSelectMatchMissAndLose)
{
    MatchDeal deal; // cards 0 and 1 first half; card 2 pairs with 1, card 3 with 0
    deal.tags = {-1, -1, 1, 0, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    MatchBoard board;
    board.start(deal, 2);
    using O = MatchBoard::Outcome;
    const std::vector<std::tuple<int, O, int, int>> steps = {
        // card, outcome, selected after, errors after
        {0, O::Selected, 0, 0}, {0, O::Ignored, 0, 0},  {1, O::Missed, -1, 1},  {2, O::Selected, 2, 1},
        {0, O::Missed, -1, 2},  {4, O::Ignored, -1, 2}, {3, O::Selected, 3, 2}, {0, O::Matched, -1, 2},
        {0, O::Ignored, -1, 2}, {2, O::Selected, 2, 2}, {3, O::Ignored, 2, 2},  {2, O::Ignored, 2, 2}};
    for (const auto& [card, outcome, selected, errors] : steps) {
        EXPECT_EQ(board.click(card).outcome, outcome) << "card " << card;
        EXPECT_EQ(board.selected(), selected);
        EXPECT_EQ(board.errors(), errors);
    }
    const MatchBoard::Click last = board.click(1);
    EXPECT_EQ(last.word, 0);
    EXPECT_TRUE(last.won);
    board.start(deal, 2);
    board.click(0);
    board.click(1);
    board.click(0);
    board.click(1);
    board.click(1);
    EXPECT_EQ(board.click(0).outcome, O::Lost);
}

class MatchingView : public ::testing::Test
{
protected:
    void open(const QStringList& words, const QStringList& withoutPicture = {})
    {
        world = std::make_unique<GameWorld>(words, withoutPicture);
        ffk = std::make_unique<WordFFK>(world->program->context());
        ffk->StartGameFFK();
    }
    QWidget* card(int i) const { return ffk->findChild<QWidget*>(QStringLiteral("PicWord_%1").arg(i)); }
    QLabel* label(const char* kind, int i) const
    {
        return ffk->findChild<QLabel*>(QStringLiteral("%1_%2").arg(QLatin1String(kind)).arg(i));
    }
    int n() const { return ffk->iGameWordNum(); }
    int partner(int k) const { return ffk->board().tag(k); }
    void pair(int a, int b)
    {
        ffk->PicWord_Click(a);
        ffk->PicWord_Click(b);
    }

    std::unique_ptr<GameWorld> world;
    std::unique_ptr<WordFFK> ffk;
};

TEST_F(MatchingView, DealsEachWordAsEnglishAndPictureOrMeaningOn2nCards)
{
    open({QStringLiteral("cat"), QStringLiteral("dog"), QStringLiteral("pig")}, {QStringLiteral("dog")});
    ASSERT_EQ(n(), 3);
    for (int i = 0; i < kMatchCards; ++i)
        EXPECT_EQ(card(i)->isHidden(), i >= 6) << "card " << i;
    for (int k = 0; k < n(); ++k) {
        const CWordType& w =
            world->program->store.arrWords[static_cast<size_t>(ffk->arrGameWords()[static_cast<size_t>(k)])];
        const bool englishFirst = label("lblWord", partner(n() + k))->text() == w.English;
        const int other = englishFirst ? n() + k : partner(n() + k);
        EXPECT_EQ(label("lblWord", englishFirst ? partner(n() + k) : n() + k)->text(), w.English);
        EXPECT_EQ(label("lblWord", other)->text(),
                  w.English == QStringLiteral("dog") ? w.Chinese : QString());
        EXPECT_EQ(label("imgWord", other)->pixmap().isNull(), w.English == QStringLiteral("dog"));
    }
}

TEST_F(MatchingView, TwoMissesSoundTheThirdLosesSilentlyAndAWinSoundsSuccess)
{
    open({QStringLiteral("cat"), QStringLiteral("dog"), QStringLiteral("pig")});
    QTest::mouseClick(card(n()), Qt::LeftButton);
    EXPECT_EQ(label("lblWord", n())->styleSheet(), QStringLiteral("color: #e00000;"));
    ffk->PicWord_Click(partner(n()) == 0 ? 1 : 0);
    EXPECT_EQ(label("lblWord", n())->styleSheet(), QStringLiteral("color: #000000;"));
    pair(n(), partner(n()) == 0 ? 1 : 0);
    EXPECT_EQ(world->count(world->failSound()), 2);
    pair(n(), partner(n()) == 0 ? 1 : 0);
    EXPECT_EQ(world->count(world->failSound()), 2);
    EXPECT_EQ(world->prompter.texts(), std::vector<QString>{QStringLiteral("没有过关啊，你要努力喔！！")});
    EXPECT_EQ(world->prompter.asked()[0].title, world->program->store.strVersionName);
    EXPECT_EQ(ffk->board().errors(), 0); // a new deal
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(card(i)->isHidden());

    for (int k = 0; k < n(); ++k)
        pair(partner(n() + k), n() + k);
    EXPECT_EQ(world->soundOut.played.size(), 2u + 3u + 1u); // misses, one voice per match, success
    EXPECT_EQ(world->soundOut.played.back(), world->successSound());
    EXPECT_EQ(world->prompter.texts().back(), QStringLiteral("恭喜你过关啦，你好棒喔！！"));
    EXPECT_FALSE(card(0)->isHidden()); // dealt again
}

TEST_F(MatchingView, AListWithRepeatedTextsDealsOnePairPerTextAndAnEmptyOneSaysSo)
{
    open({QStringLiteral("cat"), QStringLiteral("dog")});
    WordStore& store = world->program->store;
    for (int copy = 0; copy < 8; ++copy)
        store.arrWords.push_back(store.arrWords[static_cast<size_t>(copy % 2)]);
    store.iWordNum = static_cast<std::int16_t>(store.arrWords.size());
    ffk->cmdNext_Click();
    EXPECT_EQ(n(), 2);
    EXPECT_TRUE(world->prompter.asked().empty());
    store.iWordNum = 0;
    ffk->cmdNext_Click();
    EXPECT_EQ(n(), 0);
    for (int i = 0; i < kMatchCards; ++i)
        EXPECT_TRUE(card(i)->isHidden());
    EXPECT_EQ(world->prompter.texts(),
              std::vector<QString>{QStringLiteral("当前单词表里没有单词，请先选择词库。")});
}

} // namespace
} // namespace lexora::test
