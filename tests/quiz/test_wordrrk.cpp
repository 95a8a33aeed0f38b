// The recognition test (and the quiz dialog's choices): drawing, judging, runs, the record views.
#include "ViewTestKit.h"
#include "app/FormMain.h"
#include "quiz/FormLearnStatus.h"
#include "quiz/QuizDraw.h"
#include "quiz/WordRRK.h"
#include "store/WordStore.h"
#include "views/Lexivo.h"
#include "views/WordList.h"

#include <QDir>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <set>

namespace lexora::test {
namespace {

// Short lists offer as many choices as words; the asked word's position passes a chi-square at 0.1 %.
TEST(ChoiceDraws, DistinctWordsBesideTheAskedOneWhichSitsAnywhereAlike)
{
    const std::pair<int, int> cases[] = {{12, 5}, {4, 3}, {3, 1}, {2, 1}, {1, 0},
                                         {12, 7}, {4, 0}, {3, 2}, {2, 0}};
    for (const auto& [wordNum, asked] : cases) {
        SCOPED_TRACE(testing::Message() << asked << "/" << wordNum);
        const int offered = std::min(kQuizChoices, wordNum), draws = 8000;
        ScriptedRandom random(777u + static_cast<unsigned>(wordNum * 16 + asked));
        std::vector<double> askedAt(kQuizChoices, 0);
        for (int d = 0; d < draws; ++d) {
            const QuizChoices c = DrawQuizChoices(asked, wordNum, random);
            const std::set<int> offer(c.begin(), c.begin() + offered);
            ASSERT_EQ(offer.size(), static_cast<size_t>(offered));
            ASSERT_GE(*offer.begin(), 0);
            ASSERT_LT(*offer.rbegin(), wordNum);
            ASSERT_EQ(offer.count(asked), 1u);
            ASSERT_EQ(std::count(c.begin(), c.end(), -1), kQuizChoices - offered);
            ++askedAt[std::find(c.begin(), c.end(), asked) - c.begin()];
        }
        EXPECT_EQ(random.reseeds(), draws);
        double chi2 = 0, expected = static_cast<double>(draws) / offered, bounds[] = {0, 10.83, 13.82, 16.27};
        for (int k = 0; k < offered; ++k)
            chi2 += (askedAt[k] - expected) * (askedAt[k] - expected) / expected;
        EXPECT_LE(chi2, bounds[offered - 1]);
        for (const auto& [a, n] : std::vector<std::pair<int, int>>{{0, 0}, {-1, wordNum}, {wordNum, wordNum}})
            EXPECT_EQ(DrawQuizChoices(a, n, random), (QuizChoices{-1, -1, -1, -1})) << a << " of " << n;
    }
}

// A source that keeps giving the same value (the asked word's) still ends with distinct choices: the
// test's own drawing once retried without end.
TEST(ChoiceDraws, ASourceStuckOnOneValueStillEndsWithDistinctChoices)
{
    for (const double stuck : {0.0, 0.5, 0.999}) {
        SCOPED_TRACE(stuck);
        ScriptedRandom random;
        for (int i = 0; i < 20000; ++i)
            random.queue(stuck);
        const int asked = static_cast<int>(stuck * 12);
        const QuizChoices c = DrawQuizChoices(asked, 12, random);
        EXPECT_EQ(std::set<int>(c.begin(), c.end()).size(), 4u);
        EXPECT_EQ(std::count(c.begin(), c.end(), asked), 1);
    }
}

const QStringList kMedia = {"hello", "good morning", "I'm", "red", "blue", "apple"};

std::vector<QStringList> Rows(const QTreeWidget* list)
{
    std::vector<QStringList> rows(static_cast<size_t>(list->topLevelItemCount()));
    for (size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < list->columnCount(); ++c)
            rows[r] << list->topLevelItem(static_cast<int>(r))->text(c);
    return rows;
}

class RecognitionTest : public ::testing::Test
{
protected:
    // The standard course on the given unit, with "I'm" stored plainly; kMedia pictured, voiced, encoded.
    bool start(int unit = 0)
    {
        course.lastUnit = unit;
        course.words[2].english = QStringLiteral("I'm");
        world = std::make_unique<ViewWorld>(std::move(course));
        if (!world->build())
            return false;
        for (int i = 0; i < kMedia.size(); ++i) {
            world->addPicture(kMedia[i]);
            world->addVoice(kMedia[i], i + 1);
            world->program->media.EncryptWordPic(kMedia[i]);
            world->program->media.EncryptWordSound(kMedia[i]);
        }
        window = std::make_unique<FormMain>(world->program->context());
        window->runModal = [this](QDialog& dialog) { return onModal ? onModal(dialog) : 0; };
        if (!window->Form_Initialize())
            return false;
        window->ShowFirstView();
        return true;
    }
    WordRRK& test() const { return window->recognitionTest(); }
    WordStore& store() const { return world->program->store; }
    const CWordType& asked() const { return store().words().records()[test().iTestWord()]; }
    bool shown(const char* name) const { return test().findChild<QWidget*>(name)->isVisibleTo(&test()); }
    QString said() const { return world->prompter.asked().back().text; }
    void answer(bool right)
    {
        const QuizChoices& c = test().arrChoice();
        int k = 0;
        while (k < kQuizChoices && !(c[k] >= 0 && (c[k] == test().iTestWord()) == right))
            ++k;
        ASSERT_LT(k, kQuizChoices) << "no such choice";
        test().findChild<QRadioButton*>(QStringLiteral("optAns_%1").arg(k))->click();
        test().cmdOK_Click();
    }
    // Answers until the test is left, the first wrongly if oneMistake; returns the word missed.
    QString run(bool oneMistake)
    {
        const QString missed = oneMistake ? asked().English : QString();
        for (int guard = 0; guard < 40 && window->iDisplayCtrl == ViewId::RecognitionTest; ++guard)
            answer(!oneMistake || guard > 0);
        return missed;
    }
    // Result of each row of the word, or every unit's status (- for Null), joined by blanks.
    QString stored(QString english = {}) const
    {
        const QString rows =
            english.isEmpty()
                ? "select UnitStatus v from PEP_BookUnit order by BookID, UnitID"
                : "select Result v from PEP where English = '" + english.replace("'", "''") + "'";
        return world->course.rows("select group_concat(ifnull(v, '-'), ' ') from (" + rows + ")")[0][0]
            .toString();
    }

