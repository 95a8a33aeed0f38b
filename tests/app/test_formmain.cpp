#include "ViewTestKit.h"
#include "app/FontPages.h"
#include "app/FormMain.h"
#include "games/WordPPK2.h"
#include "quiz/WordRRK.h"
#include "report/FormReport.h"
#include "store/WordStore.h"
#include "ui/ClockTimer.h"
#include "views/FormBookUnit.h"
#include "views/Lexivo.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

using Stored = std::vector<QVariantList>;
const QString kStoredChoice = QStringLiteral("select LastBook, LastUnit from FeatureTable");
const QString kNoWords = QStringLiteral("没有找到您要的单词库，请下载最新的版本！");

class MainTest : public ::testing::Test
{
protected:
    bool start(int lastBook = 0, int lastUnit = 0)
    {
        CourseFixture course = CourseFixture::standard();
        course.lastBook = lastBook, course.lastUnit = lastUnit;
        world = std::make_unique<ViewWorld>(std::move(course));
        return world->build() && launch();
    }
    bool launch()
    {
        window = std::make_unique<FormMain>(world->program->context());
        window->runModal = [this](QDialog& dialog) {
            modals.emplace_back(&dialog, world->prompter.asked().size());
            return onModal ? onModal(dialog) : 0;
        };
        return window->Form_Initialize();
    }
    WordStore& store() { return world->program->store; }
    QString text(const char* name) const { return window->findChild<QLabel*>(QLatin1String(name))->text(); }
    Stored stored() const { return world->course.rows(kStoredChoice); }
    // Picks book and unit in the book and unit dialog and presses 确定; other dialogs close at once.
    static std::function<int(QDialog&)> choose(int book, int unit)
    {
        return [book, unit](QDialog& dialog) {
            auto* bookUnit = dynamic_cast<FormBookUnit*>(&dialog);
            if (!bookUnit)
                return 0;
            bookUnit->Form_Load();
            bookUnit->findChild<QListWidget*>(QStringLiteral("lstBook"))->setCurrentRow(book);
            bookUnit->findChild<QListWidget*>(QStringLiteral("lstUnit"))->setCurrentRow(unit);
            QTest::mouseClick(bookUnit->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
            return bookUnit->result();
        };
    }
    void click(const QString& name) const
    {
        auto* control = window->findChild<QAbstractButton*>(name);
        ASSERT_NE(control, nullptr) << name.toStdString();
        QTest::mouseClick(control, Qt::LeftButton);
    }
    QString result(const QString& english) const
    {
        const auto rows =
            world->course.rows(QStringLiteral("select ifnull(Result, '-') from PEP where English = '%1'")
                                   .arg(QString(english).replace(u'\'', QStringLiteral("''"))));
        return rows.empty() ? QString() : rows[0][0].toString();
    }

    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<FormMain> window;
    std::vector<std::pair<QDialog*, size_t>> modals; // and the messages shown before each
    std::function<int(QDialog&)> onModal;
};

TEST_F(MainTest, StartsOnTheStoredUnitOrAsksForAnotherAfterTheMessages)
{
    const QString noUnits = QStringLiteral("没有找到您要的单元，请下载最新的版本！");
    // stored book and unit, first unit picked?, messages before the book and unit dialog, caption, position
    const std::tuple<int, int, bool, std::vector<QString>, const char*, const char*> cases[] = {
        {0, 1, false, {}, "小学英语Lexora -- 三年级上册  Unit 2 Colours", "1/3"},
        {0, 7, true, {kNoWords}, "小学英语Lexora -- 三年级上册  Unit 1 Hello", "1/3"},
        {0, 7, false, {kNoWords}, "小学英语Lexora -- 三年级上册  ", "0/0"},
        {5, 0, false, {noUnits, kNoWords}, "小学英语Lexora --   ", "0/0"}};
    for (const auto& [book, unit, picks, messages, caption, position] : cases) {
        modals.clear();
        onModal = picks ? choose(0, 0) : nullptr;
        ASSERT_TRUE(start(book, unit));
        ASSERT_EQ(modals.size(), messages.empty() ? 0u : 1u) << caption;
        EXPECT_TRUE(modals.empty() || dynamic_cast<FormBookUnit*>(modals[0].first));
        const auto texts = world->prompter.texts();
        const auto before = modals.empty() ? texts.size() : modals[0].second;
        EXPECT_EQ(std::vector(texts.begin(), texts.begin() + before), messages) << caption;
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8(caption));
        window->ShowFirstView();
        EXPECT_TRUE(window->reader().isVisibleTo(window.get()));
        EXPECT_EQ(text("lblWordNum"), QLatin1String(position)) << caption;
        EXPECT_EQ(stored(), (Stored{{book, picks ? 0 : unit}})) << caption;
    }
}

