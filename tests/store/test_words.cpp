#include "StoreTest.h"

using namespace lexora;
using lexora::test::StoreTest;

namespace {

TEST(WordRecord, ScoreComesFromTheStoredCounters)
{
    struct Case
    {
        const char* result;
        const char* score;
        int t, e, r;
    };
    const Case cases[] = {
        {"0|0|0", "0", 0, 0, 0},
        {"7|0|7", "100", 7, 0, 7},
        {"6|0|2", "100", 6, 0, 2},
        {"9|1|5", "65", 9, 1, 5},
        {"5|2|1", "33", 5, 2, 1},
        {"4|3|0", "1", 4, 3, 0},
        {"2|5|0", "-3", 2, 5, 0},
        // Unreadable or missing parts count 0; values beyond 16 bits are clamped.
        {"", "0", 0, 0, 0},
        {"5", "5", 5, 0, 0},
        {"5|2", "3", 5, 2, 0},
        {"3|a|2", "33", 3, 0, 2},
        {"99999|0|0", "100", 32767, 0, 0},
        {"c|n|nan", "0", 0, 0, 0},
    };
    for (const Case& c : cases) {
        CWordType word;
        word.Result = QString::fromUtf8(c.result);
        EXPECT_EQ(word.GetWordResult(), QString::fromUtf8(c.score)) << c.result;
        EXPECT_EQ(std::make_tuple(int(word.testNum), int(word.errNum), int(word.rightNum)),
                  std::make_tuple(c.t, c.e, c.r))
            << c.result;
    }
}

TEST(WordRecord, AnythingButLettersMakesAPhrase)
{
    const std::tuple<const char*, int, int> cases[] = {
        {"ice cream", 0, 1}, {"T-shirt", 0, 1}, {"Apple", 0, 0}, {"I'm", 0, 1},
        {"café", 0, 1},      {"3D", 0, 1},      {"ABC", 1, 1}, // a stored flag is never cleared
        {"", 0, 0}};
    for (auto [english, stored, expected] : cases) {
        CWordType word;
        word.English = QString::fromUtf8(english);
        word.Composition = static_cast<std::int16_t>(stored);
        word.SetComposition();
        EXPECT_EQ(word.Composition, expected) << english;
    }
}

class WordLoading : public StoreTest
{
protected:
    CWordType& word(const QString& english)
    {
        for (CWordType& w : store->words().listed())
            if (w.English == english)
                return w;
        ADD_FAILURE() << english.toStdString();
        return store->words().listed().front();
    }
};

TEST_F(WordLoading, UnitAndRangeLoadsFillRecords)
{
    ASSERT_TRUE(open());
    store->words().setCurrent(2);
    ASSERT_TRUE(store->LoadUnitWords(0, 0));
    EXPECT_EQ(store->words().current(), 0);
    EXPECT_EQ(englishOfList(), (std::vector<QString>{QStringLiteral("I'm"), QStringLiteral("good morning"),
                                                     QStringLiteral("hello")}));
    EXPECT_EQ(word(QStringLiteral("hello")).Result, QStringLiteral("0|0|0")); // stored Null
    EXPECT_EQ(word(QStringLiteral("good morning")).rightNum, 2);              // counters filled
    EXPECT_EQ(word(QStringLiteral("I'm")).Composition, 1);
    ASSERT_TRUE(store->LoadUnitRangeWords(0, 1, 2));
    EXPECT_EQ(englishOfList(), (std::vector<QString>{QStringLiteral("apple"), QStringLiteral("apple"),
                                                     QStringLiteral("blue"), QStringLiteral("cake"),
                                                     QStringLiteral("ice cream"), QStringLiteral("red")}));
    EXPECT_EQ(word(QStringLiteral("cake")).GetWordResult(), QStringLiteral("0")); // stored empty text
}

TEST_F(WordLoading, NothingFoundKeepsRecordsButEmptiesTheList)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(store->LoadUnitWords(0, 1));
    store->words().setCurrent(2);
    for (auto load : {+[](WordStore& s) { return s.LoadUnitRangeWords(0, 2, 1); },
                      +[](WordStore& s) { return s.LoadUnitWords(0, 9); }}) {
        prompter.clear();
        EXPECT_FALSE(load(*store));
        EXPECT_EQ(store->words().count(), 0);
        EXPECT_EQ(store->words().records().size(), 3u);
        EXPECT_EQ(store->words().current(), 2);
        ASSERT_EQ(prompter.texts(),
                  std::vector<QString>{QStringLiteral("没有找到您要的单词库，请下载最新的版本！")});
    }
}

TEST_F(WordLoading, MoreWordsThanASixteenBitCountAreRefused)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(
        course.exec(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where "
                                   "i < 32768) insert into PEP (Book, Unit, English, Chinese, Composition) "
                                   "select 0, 5, 'w' || i, '词', 0 from n")));
    EXPECT_FALSE(store->LoadUnitWords(0, 5));
    EXPECT_EQ(store->words().count(), 0);
    EXPECT_EQ(prompter.texts(),
              std::vector<QString>{QStringLiteral("没有找到您要的单词库，请下载最新的版本！")});
}

} // namespace
