// The recognition test: drawing the choices (the quiz dialog's too) and judging; in the main window its
// modes, ending early, the end of a run, what reaches the database and the media folders, the history
// and the unit status views.
#include "ViewTestKit.h"
#include "app/FormMain.h"
#include "quiz/FormLearnStatus.h"
#include "quiz/QuizDraw.h"
#include "quiz/RecordLists.h"
#include "quiz/WordRRK.h"
#include "store/WordStore.h"
#include "views/Lexivo.h"
#include "views/WordList.h"

#include <QDir>
#include <QLabel>
#include <QRadioButton>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <set>

namespace lexora::test {
namespace {

// Short lists offer as many choices as words; the asked word's position passes a chi-square at 0.1 %.
TEST(ChoiceDraws, DistinctWordsBesideTheAskedOneWhichSitsAnywhereAlike)
{
    const struct
    {
        Choices (*draw)(int asked, int wordNum, Random&);
        int wordNum, asked;
    } cases[] = {{DrawChoices, 12, 5},    {DrawChoices, 4, 3},     {DrawChoices, 3, 1},
                 {DrawChoices, 2, 1},     {DrawChoices, 1, 0},     {DrawQuizChoices, 12, 7},
                 {DrawQuizChoices, 4, 0}, {DrawQuizChoices, 3, 2}, {DrawQuizChoices, 2, 0},
                 {DrawQuizChoices, 1, 0}};
    for (const auto& [draw, wordNum, asked] : cases) {
        SCOPED_TRACE(testing::Message()
                     << (draw == DrawChoices ? "test " : "quiz ") << asked << " of " << wordNum);
        const int offered = std::min(kChoiceCount, wordNum), draws = 8000;
        ScriptedRandom random(777u + static_cast<unsigned>(wordNum));
        std::vector<double> askedAt(kChoiceCount, 0);
        for (int d = 0; d < draws; ++d) {
            const Choices c = draw(asked, wordNum, random);
            std::set<int> seen;
            for (int k = 0; k < kChoiceCount; ++k) {
                ASSERT_EQ(c[k] >= 0, k < offered) << "position " << k;
                ASSERT_LT(c[k], wordNum);
                ASSERT_TRUE(c[k] < 0 || seen.insert(c[k]).second) << "word " << c[k] << " twice";
                askedAt[k] += c[k] == asked;
            }
            ASSERT_EQ(seen.count(asked), 1u);
        }
        EXPECT_EQ(random.reseeds(), draws);
        const double expected = static_cast<double>(draws) / offered, bounds[] = {0, 10.83, 13.82, 16.27};
        double chi2 = 0;
        for (int k = 0; k < offered; ++k)
            chi2 += (askedAt[k] - expected) * (askedAt[k] - expected) / expected;
        EXPECT_LE(chi2, bounds[offered - 1]);
        for (const auto& [a, n] : std::vector<std::pair<int, int>>{{0, 0}, {-1, wordNum}, {wordNum, wordNum}})
            EXPECT_EQ(draw(a, n, random), (Choices{-1, -1, -1, -1})) << a << " of " << n;
    }
}

// The word starts at 5 tests, 1 error, 4 right in a row; the run at 2 done.
TEST(Judging, CountersAndFlagsAfterTheAnswers)
{
    using State = std::tuple<int, int, int, bool, bool, int>; // tests, errors, right, Tested, CurrErr, done
    const std::pair<std::vector<bool>, State> cases[] = {{{true}, {6, 1, 5, true, false, 3}},
                                                         {{false, true}, {7, 2, 1, true, true, 3}},
                                                         {{false, false}, {7, 3, 0, false, true, 2}}};
    for (const auto& [answers, want] : cases) {
        CWordType word;
        std::tie(word.testNum, word.errNum, word.rightNum) = std::tuple(5, 1, 4);
        std::int16_t done = 2;
        for (bool right : answers)
            EXPECT_EQ(JudgeAnswer(word, right, done), right ? Verdict::Right : Verdict::Wrong);
        EXPECT_EQ(State(word.testNum, word.errNum, word.rightNum, word.Tested, word.CurrErr, done), want)
            << answers.size() << " answers, the first " << answers[0];
    }
}

TEST(UnitStatusRows, StatusColumnsForEveryValue)
{
    const QString y = QStringLiteral("完成"), n = QStringLiteral("未完成");
    const std::pair<int, QStringList> rows[] = {{0, {n, n}},
                                                {1, {y, n}},
                                                {2, {n, y}},
                                                {3, {y, y}},
                                                {4, {QString(), QString()}},
                                                {-1, {QString(), QString()}}};
    for (const auto& [status, cells] : rows) {
        CBookUnit unit;
        unit.UnitName = QStringLiteral("Unit 1");
        unit.UnitStatus = static_cast<std::int16_t>(status);
        EXPECT_EQ(UnitStatusRow(9, unit), QStringList({"10", "Unit 1"}) + cells) << status;
    }
}

const QStringList kMedia = {"hello", "good morning", "I'm", "red", "blue", "apple"};
const QString kTitle = QStringLiteral("单词认知测试");
using Said = std::tuple<QString, QString, Prompter::Buttons>;

// The standard course on book 0's given unit, the apostrophe word stored plainly so its row is found.
CourseFixture Standard(int unit = 0)
{
    CourseFixture course = CourseFixture::standard();
    course.lastUnit = unit;
    course.words[2].english = QStringLiteral("I'm");
    return course;
}

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
    // kMedia pictured and voiced, encoded at rest as a published course keeps them.
    bool start(CourseFixture course = Standard())
    {
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
    const CWordType& asked() const { return store().arrWords[test().iTestWord()]; }
    bool shown(const char* name) const { return test().findChild<QWidget*>(name)->isVisibleTo(&test()); }
    Said said() const
    {
        const auto& a = world->prompter.asked().back();
        return {a.text, a.title, a.buttons};
    }
    void answer(bool right)
    {
        for (int k = 0; k < kChoiceCount; ++k) {
            const int w = test().arrChoice()[k];
            if (w >= 0 && (w == test().iTestWord()) == right) {
                test().findChild<QRadioButton*>(QStringLiteral("optAns_%1").arg(k))->setChecked(true);
                test().optAns_Click(k);
                return test().cmdOK_Click();
            }
        }
        ADD_FAILURE() << "no such choice";
    }
    // Answers until the test is left, the first answer wrongly when asked to; the word missed.
    QString run(bool oneMistake)
    {
        const QString missed = oneMistake ? asked().English : QString();
        for (int guard = 0; guard < 40 && window->iDisplayCtrl == 4; ++guard)
            answer(!oneMistake || guard > 0);
        return missed;
    }
    QVariant stored(const QString& sql, size_t row = 0) const
    {
        const auto rows = world->course.rows(sql);
        return row < rows.size() ? rows[row][0] : QVariant(QStringLiteral("<none>"));
    }
    QVariant result(QString english, size_t row = 0) const
    {
        return stored(
            QStringLiteral("select Result from PEP where English = '%1'").arg(english.replace("'", "''")),
            row);
    }
    QVariant unitStatus(int book, int unit) const
    {
        return stored(QStringLiteral("select UnitStatus from PEP_BookUnit where BookID = %1 and UnitID = %2")
                          .arg(book)
                          .arg(unit));
    }

    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<FormMain> window;
    std::function<int(QDialog&)> onModal;
};

TEST_F(RecognitionTest, ModesShowTheQuestionAndTheLoudspeakerAsStated)
{
    ASSERT_TRUE(start());
    // Mode, loudspeaker shown, question shown; an unknown mode changes nothing.
    for (const auto& [mode, sound, question] :
         {std::tuple{0, false, true}, {1, true, true}, {2, true, false}, {7, true, false}}) {
        window->ShowUserControl(4, static_cast<std::int16_t>(mode));
        EXPECT_EQ(std::pair(shown("imgSound"), shown("lblTestWord")), std::pair(sound, question)) << mode;
        const CWordType& choice = store().arrWords[test().arrChoice()[0]];
        EXPECT_EQ(test().findChild<QLabel*>("lblTestWord")->text(), mode ? asked().English : asked().Chinese);
        EXPECT_EQ(test().findChild<QRadioButton*>("optAns_0")->text(),
                  mode ? choice.Chinese : choice.English);
    }
}

// A word answered wrongly twice then right is passed; one answered only wrongly keeps what was stored.
TEST_F(RecognitionTest, JudgingInTheViewAndEndingWithCancelOrByClosingTheWindowWritesThePassedWords)
{
    ASSERT_TRUE(start());
    window->mnuTEST_Select_Click(1);
    const CWordType& first = asked();
    const auto [errors, choices] = std::pair(first.errNum, test().arrChoice());
    EXPECT_FALSE(shown("optAns_3") || choices[2] < 0); // three words, three choices
    answer(false);
    EXPECT_EQ(said(), Said(QStringLiteral("正确答案是： ") + first.English + " : " + first.Chinese,
                           QStringLiteral("错啦！"), Prompter::Buttons::Ok));
    EXPECT_TRUE(shown("lblAns") && shown("imgWord") && &asked() == &first && test().arrChoice() == choices);
    answer(false);
    answer(true);
    EXPECT_EQ(first.errNum, errors + 2);
    EXPECT_EQ(test().GetErrNum(), 1);
    EXPECT_EQ(test().findChild<QLabel*>("lblTestedNum")->text(), QStringLiteral("1/3"));
    // The next question is read, and again from the loudspeaker.
    const QByteArray voice = world->voiceOf(kMedia.indexOf(asked().English) + 1);
    test().imgSound_Click();
    EXPECT_EQ(std::vector(world->soundOut.played.end() - 2, world->soundOut.played.end()),
              std::vector(2, voice));

    const CWordType& failed = asked();
    answer(false);
    const QString firstResult =
        QStringLiteral("%1|%2|%3").arg(first.testNum).arg(first.errNum).arg(first.rightNum);
    world->prompter.queueAnswer(Prompter::Answer::Cancel);
    EXPECT_FALSE(test().EndTest());
    EXPECT_EQ(said(), Said(QStringLiteral("还没有完成测试，你确定要结束单元测试吗?"),
                           QStringLiteral("单词测试"), Prompter::Buttons::OkCancel));
    EXPECT_EQ(result(first.English), firstResult);
    EXPECT_EQ(result(failed.English).toString(), failed.English == "good morning" ? "3|1|2" : "");
    EXPECT_EQ(window->iDisplayCtrl, 4);
    answer(true);
    const QString failedResult =
        QStringLiteral("%1|%2|%3").arg(failed.testNum).arg(failed.errNum).arg(failed.rightNum);
    world->prompter.queueAnswer(Prompter::Answer::Yes);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(result(failed.English), failedResult);
}

TEST_F(RecognitionTest, StatusViewBrowsesBooksAndAPerfectTestStillMarksTheCurrentUnit)
{
    ASSERT_TRUE(start());
    std::vector<QStringList> book0, book1;
    onModal = [&](QDialog& dialog) {
        auto& status = dynamic_cast<FormLearnStatus&>(dialog);
        book0 = Rows(status.findChild<QTreeWidget*>(QStringLiteral("ListDetail")));
        status.lstBook_Click(1);
        book1 = Rows(status.findChild<QTreeWidget*>(QStringLiteral("ListDetail")));
        return 0;
    };
    window->mnuTEST_Result_Click();
    const QString y = QStringLiteral("完成"), n = QStringLiteral("未完成");
    EXPECT_EQ(book0, (std::vector<QStringList>{{"01", "Unit 1 Hello", n, n},
                                               {"02", "Unit 2 Colours", y, n},
                                               {"03", "Unit 3 Food", n, y}}));
    EXPECT_EQ(book1,
              (std::vector<QStringList>{{"01", "Unit 1 School", n, n}, {"02", "Unit 2 Family", y, y}}));
    // The current book's unit list is back.
    ASSERT_EQ(store().arrBookUnit.size(), 3u);
    EXPECT_EQ(store().arrBookUnit[0].BookID, 0);

    window->mnuTEST_Select_Click(2);
    ASSERT_EQ(window->iDisplayCtrl, 4);
    run(false);
    EXPECT_EQ(said(), Said(QStringLiteral("你好棒喔！全对了耶！！"), kTitle, Prompter::Buttons::Ok));
    EXPECT_TRUE(window->iDisplayCtrl == 1 && window->reader().isVisibleTo(window.get()));
    EXPECT_EQ(std::pair(unitStatus(0, 0), unitStatus(1, 0)), std::pair(QVariant(2), QVariant()));
    EXPECT_EQ(result("I'm"), "1|0|1");
    EXPECT_EQ(result("good morning"), "4|1|3");
    EXPECT_EQ(result("hello"), "1|0|1");
}

TEST_F(RecognitionTest, ARunWithMistakesEndsInTheResultsAndLeavesNoPlainMedia)
{
    ASSERT_TRUE(start(Standard(1)));
    window->mnuTEST_Select_Click(0);
    const QString missed = run(true);
    EXPECT_EQ(said(), Said(QStringLiteral("本次共测试了3个单词,有1次错误！还要继续努力喔！"), kTitle,
                           Prompter::Buttons::Ok));
    ASSERT_TRUE(window->iDisplayCtrl == 2 && window->wordList().isVisibleTo(window.get()));
    const auto rows = Rows(window->wordList().findChild<QTreeWidget*>(QStringLiteral("ListView1")));
    ASSERT_EQ(rows.size(), 3u);
    for (const QStringList& row : rows)
        EXPECT_EQ(row[3], row[1] == missed ? QStringLiteral("错误") : QStringLiteral("正确"));
    EXPECT_EQ(window->wordList().findChild<QLabel*>(QStringLiteral("lblResult"))->text(),
              QStringLiteral("本次共测试3个单词,其中有1个单词出错！"));
    EXPECT_EQ(unitStatus(0, 1).toInt(), 1);
    // A word of two units is stored in both.
    const QVariant apple = missed == "apple" ? "2|1|1" : "1|0|1";
    EXPECT_EQ(std::pair(result("apple", 0), result("apple", 1)), std::pair(apple, apple));
    EXPECT_EQ(result("red"), missed == "red" ? "9|1|1" : "8|0|8");
    const QDir pics(world->pics()), voice(world->voice());
    EXPECT_TRUE(pics.entryList({"*.jpg"}, QDir::Files).isEmpty());
    EXPECT_EQ(pics.entryList({"*.pet"}, QDir::Files).size(), 6);
    EXPECT_TRUE(voice.entryList({"*.wav"}, QDir::Files).isEmpty());
}

TEST_F(RecognitionTest, AListTooShortIsRefusedAndAnEmptyOneAsksNothing)
{
    ASSERT_TRUE(start(ViewWorld::courseOf({"cat", "dog"})));
    store().iWordNum = 1;
    window->mnuLEARN_WordList_Click(); // refused, the learner is taken back to the reader
    window->mnuTEST_Select_Click(1);
    EXPECT_TRUE(window->iDisplayCtrl == 1 && window->reader().isVisibleTo(window.get()));
    EXPECT_EQ(said(),
              Said(QStringLiteral("单词太少了，至少要有两个单词才能测试！"), kTitle, Prompter::Buttons::Ok));
    store().iWordNum = 2;
    EXPECT_TRUE(test().MayStart());
    store().iWordNum = 0;
    window->ShowUserControl(4, 1);
    EXPECT_TRUE(test().iTestWord() == -1 && window->iDisplayCtrl == 4);
    EXPECT_TRUE(unitStatus(0, 0).isNull());
}

TEST_F(RecognitionTest, HistoryShowsTheFiftyNewestRowsNumberedAndTrimmed)
{
    CourseFixture course = Standard();
    for (int no = 1; no <= 60; ++no)
        course.history.push_back({no, 0, QStringLiteral(" 2026-01-%1 ").arg(no % 28 + 1),
                                  QStringLiteral("10:%1 ").arg(no), QStringLiteral("  task %1 ").arg(no)});
    ASSERT_TRUE(start(std::move(course)));
    std::vector<QStringList> rows;
    onModal = [&rows](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("测试完成记录"));
        rows = Rows(dialog.findChild<QTreeWidget*>(QStringLiteral("ListView1")));
        return 0;
    };
    window->mnuTEST_History_Click();
    ASSERT_EQ(rows.size(), 50u);
    EXPECT_EQ(rows[0], (QStringList{"1", "2026-01-5 | 10:60", "task 60"}));
    EXPECT_EQ(rows[49], (QStringList{"50", "2026-01-12 | 10:11", "task 11"}));
}

} // namespace
} // namespace lexora::test