// The first word's picture stands whole at once: its slide would run before the window is on screen.
TEST_F(MainTest, TheFirstWordAppearsWholeAndLaterWordsSlideIn)
{
    ASSERT_TRUE(start());
    world->addPicture(QStringLiteral("hello"));
    world->addPicture(QStringLiteral("good morning"));
    const int before = world->clock.eventsRun();
    window->ShowFirstView();
    EXPECT_LT(world->clock.eventsRun() - before, 10) << "no slide";
    const int stepped = world->clock.eventsRun();
    window->reader().cmdNextWord_Click();
    const int height = window->reader().findChild<QWidget*>(QStringLiteral("Picture1"))->height();
    EXPECT_GT(world->clock.eventsRun() - stepped, height / 10) << "a slide, 5 pixels a frame";
}

TEST(FontPages, OnlyFontFilesMappedReadOnlyAreGivenBack)
{
    const QByteArray maps = "7f00a000-7f00c000 r--p 00000000 08:01 12 /usr/share/fonts/a/Noto.ttc\n"
                            "7f00c000-7f00d000 rw-p 00002000 08:01 12 /usr/share/fonts/a/Noto.ttc\n"
                            "7f00d000-7f00e000 r-xp 00000000 08:01 13 /usr/lib/libfreetype.so.6\n"
                            "7f00e000-7f00f000 r--p 00000000 08:01 14 /usr/share/fonts/b/DejaVu Sans.ttf\n"
                            "7f010000-7f011000 rw-p 00000000 00:00 0\n"
                            "garbage\n";
    const std::vector<AddressRange> ranges = FontFileMappings(maps);
    ASSERT_EQ(ranges.size(), 2u);
    using Range = std::pair<std::uintptr_t, std::uintptr_t>;
    EXPECT_EQ(Range(ranges[0].begin, ranges[0].end), Range(0x7f00a000, 0x7f00c000));
    EXPECT_EQ(Range(ranges[1].begin, ranges[1].end), Range(0x7f00e000, 0x7f00f000));
}

class ShowUserControlTable : public MainTest, public ::testing::WithParamInterface<int>
{};

TEST_P(ShowUserControlTable, ShowsAtMostTheOneViewOfItsIndexAndPreparesItsWords)
{
    const int index = GetParam();
    ASSERT_TRUE(start());
    window->ShowFirstView();
    for (CWordType& w : store().words().listed())
        w.Tested = !w.Composition;
    window->ShowUserControl(static_cast<ViewId>(index), TestMode::ListenChooseChinese);
    EXPECT_EQ(static_cast<int>(window->iDisplayCtrl), index);
    for (int v : {1, 2, 3, 4, 6, 8})
        EXPECT_EQ(window->viewWidget(static_cast<ViewId>(v))->isVisibleTo(window.get()), v == index)
            << "view " << v;
    // The letter game skips phrases; the test and the matching game start every word afresh.
    for (const CWordType& w : store().words().records())
        EXPECT_EQ(w.Tested, index == 3 ? w.Composition != 0 : index != 4 && index != 6 && !w.Composition)
            << w.English.toStdString();
    EXPECT_TRUE(index != 4 || window->iTestMode == TestMode::ListenChooseChinese);
}

INSTANTIATE_TEST_SUITE_P(Indices, ShowUserControlTable, ::testing::Values(-1, 1, 2, 3, 4, 5, 6, 8, 9));

