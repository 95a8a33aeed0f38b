// The main window over the fixture course: start-up, caption, switching views, menus, exit.
#include "ViewTestKit.h"
#include "app/FormHelp.h"
#include "app/FormMain.h"
#include "store/WordStore.h"
#include "views/ClockTimer.h"
#include "views/FormBookUnit.h"
#include "views/Geometry.h"
#include "views/Lexivo.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

const QString kNoWords = QStringLiteral("没有找到您要的单词库，请下载最新的版本！");
const QString kNoUnits = QStringLiteral("没有找到您要的单元，请下载最新的版本！");

class MainTest : public ::testing::Test
{
protected:
    bool start(int lastBook = 0, int lastUnit = 0)
    {
        CourseFixture course = CourseFixture::standard();
        course.lastBook = lastBook;
        course.lastUnit = lastUnit;
        world = std::make_unique<ViewWorld>(std::move(course));
        return world->build() && launch();
    }
    // A window over the world's program, as the program builds it at start-up.
    bool launch()
    {
        window = std::make_unique<FormMain>(world->program->context());
        window->runModal = [this](QDialog& dialog) {
            modals.push_back({&dialog, world->prompter.asked().size()});
            return onModal ? onModal(dialog) : 0;
        };
        return window->Form_Initialize();
    }
    WordStore& store() { return world->program->store; }
    QWidget* view(const char* name) const { return window->findChild<QWidget*>(QLatin1String(name)); }
    QString wordNum() const { return window->findChild<QLabel*>(QStringLiteral("lblWordNum"))->text(); }
    std::vector<QVariantList> stored() const
    {
        return world->course.rows(QStringLiteral("select LastBook, LastUnit from FeatureTable"));
    }
    // The learner picks the selected (first) unit in the book and unit dialog.
    static int chooseSelected(QDialog& dialog)
    {
        auto& bookUnit = dynamic_cast<FormBookUnit&>(dialog);
        bookUnit.Form_Load();
        bookUnit.cmdOK_Click();
        return bookUnit.result();
    }

    struct Modal
    {
        QDialog* dialog;
        size_t messagesBefore;
    };
    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<FormMain> window;
    std::vector<Modal> modals;
    std::function<int(QDialog&)> onModal;
};

TEST_F(MainTest, StartsOnTheStoredUnitAndShowsTheReaderOnceOnScreen)
{
    ASSERT_TRUE(start(0, 1));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("小学英语Lexora -- 三年级上册  Unit 2 Colours"));
    EXPECT_TRUE(modals.empty());
    EXPECT_TRUE(world->prompter.asked().empty());
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("lblMyWeb"))->text(), QLatin1String(kMakerSiteName));
    EXPECT_EQ(window->iDisplayCtrl, 0);
    EXPECT_FALSE(window->reader().isVisibleTo(window.get()));
    window->ShowFirstView();
    EXPECT_EQ(window->iDisplayCtrl, 1);
    EXPECT_TRUE(window->reader().isVisibleTo(window.get()));
    EXPECT_TRUE(window->reader().bReaderShown);
    EXPECT_EQ(wordNum(), QStringLiteral("1/3"));
}

TEST_F(MainTest, NoWordsForTheStoredUnitAsksForAnotherAfterTheMessage)
{
    onModal = chooseSelected;
    ASSERT_TRUE(start(0, 7));
    ASSERT_EQ(modals.size(), 1u);
    EXPECT_NE(dynamic_cast<FormBookUnit*>(modals[0].dialog), nullptr);
    EXPECT_EQ(modals[0].messagesBefore, 1u);
    EXPECT_EQ(world->prompter.asked()[0].text, kNoWords);
    // The stored unit is beyond the book: the dialog offered the first one.
    EXPECT_EQ(window->windowTitle(), QStringLiteral("小学英语Lexora -- 三年级上册  Unit 1 Hello"));
    EXPECT_EQ(window->iDisplayCtrl, 0);
    window->ShowFirstView();
    EXPECT_EQ(wordNum(), QStringLiteral("1/3"));
    EXPECT_EQ(stored()[0], (QVariantList{0, 0}));
}

