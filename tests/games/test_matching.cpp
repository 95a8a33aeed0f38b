// The matching game: dealing the pairs, clicking, losing and winning a deal.
#include "GameTestKit.h"
#include "games/MatchDeal.h"
#include "games/WordFFK.h"
#include "store/WordStore.h"

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

namespace lexora::test {
namespace {

TEST(MatchDealing, EveryFirstHalfCardHasExactlyOnePartnerInTheSecondHalf)
{
    ScriptedRandom random(7);
    for (int n = 0; n <= kMatchWordsMax; ++n) {
        std::multiset<int> want;
        for (int p = 0; p < n; ++p)
            want.insert(p);
        for (int round = 0; round < 100; ++round) {
            const MatchDeal deal = DealCards(n, random);
            ASSERT_EQ(std::multiset<int>(deal.tags.begin() + n, deal.tags.begin() + 2 * n), want) << n;
            ASSERT_EQ(std::count(deal.tags.begin(), deal.tags.end(), -1), kMatchCards - n) << n;
            ASSERT_EQ(deal.coins.size(), static_cast<size_t>(n));
        }
    }
}

// Three words use six cards; the selected card clicked again changes nothing.
TEST(MatchingView, TwoMissesSoundTheThirdLosesSilentlyAWinSoundsSuccessAndEveryDistinctTextIsDealt)
{
    GameWorld world({"cat", "dog", "pig"});
    WordFFK ffk(world.program->context());
    ffk.StartGameFFK();
    const auto card = [&](int i) { return ffk.findChild<QWidget*>(QStringLiteral("PicWord_%1").arg(i)); };
    const auto hidden = [&](std::vector<bool> cards = {}) {
        for (int i = 0; i < kMatchCards; ++i)
            cards.push_back(card(i)->isHidden());
        return cards;
    };
    const auto pair = [&](int a, int b) { ffk.PicWord_Click(a), ffk.PicWord_Click(b); };
    const auto partner = [&](int k) { return ffk.board().tag(k); };
    const int n = ffk.iGameWordNum();
    ASSERT_EQ(n, 3);
    const std::vector<bool> sixCards = {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(hidden(), sixCards);
    const int wrong = partner(n) == 0 ? 1 : 0;
    QTest::mouseClick(card(n), Qt::LeftButton);
    ffk.PicWord_Click(n);
    EXPECT_EQ(std::pair(ffk.board().selected(), ffk.board().errors()), std::pair(n, 0));
    ffk.PicWord_Click(wrong);
    pair(n, wrong);
    EXPECT_EQ(world.count(world.failSound()), 2);
    pair(n, wrong);
    EXPECT_EQ(world.count(world.failSound()), 2);
    EXPECT_EQ(world.prompter.texts(), std::vector<QString>{QStringLiteral("没有过关啊，你要努力喔！！")});
    EXPECT_EQ(ffk.board().errors(), 0); // a new deal
    EXPECT_EQ(hidden(), sixCards);

    for (int k = 0; k < n; ++k)
        pair(partner(n + k), n + k);
    EXPECT_EQ(world.soundOut.played.size(), 2u + 3u + 1u); // misses, one voice per match, success
    EXPECT_EQ(world.soundOut.played.back(), world.successSound());
    EXPECT_EQ(world.prompter.texts().back(), QStringLiteral("恭喜你过关啦，你好棒喔！！"));
    EXPECT_EQ(hidden(), sixCards); // dealt again

    // More words than distinct texts: one pair per text. None: an empty board, and the learner is told.
    WordStore& store = world.program->store;
    std::vector<CWordType> words = store.words().records();
    for (size_t copy = 0; copy < 8; ++copy)
        words.push_back(words[copy % 3]);
    store.words().assign(std::move(words));
    ffk.cmdNext_Click();
    EXPECT_EQ(std::pair(int{ffk.iGameWordNum()}, hidden()), std::pair(3, sixCards));
    store.words().setCount(0);
    ffk.cmdNext_Click();
    EXPECT_EQ(std::pair(int{ffk.iGameWordNum()}, hidden()),
              std::pair(0, std::vector<bool>(kMatchCards, true)));
    EXPECT_EQ(world.prompter.texts().back(), QStringLiteral("当前单词表里没有单词，请先选择词库。"));
}

// Cards dealt from a list that was then replaced by a shorter one: a click deals the new list afresh
// instead of reading the old game words past its end.
TEST(MatchingView, AClickOnCardsOfAReplacedListDealsTheNewList)
{
    GameWorld world({"cat", "dog", "pig"});
    WordFFK ffk(world.program->context());
    ffk.StartGameFFK();
    ffk.PicWord_Click(3);
    WordStore& store = world.program->store;
    ASSERT_TRUE(store.LoadUnitWords(0, 0));
    store.words().setCount(1);
    world.soundOut.played.clear();
    ffk.PicWord_Click(ffk.board().tag(3));
    EXPECT_EQ(ffk.iGameWordNum(), 1);
    EXPECT_EQ(ffk.board().selected(), -1);
    EXPECT_TRUE(world.soundOut.played.empty());
}

// A screen reader tells a card as a button named by what it shows, and pressing it there picks it.
TEST(MatchingView, ACardIsAButtonThatTheAccessibilityTreeCanPress)
{
    GameWorld world({"cat", "dog", "pig"});
    WordFFK ffk(world.program->context());
    ffk.StartGameFFK();
    QAccessibleInterface* card = QAccessible::queryAccessibleInterface(ffk.findChild<QWidget*>("PicWord_3"));
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->role(), QAccessible::Button);
    EXPECT_FALSE(card->text(QAccessible::Name).isEmpty());
    QAccessibleActionInterface* actions = card->actionInterface();
    ASSERT_NE(actions, nullptr);
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(ffk.board().selected(), 3);
}

} // namespace
} // namespace lexora::test