TEST_F(MainTest, ARunningActivityThatRefusesToEndKeepsItsView)
{
    ASSERT_TRUE(start());
    window->ShowFirstView();
    int asked = 0;
    window->EndGame = [&asked] { return ++asked < 0; }; // refuses, counting the questions
    window->ShowUserControl(ViewId::LetterGame);
    modals.clear(); // the game's first quiz
    window->mnuTEST_Select_Click(TestMode::ChooseChinese);
    window->mnuLEARN_Lexivo_Click();
    window->mnuLEARN_WordList_Click();
    EXPECT_EQ(asked, 3); // once per command
    EXPECT_EQ(window->iDisplayCtrl, ViewId::LetterGame);
    EXPECT_TRUE(window->viewWidget(ViewId::LetterGame)->isVisibleTo(window.get()));
    EXPECT_TRUE(modals.empty());

    window->EndGame = [] { return true; };
    window->mnuLEARN_Lexivo_Click();
    EXPECT_EQ(window->iDisplayCtrl, ViewId::Reader);
}

TEST_F(MainTest, ClosingAsksAndNoChangesNothingWhileYesStoresTheChoice)
{
    const QString caption = QStringLiteral("小学英语Lexora -- 三年级下册  Unit 2 Family");
    ASSERT_TRUE(start());
    window->ShowFirstView(), window->show();
    onModal = choose(1, 1);
    window->mnuFILE_BookUnit_Click();
    EXPECT_EQ(window->windowTitle(), caption);
    world->course.exec(QStringLiteral("update FeatureTable set LastBook = 0, LastUnit = 0"));
    world->prompter.queueAnswer(Prompter::Answer::No);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(stored(), (Stored{{0, 0}}));
    EXPECT_EQ(world->prompter.asked().size(), 1u);
    world->prompter.queueAnswer(Prompter::Answer::Yes);
    ASSERT_TRUE(window->close());
    EXPECT_EQ(stored(), (Stored{{1, 1}}));
}

const QString kEndTest = QStringLiteral("还没有完成测试，你确定要结束单元测试吗?");
const QString kEndGame = QStringLiteral("还没有完成游戏，你确定要结束吗?");

// The book dialog, opened by its picture button over a running activity, confirms Unit 2 Colours; the
// activity's own question is answered 确定 (agreed) or 取消. The test has passed one word by then.
struct BookChange
{
    const char* name;
    const char* button;
    ViewId view;
    bool agree;
    const QString* question;
};

void PrintTo(const BookChange& c, std::ostream* os)
{
    *os << c.name;
}