TEST_F(MainTest, AStoredUnitBeyondTheBookGivesAnEmptyUnitNameWhenNothingIsChosen)
{
    ASSERT_TRUE(start(0, 7));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("小学英语Lexora -- 三年级上册  "));
    window->ShowFirstView();
    EXPECT_EQ(wordNum(), QStringLiteral("0/0"));
}

TEST_F(MainTest, AMissingBookGivesAnEmptyBookName)
{
    ASSERT_TRUE(start(5, 0));
    ASSERT_GE(world->prompter.asked().size(), 2u);
    EXPECT_EQ(world->prompter.asked()[0].text, kNoUnits);
    EXPECT_EQ(world->prompter.asked()[1].text, kNoWords);
    ASSERT_EQ(modals.size(), 1u);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("小学英语Lexora --   "));
    window->ShowFirstView();
    EXPECT_EQ(wordNum(), QStringLiteral("0/0"));
}

TEST_F(MainTest, AnUnusableCatalogueStopsTheStart)
{
    CourseFixture course = CourseFixture::standard();
    course.withSettingsRow = false;
    world = std::make_unique<ViewWorld>(std::move(course));
    ASSERT_TRUE(world->build());
    EXPECT_FALSE(launch());
    EXPECT_EQ(world->prompter.asked().size(), 1u);
    EXPECT_TRUE(modals.empty());
}

class ShowUserControlTable : public MainTest, public ::testing::WithParamInterface<int>
{};

TEST_P(ShowUserControlTable, ShowsAtMostTheOneViewOfItsIndex)
{
    ASSERT_TRUE(start());
    window->ShowFirstView();
    const int index = GetParam();
    window->ShowUserControl(static_cast<std::int16_t>(index));
    EXPECT_EQ(window->iDisplayCtrl, index);
    for (int v : {1, 2, 3, 4, 6, 8})
        EXPECT_EQ(window->viewWidget(v)->isVisibleTo(window.get()), v == index) << "view " << v;
}

INSTANTIATE_TEST_SUITE_P(Indices, ShowUserControlTable, ::testing::Values(-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9));

TEST_F(MainTest, TheViewsShareTheContainerAtItsOrigin)
{
    ASSERT_TRUE(start());
    const QRect frame = view("MainFrame")->geometry();
    for (int v : {1, 2, 3, 4, 6, 8}) {
        EXPECT_EQ(window->viewWidget(v)->parentWidget(), view("MainFrame"));
        EXPECT_EQ(window->viewWidget(v)->geometry(), QRect(0, 0, frame.width(), frame.height())) << v;
    }
}

TEST_F(MainTest, TheLetterGameSkipsPhrasesAndTheTestsResetEveryWord)
{
    ASSERT_TRUE(start());
    for (CWordType& w : store().arrWords)
        w.Tested = !w.Composition;
    window->ShowUserControl(3);
    for (const CWordType& w : store().arrWords)
        EXPECT_EQ(w.Tested, w.Composition != 0) << w.English.toStdString();
    window->ShowUserControl(4, 2);
    EXPECT_EQ(window->iTestMode, 2);
    for (const CWordType& w : store().arrWords)
        EXPECT_FALSE(w.Tested);
}

TEST_F(MainTest, ARunningActivityThatRefusesToEndKeepsItsView)
{
    ASSERT_TRUE(start());
    window->ShowFirstView();
    int asked = 0;
    window->EndGame = [&asked] {
        ++asked;
        return false;
    };
    window->ShowUserControl(3);
    modals.clear(); // the game's first quiz
    window->mnuTEST_Select_Click(1);
    window->mnuLEARN_Lexivo_Click();
    window->mnuFILE_BookUnit_Click();
    window->mnuLEARN_WordList_Click();
    EXPECT_EQ(asked, 4); // once per command
    EXPECT_EQ(window->iDisplayCtrl, 3);
    EXPECT_TRUE(view("WordPPK21")->isVisibleTo(window.get()));
    EXPECT_TRUE(modals.empty());

    window->EndGame = [] { return true; };
    window->mnuLEARN_Lexivo_Click();
    EXPECT_EQ(window->iDisplayCtrl, 1);

    window->EndTest = [] { return false; };
    window->ShowUserControl(4, 1);
    EXPECT_FALSE(window->EndOtherCtrl());
    window->ShowUserControl(6);
    EXPECT_TRUE(window->EndOtherCtrl());
}