    CourseFixture course = CourseFixture::standard();
    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<FormMain> window;
    std::function<int(QDialog&)> onModal;
};

// Fewer than two words are refused, from any view, back in the reader; an empty list asks nothing.
TEST_F(RecognitionTest, ModesShowTheQuestionAndTheLoudspeakerAndAListTooShortIsRefused)
{
    ASSERT_TRUE(start());
    store().words().setCount(1);
    window->mnuLEARN_WordList_Click();
    window->mnuTEST_Select_Click(TestMode::ChooseChinese);
    EXPECT_EQ(window->iDisplayCtrl, ViewId::Reader);
    EXPECT_TRUE(window->reader().isVisibleTo(window.get()));
    EXPECT_EQ(said(), "单词太少了，至少要有两个单词才能测试！");
    store().words().setCount(2);
    EXPECT_TRUE(test().MayStart());
    store().words().setCount(0);
    window->ShowUserControl(ViewId::RecognitionTest, TestMode::ChooseChinese);
    EXPECT_EQ(test().iTestWord(), -1);
    EXPECT_EQ(window->iDisplayCtrl, ViewId::RecognitionTest);
    EXPECT_EQ(stored(), "- 1 2 - 3");
    store().words().setCount(3);
    // Mode, loudspeaker shown, question shown; an unknown mode changes nothing.
    for (const auto& [mode, sound, question] :
         {std::tuple{0, false, true}, {1, true, true}, {2, true, false}, {7, true, false}}) {
        window->ShowUserControl(ViewId::RecognitionTest, static_cast<TestMode>(mode));
        EXPECT_EQ(std::pair(shown("imgSound"), shown("lblTestWord")), std::pair(sound, question)) << mode;
        EXPECT_EQ(test().findChild<QLabel*>("lblTestWord")->text(), mode ? asked().English : asked().Chinese);
    }
}

// Wrong twice then right passes; only wrong keeps what was stored; closing keeps the words passed since.
TEST_F(RecognitionTest, JudgingInTheViewAndEndingWithCancelOrByClosingTheWindowWritesThePassedWords)
{
    ASSERT_TRUE(start());
    window->mnuTEST_Select_Click(TestMode::ChooseChinese);
    const CWordType& first = asked();
    const QuizChoices choices = test().arrChoice();
    EXPECT_FALSE(shown("optAns_3")); // three words, three choices
    EXPECT_GE(choices[2], 0);
    answer(false);
    EXPECT_EQ(said(), "正确答案是： " + first.English + " : " + first.Chinese);
    EXPECT_TRUE(shown("lblAns"));
    EXPECT_TRUE(shown("imgWord"));
    EXPECT_EQ(&asked(), &first);
    EXPECT_EQ(test().arrChoice(), choices);
    answer(false);
    answer(true);
    EXPECT_EQ(test().GetErrNum(), 1);
    EXPECT_EQ(test().findChild<QLabel*>("lblTestedNum")->text(), "1/3");

    const CWordType& failed = asked();
    answer(false);
    world->prompter.queueAnswer(Prompter::Answer::Cancel);
    EXPECT_FALSE(test().EndTest());
    EXPECT_EQ(said(), "还没有完成测试，你确定要结束单元测试吗?");
    EXPECT_EQ(stored(first.English), first.English == "good morning" ? "6|3|1" : "3|2|1");
    EXPECT_EQ(stored(failed.English), failed.English == "good morning" ? "3|1|2" : "-");
    EXPECT_EQ(window->iDisplayCtrl, ViewId::RecognitionTest);
    answer(true);
    world->prompter.queueAnswer(Prompter::Answer::Yes);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(stored(failed.English), failed.English == "good morning" ? "5|2|1" : "2|1|1");
}

// Statuses 0 to 3 and an unknown one; the history keeps the fifty newest rows, numbered and trimmed.
TEST_F(RecognitionTest, RecordViewsThenAPerfectTestMarksTheCurrentUnit)
{
    course.units[0].status = 0;
    course.units[3].status = 7;
    for (int no = 1; no <= 60; ++no)
        course.history.push_back({no, 0, QStringLiteral(" 2026-01-%1 ").arg(no % 28 + 1),
                                  QStringLiteral("10:%1 ").arg(no), QStringLiteral("  task %1 ").arg(no)});
    ASSERT_TRUE(start());
    std::vector<std::vector<QStringList>> tables;
    onModal = [&](QDialog& dialog) {
        tables.push_back(Rows(dialog.findChild<QTreeWidget*>()));
        if (auto* status = dynamic_cast<FormLearnStatus*>(&dialog)) {
            status->lstBook_Click(1);
            tables.push_back(Rows(dialog.findChild<QTreeWidget*>()));
        }
        return 0;
    };
    window->mnuTEST_Result_Click();
    window->mnuTEST_History_Click();
    ASSERT_EQ(tables.size(), 3u);
    const QString y = QStringLiteral("完成"), n = QStringLiteral("未完成");
    EXPECT_EQ(tables[0], (std::vector<QStringList>{{"01", "Unit 1 Hello", n, n},
                                                   {"02", "Unit 2 Colours", y, n},
                                                   {"03", "Unit 3 Food", n, y}}));
    EXPECT_EQ(tables[1],
              (std::vector<QStringList>{{"01", "Unit 1 School", "", ""}, {"02", "Unit 2 Family", y, y}}));
    ASSERT_EQ(tables[2].size(), 50u);
    EXPECT_EQ(tables[2][0], (QStringList{"1", "2026-01-5 | 10:60", "task 60"}));
    EXPECT_EQ(tables[2][49], (QStringList{"50", "2026-01-12 | 10:11", "task 11"}));
    ASSERT_EQ(store().catalogue().units().size(), 3u); // units are back
    EXPECT_EQ(store().catalogue().units()[0].BookID, 0);

    window->mnuTEST_Select_Click(TestMode::ListenChooseChinese);
    run(false);
    EXPECT_EQ(said(), "你好棒喔！全对了耶！！");
    EXPECT_EQ(window->iDisplayCtrl, ViewId::Reader);
    EXPECT_TRUE(window->reader().isVisibleTo(window.get()));
    EXPECT_EQ(stored(), "2 1 2 7 3");
    EXPECT_EQ(stored("I'm") + " " + stored("good morning") + " " + stored("hello"), "1|0|1 4|1|3 1|0|1");
}

// A list loaded under a running test (as the book dialog once did): the question on screen belongs
// to the old list, so answering it judges and stores nothing, and ending asks nothing.
TEST_F(RecognitionTest, AnAnswerToAQuestionOfAReplacedListIsRefused)
{
    ASSERT_TRUE(start());
    window->mnuTEST_Select_Click(TestMode::ChooseChinese);
    answer(true);
    const QuizChoices choices = test().arrChoice();
    const std::int16_t question = test().iTestWord();
    ASSERT_TRUE(store().LoadUnitWords(0, 1));
    const auto k = std::find(choices.begin(), choices.end(), question) - choices.begin();
    test().findChild<QRadioButton*>(QStringLiteral("optAns_%1").arg(k))->click();
    test().cmdOK_Click();
    for (const CWordType& word : store().words().records()) {
        EXPECT_EQ(word.testNum, word.English == "red" ? 7 : 0) << word.English.toStdString();
        EXPECT_FALSE(word.Tested) << word.English.toStdString();
    }
    EXPECT_EQ(store().words().testDone(), 1);
    world->prompter.clear();
    EXPECT_TRUE(test().EndTest());
    EXPECT_TRUE(world->prompter.texts().empty());
    EXPECT_EQ(stored("red") + " " + stored("blue") + " " + stored("apple"), "7|0|7 - - -");
}

TEST_F(RecognitionTest, ARunWithMistakesEndsInTheResultsAndLeavesNoPlainMedia)
{
    ASSERT_TRUE(start(1));
    window->mnuTEST_Select_Click(TestMode::ChooseEnglish);
    const QString missed = run(true);
    EXPECT_EQ(said(), "本次共测试了3个单词,有1次错误！还要继续努力喔！");
    ASSERT_EQ(window->iDisplayCtrl, ViewId::WordList);
    EXPECT_TRUE(window->wordList().isVisibleTo(window.get()));
    const auto rows = Rows(window->wordList().findChild<QTreeWidget*>());
    ASSERT_EQ(rows.size(), 3u);
    for (const QStringList& row : rows)
        EXPECT_EQ(row[3], row[1] == missed ? "错误" : "正确");
    EXPECT_EQ(window->wordList().findChild<QLabel*>("lblResult")->text(),
              "本次共测试3个单词,其中有1个单词出错！");
    EXPECT_EQ(stored(), "- 1 2 - 3");
    // A word of two units is stored in both.
    EXPECT_EQ(stored("apple"), missed == "apple" ? "2|1|1 2|1|1" : "1|0|1 1|0|1");
    EXPECT_EQ(stored("red"), missed == "red" ? "9|1|1" : "8|0|8");
    // The finished run is logged for the parents' report: three words asked, one of them wrong.
    EXPECT_EQ(world->course.rows("select Asked, Wrong from TestRuns"), (std::vector<QVariantList>{{3, 1}}));
    const QDir pics(world->pics()), voice(world->voice());
    EXPECT_EQ(pics.entryList({"*.jpg"}), QStringList());
    EXPECT_EQ(voice.entryList({"*.wav"}), QStringList());
    EXPECT_EQ(pics.entryList({"*.pet"}).size(), 6);
}

// Two words missed on a Monday wait in the notebook. On Tuesday the reader's note offers them, the
// review holds just them, and a perfect test of them moves both to box 2 without marking the unit.
TEST_F(RecognitionTest, WordsMissedOnMondayAreReviewedOnTuesdayAndMoveToTheNextBox)
{
    ASSERT_TRUE(start());
    QLabel* note = window->reader().findChild<QLabel*>("lblMistakeNote");
    EXPECT_FALSE(note->isVisibleTo(window.get()));
    window->mnuTEST_Select_Click(TestMode::ChooseChinese);
    QStringList missed;
    for (int guard = 0; guard < 40 && window->iDisplayCtrl == ViewId::RecognitionTest; ++guard) {
        const bool miss = missed.size() < 2 && !missed.contains(asked().English);
        if (miss)
            missed << asked().English;
        answer(!miss);
    }
    missed.sort();
    const QString notebook = "select English, Box, Since from MistakeNotebook order by English";
    using Notebook = std::vector<QVariantList>;
    EXPECT_EQ(world->course.rows(notebook),
              (Notebook{{missed[0], 1, "2026-03-02"}, {missed[1], 1, "2026-03-02"}}));
    EXPECT_FALSE(window->mnuTEST_Mistakes_Click());
    EXPECT_EQ(said(), "错词本里今天没有要复习的单词，真棒！");

    world->clock.day = world->clock.day.addDays(1);
    window->mnuLEARN_Lexivo_Click();
    ASSERT_TRUE(note->isVisibleTo(window.get()));
    EXPECT_EQ(note->text(), "错词本：今天有 2 个单词要复习");
    EXPECT_EQ(note->accessibleName(), note->text());
    QTest::mouseClick(note, Qt::LeftButton);
    ASSERT_EQ(store().words().count(), 2);
    QStringList review = {store().words().word(0)->English, store().words().word(1)->English};
    review.sort();
    EXPECT_EQ(review, missed);
    EXPECT_EQ(window->iDisplayCtrl, ViewId::Reader);
    window->mnuTEST_Select_Click(TestMode::ChooseEnglish);
    run(false);
    EXPECT_EQ(said(), "你好棒喔！全对了耶！！");
    EXPECT_EQ(world->course.rows(notebook),
              (Notebook{{missed[0], 2, "2026-03-03"}, {missed[1], 2, "2026-03-03"}}));
    EXPECT_EQ(stored(), "- 1 2 - 3");
    EXPECT_FALSE(note->isVisibleTo(window.get())) << "nothing is due until Thursday";
}

} // namespace
} // namespace lexora::test