class BookChangeTable : public MainTest, public ::testing::WithParamInterface<BookChange>
{
protected:
    WordRRK& test() { return window->recognitionTest(); }
    // Answers the recognition test's question right through its controls; the word asked.
    QString answerRight()
    {
        const QuizChoices& c = test().arrChoice();
        const int k = static_cast<int>(std::find(c.begin(), c.end(), test().iTestWord()) - c.begin());
        const QString english = store().words().records()[static_cast<size_t>(test().iTestWord())].English;
        auto* choice = test().findChild<QRadioButton*>(QStringLiteral("optAns_%1").arg(k));
        // On the round mark: a wide choice with a short text is not hit in its middle.
        QTest::mouseClick(choice, Qt::LeftButton, {}, QPoint(8, choice->height() / 2));
        QTest::mouseClick(test().findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        return english;
    }
    QStringList listed()
    {
        QStringList words;
        for (int i = 0; i < store().words().count(); ++i)
            words << store().words().records()[static_cast<size_t>(i)].English.trimmed();
        return words;
    }
};

TEST_P(BookChangeTable, AsksOnceAndDeclinedKeepsTheOldListWhileAgreedEndsTheActivityFirst)
{
    const BookChange& c = GetParam();
    ASSERT_TRUE(start());
    window->show();
    window->ShowFirstView();
    click(QLatin1String(c.button));
    ASSERT_EQ(window->iDisplayCtrl, c.view);
    const QString passed = c.view == ViewId::RecognitionTest ? answerRight() : QString();
    const QString caption = window->windowTitle();
    world->prompter.clear();
    world->prompter.queueAnswer(c.agree ? Prompter::Answer::Ok : Prompter::Answer::Cancel);
    onModal = choose(0, 1);
    click(QStringLiteral("imgCommand_0"));

    EXPECT_EQ(world->prompter.texts(), c.question ? std::vector{*c.question} : std::vector<QString>{});
    EXPECT_EQ(window->iDisplayCtrl, c.agree ? ViewId::Reader : c.view);
    EXPECT_EQ(listed(), c.agree ? QStringList({"red", "blue", "apple"})
                                : QStringList({"hello", "good morning", "I'm"}));
    EXPECT_EQ(stored(), (Stored{{0, c.agree ? 1 : 0}}));
    EXPECT_EQ(window->windowTitle() == caption, !c.agree);
    // Only the word passed in the test is stored, whichever the answer; the new unit is untouched.
    // word, its result if it was the word passed, otherwise
    const std::tuple<const char*, const char*, const char*> results[] = {
        {"hello", "1|0|1", "-"}, {" I'm ", "1|0|1", "-"}, {"good morning", "4|1|3", "3|1|2"},
        {"blue", "-", "-"},      {"apple", "-", "-"},     {"red", "7|0|7", "7|0|7"}};
    for (const auto& [word, ifPassed, otherwise] : results)
        EXPECT_EQ(result(QLatin1String(word)), passed == QLatin1String(word) ? ifPassed : otherwise) << word;
    if (c.agree || c.view == ViewId::MatchingGame)
        return;
    // Declined, the activity goes on over the list it was drawn from.
    if (c.view == ViewId::LetterGame) {
        EXPECT_GT(window->letterGame().board().count(), 0);
        return;
    }
    const QString next = answerRight();
    EXPECT_TRUE(listed().contains(next.trimmed())) << next.toStdString();
    EXPECT_EQ(store().words().testDone(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Activities, BookChangeTable,
    ::testing::Values(BookChange{"TestAgreed", "imgCommand_3", ViewId::RecognitionTest, true, &kEndTest},
                      BookChange{"TestDeclined", "imgCommand_3", ViewId::RecognitionTest, false, &kEndTest},
                      BookChange{"LetterGameAgreed", "imgCommand_2", ViewId::LetterGame, true, &kEndGame},
                      BookChange{"LetterGameDeclined", "imgCommand_2", ViewId::LetterGame, false, &kEndGame},
                      BookChange{"MatchingGame", "imgCommand_6", ViewId::MatchingGame, true, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// The book dialog over a test: browsing and cancelling asks nothing and leaves the test as it was; a
// unit without words after agreeing keeps the old list, and cancelling then goes back to the reader.
TEST_F(MainTest, TheBookDialogCancelledOrFailingToLoadNeverLeavesAnEndedTestShowing)
{
    ASSERT_TRUE(start());
    window->ShowFirstView();
    window->mnuTEST_Select_Click(TestMode::ChooseChinese);
    const std::int16_t question = window->recognitionTest().iTestWord();
    // Picks a row of the named list, presses 确定 if asked to, then 取消.
    const auto browse = [this](const char* list, bool ok) {
        onModal = [list, ok](QDialog& dialog) {
            auto& bookUnit = dynamic_cast<FormBookUnit&>(dialog);
            bookUnit.Form_Load();
            bookUnit.findChild<QListWidget*>(QLatin1String(list))->setCurrentRow(1);
            if (ok)
                bookUnit.cmdOK_Click();
            bookUnit.cmdCancle_Click();
            return bookUnit.result();
        };
        window->mnuFILE_BookUnit_Click();
    };
    browse("lstBook", false);
    EXPECT_TRUE(world->prompter.texts().empty());
    EXPECT_EQ(window->iDisplayCtrl, ViewId::RecognitionTest);
    EXPECT_EQ(window->recognitionTest().iTestWord(), question);
    EXPECT_EQ(store().catalogue().unitCount(), 3); // the first book's units are back

    world->course.exec(QStringLiteral("delete from PEP where Unit = 1"));
    world->prompter.queueAnswer(Prompter::Answer::Ok);
    browse("lstUnit", true);
    EXPECT_EQ(world->prompter.texts(), (std::vector<QString>{kEndTest, kNoWords}));
    EXPECT_EQ(window->iDisplayCtrl, ViewId::Reader);
    EXPECT_EQ(store().words().count(), 3);
    EXPECT_EQ(stored(), (Stored{{0, 0}}));
}

// Automatic stepping is on when the learner leaves the reader; nothing of the reader sounds afterwards.
TEST_F(MainTest, EveryRouteAwayFromTheReaderStopsItsAutomaticStepping)
{
    // Menu entries are triggered (as by mouse or keyboard), buttons clicked.
    const QStringList routes = QStringLiteral("mnuTEST_SelectChineseByListen mnuTEST_SelectEnglish "
                                              "mnuLEARN_WordList mnuGAME_PPK mnuGAME_FFK imgCommand_3 "
                                              "imgCommand_6 cmdToWordList mnuFILE_BookUnit")
                                   .split(u' ');
    for (const QString& route : routes) {
        SCOPED_TRACE(route.toStdString());
        ASSERT_TRUE(start());
        for (const char* word : {"hello", "good morning", " I'm ", "red", "blue", "apple"})
            world->addVoice(QLatin1String(word), 1);
        window->show();
        window->ShowFirstView();
        click(QStringLiteral("chkAutoplay"));
        ASSERT_TRUE(window->reader().TimerAutoplay().isEnabled());
        onModal = choose(0, 1);
        if (auto* entry = window->findChild<QAction*>(route))
            entry->trigger();
        else
            click(route);
        const std::int16_t word = store().words().current();
        world->soundOut.played.clear();
        world->clock.advance(9000);
        window->reader().TimerAutoplay().poll();
        EXPECT_FALSE(window->reader().TimerAutoplay().isEnabled());
        EXPECT_FALSE(window->reader().findChild<QCheckBox*>("chkAutoplay")->isChecked());
        EXPECT_EQ(store().words().current(), word);
        EXPECT_TRUE(world->soundOut.played.empty());
    }
}

// The help entry and both maker links open the handbook page shipped in AppPics, never an address on
// the web; a tree without the page says so and opens nothing.
TEST_F(MainTest, TheHelpEntryAndTheMakerLinksOpenTheShippedHandbook)
{
    ASSERT_TRUE(start());
    const QString page = world->program->media.folders().appPics() + QStringLiteral("/handbook.html");
    for (const bool shipped : {false, true}) {
        if (shipped)
            WriteFile(page, "<html></html>");
        for (const char* name : {"mnuHELP_OnLine", "lblMyWeb", "lblMyWebName"}) {
            SCOPED_TRACE(testing::Message() << name << (shipped ? " shipped" : " missing"));
            world->shell.opened.clear();
            world->prompter.clear();
            if (auto* entry = window->findChild<QAction*>(QLatin1String(name)))
                entry->trigger();
            else
                QTest::mouseClick(window->findChild<QWidget*>(QLatin1String(name)), Qt::LeftButton);
            const std::vector<QUrl> opened{QUrl::fromLocalFile(page)};
            const std::vector<QString> told{QStringLiteral("找不到 Lexora 使用手册：") + page};
            EXPECT_EQ(world->shell.opened, shipped ? opened : std::vector<QUrl>{});
            EXPECT_EQ(world->prompter.texts(), shipped ? std::vector<QString>{} : told);
        }
    }
}

// The parents' report opens from its own menu and hands the parent to the record views unchanged: the
// unit status and the history over it, the error counts in the main window once it has closed.
TEST_F(MainTest, TheReportOpensTheRecordViewsAsTheyAre)
{
    ASSERT_TRUE(start());
    window->show();
    window->ShowFirstView();
    std::vector<QString> titles;
    onModal = [&](QDialog& dialog) {
        titles.push_back(dialog.windowTitle());
        auto* report = dynamic_cast<FormReport*>(&dialog);
        if (!report)
            return 0;
        for (auto* control : report->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
        for (const char* name : {"cmdStatus", "cmdHistory", "cmdErrors"})
            QTest::mouseClick(report->findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
        return report->result();
    };
    window->findChild<QAction*>(QStringLiteral("mnuPARENT_Report"))->trigger();

    EXPECT_EQ(titles,
              (std::vector<QString>{QStringLiteral("学习报告"), QStringLiteral("单元学习测试情况汇总")}));
    ASSERT_EQ(world->prompter.asked().size(), 1u); // the fixture keeps no history
    EXPECT_EQ(world->prompter.asked()[0].text, QStringLiteral("没有练习记录！"));
    EXPECT_EQ(window->iDisplayCtrl, ViewId::WordList);
}

} // namespace
} // namespace lexora::test