TEST_F(MainTest, ClosingWithNoChangesNothing)
{
    ASSERT_TRUE(start());
    window->ShowFirstView();
    window->show();
    store().iCurrBook = 1;
    world->prompter.queueAnswer(Prompter::Answer::No);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    EXPECT_EQ(world->prompter.asked()[0].text, QStringLiteral("真的要退出吗?"));
    EXPECT_EQ(world->prompter.asked()[0].title, QStringLiteral("英语Lexora"));
    EXPECT_EQ(world->prompter.asked()[0].buttons, Prompter::Buttons::YesNo);
    EXPECT_EQ(stored()[0], (QVariantList{0, 0}));
    EXPECT_EQ(window->iDisplayCtrl, 1);
}

TEST_F(MainTest, ClosingWithYesStoresTheChoiceAndTheNextStartShowsIt)
{
    ASSERT_TRUE(start());
    window->ShowFirstView();
    window->show();
    onModal = [](QDialog& dialog) {
        auto& bookUnit = dynamic_cast<FormBookUnit&>(dialog);
        bookUnit.Form_Load();
        bookUnit.findChild<QListWidget*>(QStringLiteral("lstBook"))->setCurrentRow(1);
        bookUnit.findChild<QListWidget*>(QStringLiteral("lstUnit"))->setCurrentRow(1);
        bookUnit.cmdOK_Click();
        return bookUnit.result();
    };
    window->mnuFILE_BookUnit_Click();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("小学英语Lexora -- 三年级下册  Unit 2 Family"));
    world->course.exec(QStringLiteral("update FeatureTable set LastBook = 0, LastUnit = 0"));
    world->prompter.queueAnswer(Prompter::Answer::Yes);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(stored()[0], (QVariantList{1, 1}));

    window.reset();
    world->program = std::make_unique<Program>(
        world->course.programFolder(), Services{world->prompter, world->clock, world->clock, world->random,
                                                world->soundOut, world->capture, world->shell});
    ASSERT_TRUE(launch());
    window->ShowFirstView();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("小学英语Lexora -- 三年级下册  Unit 2 Family"));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("txtEnglish"))->text(), QStringLiteral("mother"));
}

TEST_F(MainTest, TheMenuBarHoldsEveryEntryWithTheSwitchedOffOnesGreyed)
{
    ASSERT_TRUE(start());
    const std::tuple<const char*, const char*, bool> entries[] = {
        {"mnuFILE_BookUnit", "选择词库", true},
        {"mnuExit", "退出", true},
        {"mnuLEARN_Lexivo", "Lexora", true},
        {"mnuLEARN_WordList", "单词列表", true},
        {"mnuGAME_PPK", "单词排排看", true},
        {"mnuGAME_FFK", "单词连连看", true},
        {"mnuTEST_SelectChinese", "看单词选中文", true},
        {"mnuTEST_SelectChineseByListen", "听单词选中文", true},
        {"mnuTEST_SelectEnglish", "看中文选单词", true},
        {"mnuTEST_Result", "单元完成情况", false},
        {"mnuTEST_History", "测试历史", false},
        {"mnuTEST_WordErrNum", "单词测试详情", false},
        {"mnuSET_Difficult", "游戏难度设置", false},
        {"mnuSET_UserDataOut", "导出用户数据", false},
        {"mnuSET_UserDataIn", "导入用户数据", false},
        {"mnuHELP_HowToUse", "如何使用？", true},
        {"mnuHELP_OnLine", "在线帮助", true},
    };
    for (const auto& [name, caption, enabled] : entries) {
        const auto* action = window->findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->text(), QString::fromUtf8(caption)) << name;
        EXPECT_EQ(action->isEnabled(), enabled) << name;
    }
    const std::tuple<const char*, const char*, bool> menus[] = {
        {"mnuFILE", "文件", true},     {"mnuLEARN", "单词初记", true}, {"mnuGAME", "单词游戏", true},
        {"mnuTEST", "单词测试", true}, {"mnuSET", "工具", false},      {"mnuHELP", "帮助", true},
    };
    for (const auto& [name, title, enabled] : menus) {
        const auto* menu = window->findChild<QMenu*>(QLatin1String(name));
        ASSERT_NE(menu, nullptr) << name;
        EXPECT_EQ(menu->title(), QString::fromUtf8(title));
        EXPECT_EQ(menu->isEnabled(), enabled) << name;
    }
}

