#include "ViewTestKit.h"
#include "app/FormHelp.h"
#include "app/FormMain.h"
#include "store/WordStore.h"
#include "views/FormBookUnit.h"
#include "views/Lexivo.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
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
    static std::function<int(QDialog&)> choose(int book, int unit)
    {
        return [book, unit](QDialog& dialog) {
            auto& bookUnit = dynamic_cast<FormBookUnit&>(dialog);
            bookUnit.Form_Load();
            bookUnit.findChild<QListWidget*>(QStringLiteral("lstBook"))->setCurrentRow(book);
            bookUnit.findChild<QListWidget*>(QStringLiteral("lstUnit"))->setCurrentRow(unit);
            bookUnit.cmdOK_Click();
            return bookUnit.result();
        };
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
        EXPECT_EQ(std::tuple(window->iDisplayCtrl, window->reader().isVisibleTo(window.get())),
                  std::tuple(0, false));
        window->ShowFirstView();
        EXPECT_EQ(std::tuple(window->iDisplayCtrl, window->reader().isVisibleTo(window.get()),
                             window->reader().bReaderShown),
                  std::tuple(1, true, true));
        EXPECT_EQ(text("lblWordNum"), QLatin1String(position)) << caption;
        EXPECT_EQ(stored(), (Stored{{book, picks ? 0 : unit}})) << caption;
    }
}

class ShowUserControlTable : public MainTest, public ::testing::WithParamInterface<int>
{};

TEST_P(ShowUserControlTable, ShowsAtMostTheOneViewOfItsIndexAndPreparesItsWords)
{
    const int index = GetParam();
    ASSERT_TRUE(start());
    window->ShowFirstView();
    for (CWordType& w : store().arrWords)
        w.Tested = !w.Composition;
    window->ShowUserControl(static_cast<std::int16_t>(index), 2);
    EXPECT_EQ(window->iDisplayCtrl, index);
    for (int v : {1, 2, 3, 4, 6, 8})
        EXPECT_EQ(window->viewWidget(v)->isVisibleTo(window.get()), v == index) << "view " << v;
    // The letter game skips phrases; the test and the matching game start every word afresh.
    for (const CWordType& w : store().arrWords)
        EXPECT_EQ(w.Tested, index == 3 ? w.Composition != 0 : index != 4 && index != 6 && !w.Composition)
            << w.English.toStdString();
    EXPECT_TRUE(index != 4 || window->iTestMode == 2);
}

INSTANTIATE_TEST_SUITE_P(Indices, ShowUserControlTable, ::testing::Values(-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9));

TEST_F(MainTest, ARunningActivityThatRefusesToEndKeepsItsView)
{
    ASSERT_TRUE(start());
    window->ShowFirstView();
    int asked = 0;
    window->EndGame = [&asked] { return ++asked < 0; }; // refuses, counting the questions
    window->ShowUserControl(3);
    modals.clear(); // the game's first quiz
    window->mnuTEST_Select_Click(1), window->mnuLEARN_Lexivo_Click();
    window->mnuFILE_BookUnit_Click(), window->mnuLEARN_WordList_Click();
    EXPECT_EQ(std::tuple(asked, window->iDisplayCtrl, window->viewWidget(3)->isVisibleTo(window.get()),
                         modals.empty()),
              std::tuple(4, 3, true, true)); // asked once per command

    window->EndGame = [] { return true; };
    window->mnuLEARN_Lexivo_Click();
    EXPECT_EQ(window->iDisplayCtrl, 1);
    window->EndTest = [] { return false; };
    window->ShowUserControl(4, 1);
    EXPECT_FALSE(window->EndOtherCtrl());
    window->ShowUserControl(6);
    EXPECT_TRUE(window->EndOtherCtrl());
}

TEST_F(MainTest, ClosingAsksAndNoChangesNothingWhileYesStoresTheChoiceForTheNextStart)
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
    EXPECT_EQ(std::tuple(window->isVisible(), window->iDisplayCtrl), std::tuple(true, 1));
    EXPECT_EQ(stored(), (Stored{{0, 0}}));
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    const auto& asked = world->prompter.asked()[0];
    EXPECT_EQ(
        std::tie(asked.text, asked.title, asked.buttons),
        std::tuple(QStringLiteral("真的要退出吗?"), QStringLiteral("英语Lexora"), Prompter::Buttons::YesNo));
    world->prompter.queueAnswer(Prompter::Answer::Yes);
    ASSERT_TRUE(window->close());
    EXPECT_EQ(stored(), (Stored{{1, 1}}));

    window.reset();
    world->program = std::make_unique<Program>(world->course.programFolder(), world->services());
    ASSERT_TRUE(launch());
    window->ShowFirstView();
    EXPECT_EQ(window->windowTitle() + text("txtEnglish"), caption + QStringLiteral("mother"));
}

// The help entry and both maker links open the handbook page shipped in AppPics, never an address on
// the web; a tree without the page says so and opens nothing.
TEST_F(MainTest, TheHelpEntryAndTheMakerLinksOpenTheShippedHandbook)
{
    ASSERT_TRUE(start());
    EXPECT_EQ(text("lblMyWeb"), QStringLiteral("Lexora 使用手册"));
    const QString page = world->program->media.folders().appPics() + QStringLiteral("/handbook.html");
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"在线帮助", [&] { window->findChild<QAction*>(QStringLiteral("mnuHELP_OnLine"))->trigger(); }},
        {"lblMyWeb",
         [&] { QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("lblMyWeb")), Qt::LeftButton); }},
        {"lblMyWebName", [&] {
             QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("lblMyWebName")), Qt::LeftButton);
         }}};
    for (const bool shipped : {false, true}) {
        if (shipped)
            WriteFile(page, "<html></html>");
        for (const auto& [name, open] : ways) {
            SCOPED_TRACE(testing::Message() << name << (shipped ? " shipped" : " missing"));
            world->shell.opened.clear();
            world->prompter.clear();
            open();
            if (shipped) {
                EXPECT_EQ(world->shell.opened, std::vector{QUrl::fromLocalFile(page)});
                EXPECT_TRUE(world->prompter.asked().empty());
            } else {
                EXPECT_TRUE(world->shell.opened.empty());
                EXPECT_EQ(world->prompter.texts(),
                          std::vector{QStringLiteral("找不到 Lexora 使用手册：") + page});
            }
        }
    }
}

TEST(FormHelp, EachLoadReplacesWhatWasShownAndAMissingFileShowsAnEmptyBox)
{
    WithApplication app;
    QTemporaryDir dir;
    WriteFile(dir.filePath(QStringLiteral("help.txt")), QStringLiteral("如何使用").toUtf8());
    WriteFile(dir.filePath(QStringLiteral("support.txt")), QStringLiteral("技术支持").toUtf8());
    FormHelp help(dir.path());
    const std::pair<void (FormHelp::*)(), QString> steps[] = {
        {&FormHelp::Load_Help, QStringLiteral("如何使用")},
        {&FormHelp::Load_PPKHelp, QString()},
        {&FormHelp::Load_AppHelp, QStringLiteral("技术支持")}};
    for (const auto& [load, shown] : steps) {
        (help.*load)();
        EXPECT_EQ(help.shownText(), shown);
    }
    WriteFile(dir.filePath(QStringLiteral("ppkhelp.txt")), QStringLiteral("排排看玩法").toUtf8());
    help.Load_PPKHelp();
    EXPECT_EQ(help.shownText(), QStringLiteral("排排看玩法"));
}

} // namespace
} // namespace lexora::test
