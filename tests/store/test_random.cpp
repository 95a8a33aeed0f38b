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
        ASSERT_TRUE(store->LoadUnitRangeWords(0, 0, 2));
        ASSERT_EQ(store->words().count(), 9);
    }
};

TEST_F(RandomWord, DrawsUniformlyAndNeverATestedWord)
{
    std::vector<int> hits(9, 0);
    for (int i = 0; i < 9000; ++i)
        ++hits[static_cast<size_t>(store->RandUntestedWord())];
    for (int h : hits) // 1000 expected each; 5 sigma is about 150
        EXPECT_NEAR(h, 1000, 150);
    EXPECT_EQ(random.reseeds(), 9000); // reseeded at every call
    for (int round = 0; round < 200; ++round) {
        for (size_t i = 0; i < 9; ++i)
            store->words().listed()[i].Tested = ((i + static_cast<size_t>(round)) % 3) != 0;
        EXPECT_FALSE(store->words().records()[static_cast<size_t>(store->RandUntestedWord())].Tested);
    }
}

TEST_F(RandomWord, SixUnluckyDrawsFallBackToTheFirstUntested)
{
    for (CWordType& w : store->words().listed())
        w.Tested = true;
    store->words().listed()[4].Tested = store->words().listed()[7].Tested = false;
    for (int i = 0; i < 6; ++i)
        random.queue(0.0); // index 0, tested
    EXPECT_EQ(store->RandUntestedWord(), 4);
    random.queue(0.0);
    random.queue(7.5 / 9);
    EXPECT_EQ(store->RandUntestedWord(), 7); // the second draw hits
}

TEST_F(RandomWord, NothingLeftPhrasesOnlyOrNothingLoaded)
{
    for (CWordType& w : store->words().listed())
        w.Composition = 1;
    store->words().ResetTestFlagsSkipPhrases();
    EXPECT_EQ(store->RandUntestedWord(), -1);
    store->words().setCount(0);
    EXPECT_EQ(store->RandUntestedWord(), -1);
}

} // namespace
