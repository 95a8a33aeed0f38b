#include "StoreTest.h"

using namespace lexora;
using lexora::test::StoreTest;

namespace {

struct ScoreCase
{
    const char* result;
    const char* score;
    int t, e, r;
};

class WordScore : public ::testing::TestWithParam<ScoreCase>
{};

TEST_P(WordScore, ComesFromTheStoredCounters)
{
    CWordType word;
    word.Result = QString::fromUtf8(GetParam().result);
    EXPECT_EQ(word.GetWordResult(), QString::fromUtf8(GetParam().score));
    EXPECT_EQ(word.testNum, GetParam().t);
    EXPECT_EQ(word.errNum, GetParam().e);
    EXPECT_EQ(word.rightNum, GetParam().r);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WordScore,
    ::testing::Values(ScoreCase{"0|0|0", "0", 0, 0, 0}, ScoreCase{"7|0|7", "100", 7, 0, 7},
                      ScoreCase{"6|0|2", "100", 6, 0, 2}, ScoreCase{"9|1|5", "65", 9, 1, 5},
                      ScoreCase{"5|2|1", "33", 5, 2, 1}, ScoreCase{"4|3|0", "1", 4, 3, 0},
                      ScoreCase{"2|5|0", "-3", 2, 5, 0}, ScoreCase{"8|1|3", "37", 8, 1, 3},
                      // Unreadable or missing parts count 0.
                      ScoreCase{"", "0", 0, 0, 0}, ScoreCase{"5", "5", 5, 0, 0},
                      ScoreCase{"5|2", "3", 5, 2, 0}, ScoreCase{"x|y|z", "0", 0, 0, 0},
                      ScoreCase{"3|a|2", "33", 3, 0, 2}, ScoreCase{" 4 | 1 | 1 ", "33", 4, 1, 1},
                      ScoreCase{"99999|0|0", "100", 32767, 0, 0}, ScoreCase{"||", "0", 0, 0, 0}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(WordRecord, CountersGoBackIntoResult)
{
    CWordType word;
    word.testNum = 5;
    word.errNum = 1;
    word.rightNum = 3;
    word.SetWordResultString();
    EXPECT_EQ(word.Result, QStringLiteral("5|1|3"));
}

struct PhraseCase
{
    const char* english;
    int stored;
    int expected;
};

class PhraseFlag : public ::testing::TestWithParam<PhraseCase>
{};

TEST_P(PhraseFlag, IsSetByAnythingButLetters)
{
    CWordType word;
    word.English = QString::fromUtf8(GetParam().english);
    word.Composition = static_cast<std::int16_t>(GetParam().stored);
    word.SetComposition();
    EXPECT_EQ(word.Composition, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, PhraseFlag,
                         ::testing::Values(PhraseCase{"ice cream", 0, 1}, PhraseCase{"T-shirt", 0, 1},
                                           PhraseCase{"Apple", 0, 0}, PhraseCase{"zebra", 0, 0},
                                           PhraseCase{"I'm", 0, 1}, PhraseCase{"café", 0, 1},
                                           PhraseCase{"ABC", 1, 1}, PhraseCase{"", 0, 0},
                                           PhraseCase{"3D", 0, 1}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

class WordLoading : public StoreTest
{};

TEST_F(WordLoading, UnitLoadFillsRecords)
{
    ASSERT_TRUE(open());
    store->iCurrWord = 2;
    ASSERT_TRUE(store->LoadUnitWords(0, 0));
    EXPECT_EQ(store->iWordNum, 3);
    EXPECT_EQ(store->iCurrWord, 0);
    EXPECT_EQ(englishOfList(), (std::vector<QString>{QStringLiteral("I'm"), QStringLiteral("good morning"),
                                                     QStringLiteral("hello")}));
    for (const CWordType& w : store->arrWords) {
        EXPECT_FALSE(w.Tested);
        EXPECT_FALSE(w.CurrErr);
        if (w.English == QStringLiteral("hello")) {
            EXPECT_EQ(w.Result, QStringLiteral("0|0|0")); // stored Null
            EXPECT_EQ(w.Composition, 0);
        } else if (w.English == QStringLiteral("good morning")) {
            EXPECT_EQ(w.Result, QStringLiteral("3|1|2"));
            EXPECT_EQ(w.testNum, 3);
            EXPECT_EQ(w.errNum, 1);
            EXPECT_EQ(w.rightNum, 2);
        } else {
            EXPECT_EQ(w.Composition, 1); // the apostrophe makes it a phrase
        }
    }
}

TEST_F(WordLoading, EmptyStoredResultReadsAsZeros)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(store->LoadUnitWords(0, 2));
    for (CWordType& w : store->arrWords) {
        if (w.English == QStringLiteral("cake")) {
            EXPECT_EQ(w.Result, QString());
            EXPECT_EQ(w.GetWordResult(), QStringLiteral("0"));
        }
    }
}

TEST_F(WordLoading, RangeLoadsEveryUnitBetween)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(store->LoadUnitRangeWords(0, 1, 2));
    EXPECT_EQ(store->iWordNum, 6);
    EXPECT_EQ(englishOfList(), (std::vector<QString>{QStringLiteral("apple"), QStringLiteral("apple"),
                                                     QStringLiteral("blue"), QStringLiteral("cake"),
                                                     QStringLiteral("ice cream"), QStringLiteral("red")}));
}

TEST_F(WordLoading, NothingFoundKeepsRecordsButEmptiesTheList)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(store->LoadUnitWords(0, 1));
    store->iCurrWord = 2;
    for (auto load : {+[](WordStore& s) { return s.LoadUnitRangeWords(0, 2, 1); },
                      +[](WordStore& s) { return s.LoadUnitWords(0, 9); }}) {
        prompter.clear();
        EXPECT_FALSE(load(*store));
        EXPECT_EQ(store->iWordNum, 0);
        EXPECT_EQ(store->arrWords.size(), 3u);
        EXPECT_EQ(store->iCurrWord, 2);
        ASSERT_EQ(prompter.asked().size(), 1u);
        EXPECT_EQ(prompter.asked()[0].text, QStringLiteral("没有找到您要的单词库，请下载最新的版本！"));
        EXPECT_EQ(prompter.asked()[0].title, QStringLiteral("小学英语"));
    }
    ASSERT_TRUE(store->LoadUnitWords(1, 0));
    EXPECT_EQ(store->iCurrWord, 0);
}

TEST_F(WordLoading, MoreWordsThanASixteenBitCountAreRefused)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(
        course.exec(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where "
                                   "i < 32768) insert into PEP (Book, Unit, English, Chinese, Composition) "
                                   "select 0, 5, 'w' || i, '词', 0 from n")));
    EXPECT_FALSE(store->LoadUnitWords(0, 5));
    EXPECT_EQ(store->iWordNum, 0);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text, QStringLiteral("没有找到您要的单词库，请下载最新的版本！"));
}

