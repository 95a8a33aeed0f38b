// The record views and the main window's wiring of the lists and the test: history, unit status,
// error counts, the refusal of a list too short, and where a run ends.
#include "QuizTestKit.h"
#include "ViewTestKit.h"
#include "app/FormMain.h"
#include "quiz/FormHistory.h"
#include "quiz/FormLearnStatus.h"
#include "quiz/WordRRK.h"
#include "store/WordStore.h"
#include "views/Lexivo.h"
#include "views/WordList.h"
#include "views/WordPicList.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

class RecordViewsTest : public ::testing::Test
{
protected:
    bool start(CourseFixture course = CourseFixture::standard())
    {
        world = std::make_unique<ViewWorld>(std::move(course));
        if (!world->build())
            return false;
        window = std::make_unique<FormMain>(world->program->context());
        window->runModal = [this](QDialog& dialog) {
            dialogs.push_back(dialog.metaObject()->className());
            return onModal ? onModal(dialog) : 0;
        };
        if (!window->Form_Initialize())
            return false;
        window->ShowFirstView();
        return true;
    }
    WordStore& store() { return world->program->store; }
    QAction* entry(const char* name) const { return window->findChild<QAction*>(QLatin1String(name)); }
    static QStringList row(const QTreeWidget& list, int r)
    {
        QStringList cells;
        for (int c = 0; c < list.columnCount(); ++c)
            cells << list.topLevelItem(r)->text(c);
        return cells;
    }
    // Answers every question of the running test right, the first one wrongly when asked to.
    void runTest(bool oneMistake)
    {
        WordRRK& test = window->recognitionTest();
        for (int guard = 0; guard < 40 && window->iDisplayCtrl == 4; ++guard) {
            const bool right = !oneMistake || guard > 0;
            PickChoice(test, right);
            test.cmdOK_Click();
        }
    }
    QVariant unitStatus(int book, int unit) const { return StoredUnitStatus(world->course, book, unit); }

    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<FormMain> window;
    std::vector<QString> dialogs;
    std::function<int(QDialog&)> onModal;
};

TEST_F(RecordViewsTest, TheRecordEntriesAreOffForTheLearnerUntilSwitchedOn)
{
    ASSERT_TRUE(start());
    for (const char* name : {"mnuTEST_Result", "mnuTEST_History", "mnuTEST_WordErrNum"})
        EXPECT_FALSE(entry(name)->isEnabled()) << name;
    window->SwitchOnRecordEntries();
    for (const char* name : {"mnuTEST_Result", "mnuTEST_History", "mnuTEST_WordErrNum"})
        EXPECT_TRUE(entry(name)->isEnabled()) << name;
    EXPECT_FALSE(window->findChild<QMenu*>(QStringLiteral("mnuSET"))->isEnabled());
}

TEST_F(RecordViewsTest, HistoryShowsTheFiftyNewestRowsNumberedAndTrimmed)
{
    CourseFixture course = CourseFixture::standard();
    for (int no = 1; no <= 60; ++no)
        course.history.push_back({no, 0, QStringLiteral(" 2026-01-%1 ").arg(no % 28 + 1),
                                  QStringLiteral("10:%1 ").arg(no), QStringLiteral("  task %1 ").arg(no)});
    ASSERT_TRUE(start(std::move(course)));
    std::vector<QStringList> rows;
    onModal = [&rows](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("测试完成记录"));
        const auto& list = *dialog.findChild<QTreeWidget*>(QStringLiteral("ListView1"));
        for (int r = 0; r < list.topLevelItemCount(); ++r)
            rows.push_back(row(list, r));
        const int w = list.width() - 2 * list.frameWidth();
        EXPECT_EQ(list.columnWidth(2), w * 5 / 9);
        return 0;
    };
    window->mnuTEST_History_Click();
    ASSERT_EQ(dialogs, (std::vector<QString>{QStringLiteral("lexora::FormHistory")}));
    ASSERT_EQ(rows.size(), 50u);
    EXPECT_EQ(rows[0], (QStringList{QStringLiteral("1"), QStringLiteral("2026-01-5 | 10:60"),
                                    QStringLiteral("task 60")}));
    EXPECT_EQ(rows[49][0], QStringLiteral("50"));
    EXPECT_EQ(rows[49][2], QStringLiteral("task 11"));
}

TEST_F(RecordViewsTest, NoHistoryOpensNoDialog)
{
    ASSERT_TRUE(start());
    window->mnuTEST_History_Click();
    EXPECT_TRUE(dialogs.empty());
    ASSERT_FALSE(world->prompter.asked().empty());
    EXPECT_EQ(world->prompter.asked().back().text, QStringLiteral("没有练习记录！"));
}

