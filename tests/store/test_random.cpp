#include "StoreTest.h"

using namespace lexora;
using lexora::test::StoreTest;

namespace {

class RandomWord : public StoreTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(open());
        ASSERT_TRUE(store->LoadUnitRangeWords(0, 0, 2)); // nine words
        ASSERT_EQ(store->iWordNum, 9);
    }
};

TEST_F(RandomWord, DrawsUniformlyAmongUntestedWords)
{
    constexpr int kDraws = 9000;
    std::vector<int> hits(9, 0);
    for (int i = 0; i < kDraws; ++i) {
        const int w = store->RandUntestedWord();
        ASSERT_GE(w, 0);
        ASSERT_LT(w, 9);
        ++hits[static_cast<size_t>(w)];
    }
    // Expected 1000 each; 5 sigma is about 150.
    for (int h : hits) {
        EXPECT_GT(h, 850);
        EXPECT_LT(h, 1150);
    }
    EXPECT_EQ(random.reseeds(), kDraws); // reseeded at every call
}

TEST_F(RandomWord, NeverReturnsATestedWord)
{
    for (int round = 0; round < 200; ++round) {
        for (size_t i = 0; i < store->arrWords.size(); ++i)
            store->arrWords[i].Tested = ((i + static_cast<size_t>(round)) % 3) != 0;
        const int w = store->RandUntestedWord();
        ASSERT_GE(w, 0);
        EXPECT_FALSE(store->arrWords[static_cast<size_t>(w)].Tested);
    }
}

TEST_F(RandomWord, SixUnluckyDrawsFallBackToTheFirstUntested)
{
    for (CWordType& w : store->arrWords)
        w.Tested = true;
    store->arrWords[4].Tested = false;
    store->arrWords[7].Tested = false;
    for (int i = 0; i < 6; ++i)
        random.queue(0.0); // index 0, tested
    EXPECT_EQ(store->RandUntestedWord(), 4);
    random.queue(0.0);
    random.queue(7.5 / 9);
    EXPECT_EQ(store->RandUntestedWord(), 7); // the second draw hits
}

TEST_F(RandomWord, NothingLeftOrNothingLoaded)
{
    store->arrWords[0].Tested = false;
    for (CWordType& w : store->arrWords)
        w.Tested = true;
    EXPECT_EQ(store->RandUntestedWord(), -1);
    store->iWordNum = 0;
    EXPECT_EQ(store->RandUntestedWord(), -1);
}

TEST_F(RandomWord, PhrasesOnlyListHasNothingToAsk)
{
    for (CWordType& w : store->arrWords)
        w.Composition = 1;
    store->ResetTestFlagsSkipPhrases();
    EXPECT_EQ(store->RandUntestedWord(), -1);
}

} // namespace