TEST_F(WordLoading, ResultReachesEveryRowWithTheSameEnglish)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(store->LoadUnitWords(0, 1));
    for (CWordType& w : store->arrWords) {
        if (w.English == QStringLiteral("apple")) {
            w.testNum = 4;
            w.errNum = 1;
            w.rightNum = 2;
            w.UpdateUserInfo(*store);
            EXPECT_EQ(w.Result, QStringLiteral("4|1|2"));
        }
    }
    const auto rows = course.rows(QStringLiteral("select Result from PEP where English = 'apple'"));
    ASSERT_EQ(rows.size(), 2u);
    for (const auto& row : rows)
        EXPECT_EQ(row[0].toString(), QStringLiteral("4|1|2"));
    EXPECT_EQ(course.rows(QStringLiteral("select count(*) from PEP where Result = '4|1|2'"))[0][0].toInt(),
              2);
}

TEST_F(WordLoading, ApostropheWordsFindTheirRows)
{
    ASSERT_TRUE(open());
    // Stored with blanks around it: the trimmed text no longer matches the row, but "I'm" stored plainly
    // does.
    ASSERT_TRUE(course.exec(QStringLiteral("update PEP set English = 'I''m' where English = ' I''m '")));
    ASSERT_TRUE(store->LoadUnitWords(0, 0));
    for (CWordType& w : store->arrWords) {
        if (w.English == QStringLiteral("I'm")) {
            w.testNum = 1;
            w.rightNum = 1;
            w.UpdateUserInfo(*store);
        }
    }
    const auto rows = course.rows(QStringLiteral("select Result from PEP where English = 'I''m'"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].toString(), QStringLiteral("1|0|1"));
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(WordLoading, CurrentTextsFollowTheCurrentWord)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(store->LoadUnitWords(1, 0));
    store->strCurrEnglish = QStringLiteral("ffe");
    store->iCurrWord = 0;
    store->SetCurrWordText();
    const QString first = store->arrWords[0].English;
    EXPECT_EQ(store->strLastEnglish, QStringLiteral("ffe"));
    EXPECT_EQ(store->strCurrEnglish, first);
    store->SetCurrWordText(); // same word: nothing moves
    EXPECT_EQ(store->strLastEnglish, QStringLiteral("ffe"));
    store->iCurrWord = 1;
    store->SetCurrWordText();
    EXPECT_EQ(store->strLastEnglish, first);
    EXPECT_EQ(store->strCurrChinese, store->arrWords[1].Chinese.trimmed());
    store->iCurrWord = store->iWordNum; // one past the end changes nothing
    store->SetCurrWordText();
    EXPECT_EQ(store->strLastEnglish, first);
}

TEST_F(WordLoading, ResetsClearOrSkipPhrases)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(store->LoadUnitRangeWords(0, 0, 2));
    for (CWordType& w : store->arrWords) {
        w.Tested = true;
        w.CurrErr = true;
    }
    store->iTestDone = 5;
    store->ResetTestFlagsSkipPhrases();
    EXPECT_EQ(store->iTestDone, 0);
    for (const CWordType& w : store->arrWords) {
        EXPECT_EQ(w.Tested, w.Composition != 0) << w.English.toStdString();
        EXPECT_EQ(w.CurrErr, w.Composition != 0) << w.English.toStdString(); // a phrase keeps its flag
    }
    store->iTestDone = 3;
    store->ResetTestFlags();
    EXPECT_EQ(store->iTestDone, 0);
    for (const CWordType& w : store->arrWords) {
        EXPECT_FALSE(w.Tested);
        EXPECT_FALSE(w.CurrErr);
    }
}

} // namespace