TEST_F(RecordViewsTest, StatusViewBrowsesBooksAndAPerfectTestStillMarksTheCurrentUnit)
{
    ASSERT_TRUE(start());
    std::vector<QStringList> book0, book1;
    onModal = [&](QDialog& dialog) {
        auto& status = dynamic_cast<FormLearnStatus&>(dialog);
        EXPECT_EQ(status.findChild<QLabel*>(QStringLiteral("lblTitle"))->text(),
                  QStringLiteral("小学英语课程学习测试完成情况"));
        const auto& books = *status.findChild<QComboBox*>(QStringLiteral("lstBook"));
        EXPECT_EQ(books.count(), 2);
        EXPECT_EQ(books.currentIndex(), 0);
        const auto& list = *status.findChild<QTreeWidget*>(QStringLiteral("ListDetail"));
        for (int r = 0; r < list.topLevelItemCount(); ++r)
            book0.push_back(row(list, r));
        status.lstBook_Click(1);
        for (int r = 0; r < list.topLevelItemCount(); ++r)
            book1.push_back(row(list, r));
        return 0;
    };
    window->mnuTEST_Result_Click();
    const QString done = QStringLiteral("完成"), notDone = QStringLiteral("未完成");
    ASSERT_EQ(book0.size(), 3u);
    EXPECT_EQ(book0[0],
              (QStringList{QStringLiteral("01"), QStringLiteral("Unit 1 Hello"), notDone, notDone}));
    EXPECT_EQ(book0[1], (QStringList{QStringLiteral("02"), QStringLiteral("Unit 2 Colours"), done, notDone}));
    EXPECT_EQ(book0[2], (QStringList{QStringLiteral("03"), QStringLiteral("Unit 3 Food"), notDone, done}));
    ASSERT_EQ(book1.size(), 2u);
    EXPECT_EQ(book1[1], (QStringList{QStringLiteral("02"), QStringLiteral("Unit 2 Family"), done, done}));
    // The current book's unit list is back.
    ASSERT_EQ(store().arrBookUnit.size(), 3u);
    EXPECT_EQ(store().arrBookUnit[0].BookID, 0);
    EXPECT_EQ(store().iUnitNum, 3);

    window->mnuTEST_Select_Click(1);
    ASSERT_EQ(window->iDisplayCtrl, 4);
    runTest(false);
    EXPECT_EQ(window->iDisplayCtrl, 1);
    EXPECT_TRUE(window->reader().isVisibleTo(window.get()));
    EXPECT_EQ(unitStatus(0, 0).toInt(), 2);
    EXPECT_TRUE(unitStatus(1, 0).isNull());
}

TEST_F(RecordViewsTest, ARunWithMistakesEndsInTheWordListWithTheResults)
{
    ASSERT_TRUE(start());
    window->mnuTEST_Select_Click(0);
    EXPECT_EQ(window->recognitionTest().iTestMode(), 0);
    runTest(true);
    EXPECT_EQ(window->iDisplayCtrl, 2);
    EXPECT_TRUE(window->wordList().isVisibleTo(window.get()));
    const auto& list = *window->wordList().findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    ASSERT_EQ(list.topLevelItemCount(), 3);
    int wrong = 0;
    for (int r = 0; r < 3; ++r)
        wrong += list.topLevelItem(r)->text(3) == QStringLiteral("错误") ? 1 : 0;
    EXPECT_EQ(wrong, 1);
    EXPECT_EQ(window->wordList().findChild<QLabel*>(QStringLiteral("lblResult"))->text(),
              QStringLiteral("本次共测试3个单词,其中有1个单词出错！"));
    EXPECT_TRUE(unitStatus(0, 0).isNull());
}

TEST_F(RecordViewsTest, ClosingTheWindowDuringATestKeepsThePassedWords)
{
    CourseFixture course = CourseFixture::standard();
    course.words[2].english = QStringLiteral("I'm"); // stored plainly, so every word's row is found
    ASSERT_TRUE(start(std::move(course)));
    window->mnuTEST_Select_Click(1);
    WordRRK& test = window->recognitionTest();
    const CWordType& passed = store().arrWords[static_cast<size_t>(test.iTestWord())];
    ASSERT_TRUE(PickChoice(test, true));
    test.cmdOK_Click();
    const QString english = QString(passed.English).replace(QLatin1Char('\''), QStringLiteral("''"));
    const QString expected =
        QStringLiteral("%1|%2|%3").arg(passed.testNum).arg(passed.errNum).arg(passed.rightNum);
    world->prompter.queueAnswer(Prompter::Answer::Yes);
    EXPECT_TRUE(window->close());
    const auto rows =
        world->course.rows(QStringLiteral("select Result from PEP where English = '%1'").arg(english));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].toString(), expected);
}

TEST_F(RecordViewsTest, ErrorCountsAndThePictureListFromTheMenus)
{
    ASSERT_TRUE(start());
    window->mnuTEST_WordErrNum_Click();
    EXPECT_EQ(window->iDisplayCtrl, 2);
    const auto& list = *window->wordList().findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    EXPECT_EQ(list.columnCount(), 5);
    EXPECT_EQ(row(list, 1),
              (QStringList{QStringLiteral("02"), QStringLiteral("good morning"), QStringLiteral("早上好"),
                           QStringLiteral("1"), QStringLiteral("2")}));

    window->mnuLEARN_WordList_Click();
    EXPECT_EQ(window->iDisplayCtrl, 8);
    EXPECT_TRUE(window->picList().isVisibleTo(window.get()));
    EXPECT_EQ(window->picList().findChild<QLabel*>(QStringLiteral("lblSectionNum"))->text(),
              QStringLiteral("第1组 / 共1组"));
}

TEST_F(RecordViewsTest, AOneWordListRefusesTheTestAndStaysInTheReader)
{
    CourseFixture course = ViewWorld::courseOf({QStringLiteral("cat")});
    ASSERT_TRUE(start(std::move(course)));
    world->prompter.clear();
    window->mnuTEST_Select_Click(1);
    EXPECT_EQ(window->iDisplayCtrl, 1);
    EXPECT_TRUE(window->reader().isVisibleTo(window.get()));
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    EXPECT_EQ(world->prompter.asked()[0].text, QStringLiteral("单词太少了，至少要有两个单词才能测试！"));

    // From another view the learner is taken back to the reader.
    window->mnuLEARN_WordList_Click();
    window->mnuTEST_Select_Click(2);
    EXPECT_EQ(window->iDisplayCtrl, 1);
}

} // namespace
} // namespace lexora::test
