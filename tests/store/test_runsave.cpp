// A run's results are stored in one transaction: all of them or none, even when the program dies
// on the way.
#include "StoreTest.h"

#include <csignal>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

using namespace lexora;
using lexora::test::StoreTest;

namespace {

class RunSave : public StoreTest
{
protected:
    // The course with every English text stored without blanks around it, as the loader reads it:
    // a stored " I'm " is not the loaded "I'm" (neither for the word-by-word write).
    bool openTrimmed()
    {
        return open() && course.exec(QStringLiteral("update PEP set English = trim(English)"));
    }
    // The words of book 0 (apple twice, in units 1 and 2), every one given the same new counters.
    void loadRun(std::int16_t counter)
    {
        ASSERT_TRUE(store->LoadUnitRangeWords(0, 0, 2));
        run.clear();
        for (int i = 0; i < store->words().count(); ++i) {
            CWordType& word = *store->words().word(i);
            word.testNum = counter;
            word.errNum = 0;
            word.rightNum = counter;
            run.push_back(i);
        }
    }
    std::vector<QVariantList> stored() const
    {
        return course.rows(QStringLiteral("select Book, Unit, English, Result from PEP order by rowid"));
    }
    // The results of the run's rows, one entry per distinct value.
    std::set<QString> runResults() const
    {
        std::set<QString> out;
        for (const QVariantList& row : course.rows(QStringLiteral("select Result from PEP where Book = 0")))
            out.insert(row[0].isNull() ? QStringLiteral("Null") : row[0].toString());
        return out;
    }
    // A fresh store in a fresh process would find the course and the words.
    void expectOpens()
    {
        lexora::test::FakePrompter fresh;
        WordStore again(course.programFolder(), fresh, random);
        EXPECT_TRUE(again.LoadSettings());
        EXPECT_TRUE(again.LoadUnitWords(0, 0));
        EXPECT_TRUE(fresh.asked().empty());
    }

    std::vector<int> run;
};

// " I'm " is stored with blanks: its results once went nowhere, as only the trimmed text was looked for.
TEST_F(RunSave, StoresEveryListedWordInEveryRowOfItsTextAndNowhereElse)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(store->LoadUnitRangeWords(0, 0, 2));
    std::vector<int> listed;
    for (int i = 0; i < store->words().count(); ++i) {
        CWordType& word = *store->words().word(i);
        if (word.English == QStringLiteral("red"))
            continue; // not passed in this run: keeps what is stored
        std::tie(word.testNum, word.errNum, word.rightNum) = std::make_tuple(5, 1, 2);
        listed.push_back(i);
    }
    listed.push_back(store->words().count()); // outside the list: skipped

    EXPECT_TRUE(store->SaveWordResults(listed));

    const std::vector<QVariantList> expected = {
        {0, 0, QStringLiteral("hello"), QStringLiteral("5|1|2")},
        {0, 0, QStringLiteral("good morning"), QStringLiteral("5|1|2")},
        {0, 0, QStringLiteral(" I'm "), QStringLiteral("5|1|2")},
        {0, 1, QStringLiteral("red"), QStringLiteral("7|0|7")},
        {0, 1, QStringLiteral("blue"), QStringLiteral("5|1|2")},
        {0, 1, QStringLiteral("apple"), QStringLiteral("5|1|2")},
        {0, 2, QStringLiteral("apple"), QStringLiteral("5|1|2")},
        {0, 2, QStringLiteral("ice cream"), QStringLiteral("5|1|2")},
        {0, 2, QStringLiteral("cake"), QStringLiteral("5|1|2")},
        {1, 0, QStringLiteral("pen"), QVariant()},
        {1, 0, QStringLiteral("T-shirt"), QVariant()},
        {1, 1, QStringLiteral("mother"), QVariant()},
    };
    EXPECT_EQ(stored(), expected);
    EXPECT_EQ(store->words().records()[static_cast<size_t>(listed[0])].Result,
              QStringLiteral("5|1|2"));     // in memory too
    EXPECT_NE(course.head(), QByteArray()); // still there
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(RunSave, AFailingWordLeavesTheWholeRunUnstored)
{
    ASSERT_TRUE(openTrimmed());
    // The database refuses one word late in the run; the words before it must not stay written.
    ASSERT_TRUE(
        course.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE OF Result ON PEP "
                                   "WHEN NEW.English = 'cake' BEGIN SELECT RAISE(ABORT, 'no'); END")));
    loadRun(4);
    const auto before = stored();

    EXPECT_FALSE(store->SaveWordResults(run));

    EXPECT_EQ(stored(), before);
    EXPECT_EQ(fatals, 0); // a failed save does not end the program
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_TRUE(prompter.asked()[0].text.contains(QStringLiteral("学习记录没有保存下来")))
        << qPrintable(prompter.asked()[0].text);
    expectOpens();
}

// The program is killed at a chosen point of the save (0: the transaction has begun; n: n words
// written; -1: committed). What was committed is all there, anything else is none of it.
TEST_F(RunSave, AKillDuringTheSaveLeavesAllOrNone)
{
    struct Case
    {
        int killAt;
        bool stored;
    };
    const Case cases[] = {{0, false}, {1, false}, {5, false}, {9, false}, {-1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.killAt);
        ASSERT_TRUE(openTrimmed()); // a fresh course each time
        loadRun(6);
        const auto before = runResults();
        store->setSaveWatcher([killAt = c.killAt](int written) {
            if (written == killAt)
                ::raise(SIGKILL);
        });

        const pid_t child = ::fork();
        if (child == 0) {
            store->SaveWordResults(run);
            ::_exit(0); // the kill point was never reached
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save ran past its kill point";

        expectOpens();
        EXPECT_EQ(runResults(), c.stored ? std::set<QString>{QStringLiteral("6|0|6")} : before);
    }
}

} // namespace