TEST_F(MainTest, TheLayoutKeepsTheDrawnTwipsAtFifteenPerPixel)
{
    ASSERT_TRUE(start());
    EXPECT_EQ(view("centralwidget")->size(), QSize(Px(12495), Px(9390)));
    EXPECT_EQ(view("centralwidget")->size(), QSize(833, 626));
    EXPECT_EQ(view("MainFrame")->geometry(), TwipsRect(120, 1080, 12240, 8175));
    const std::tuple<int, int, const char*, const char*> buttons[] = {
        {3, 3480, "单元测试", "单词认知测试"}, {0, 4680, "选择词库", "选择单词"},
        {1, 6000, "Lexora", "Lexora"},         {2, 7320, "单词排排看", "单词排排看"},
        {6, 8640, "单词连连看", "单词连连看"}, {5, 11280, "帮助", "帮助文档"},
    };
    for (const auto& [index, left, name, tip] : buttons) {
        const auto* button = window->findChild<QToolButton*>(QStringLiteral("imgCommand_%1").arg(index));
        ASSERT_NE(button, nullptr) << index;
        EXPECT_EQ(button->geometry(), TwipsRect(left, 120, 1095, 855)) << index;
        EXPECT_EQ(button->accessibleName(), QString::fromUtf8(name));
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(tip));
        EXPECT_FALSE(button->icon().isNull());
    }
}

TEST_F(MainTest, PictureButtonsStopAutoplayAndRunTheirMenuCommand)
{
    ASSERT_TRUE(start());
    window->ShowFirstView();
    window->findChild<QCheckBox*>(QStringLiteral("chkAutoplay"))->click();
    ASSERT_TRUE(window->reader().TimerAutoplay().isEnabled());
    window->imgCommand_Click(0);
    EXPECT_FALSE(window->reader().TimerAutoplay().isEnabled());
    window->imgCommand_Click(5);
    ASSERT_EQ(modals.size(), 2u);
    EXPECT_NE(dynamic_cast<FormBookUnit*>(modals[0].dialog), nullptr);
    EXPECT_NE(dynamic_cast<FormHelp*>(modals[1].dialog), nullptr);
}

TEST_F(MainTest, HowToUseShowsTheGeneralHelp)
{
    ASSERT_TRUE(start());
    WriteFile(world->course.programFolder() + QStringLiteral("/AppPics/help.txt"), QByteArray("怎样使用"));
    QString shown;
    onModal = [&shown](QDialog& dialog) {
        shown = dynamic_cast<FormHelp&>(dialog).shownText();
        return 0;
    };
    window->mnuHELP_HowToUse_Click();
    EXPECT_EQ(shown, QStringLiteral("怎样使用"));
}

TEST_F(MainTest, TheLinksOpenTheMakersPages)
{
    ASSERT_TRUE(start());
    window->lblMyWeb_Click();
    window->mnuHELP_OnLine_Click();
    ASSERT_EQ(world->shell.opened.size(), 2u);
    EXPECT_EQ(world->shell.opened[0], QUrl(QLatin1String(kMakerHomePage)));
    EXPECT_EQ(world->shell.opened[1], QUrl(QLatin1String(kMakerOnlineHelp)));
    EXPECT_EQ(world->shell.opened[1].path(), QStringLiteral("/help.html"));
}

} // namespace
} // namespace lexora::test
