// The picture word list: grouping, the group buttons and line, slots, clicks and double clicks.
#include "ViewTestKit.h"
#include "views/Geometry.h"
#include "views/PicListPaging.h"
#include "views/WordPicList.h"

#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

struct GroupingCase
{
    int words;
    int groups;
    int lastSize;
    std::vector<int> sizes; // words in groups 1..groups
    GroupButtons onFirst;   // the buttons on the first group shown
};

class Grouping : public ::testing::TestWithParam<GroupingCase>
{};

TEST_P(Grouping, CutsTheListIntoGroupsOfEight)
{
    const GroupingCase& c = GetParam();
    const PicListPaging paging(c.words);
    EXPECT_EQ(paging.groupNum(), c.groups);
    EXPECT_EQ(paging.lastGroupSize(), c.lastSize);
    int covered = 0;
    for (int g = 1; g <= c.groups; ++g) {
        EXPECT_EQ(paging.countIn(g), c.sizes[static_cast<size_t>(g - 1)]) << "group " << g;
        EXPECT_EQ(paging.firstIndex(g), covered);
        covered += paging.countIn(g);
    }
    EXPECT_EQ(covered, c.words);
    EXPECT_EQ(paging.countIn(c.groups + 1), 0);
    EXPECT_EQ(paging.buttonsFor(paging.firstGroup()), c.onFirst);
    EXPECT_EQ(paging.groupLine(paging.firstGroup()),
              QStringLiteral("第%1组 / 共%2组").arg(c.words > 0 ? 1 : 0).arg(c.groups));
}

INSTANTIATE_TEST_SUITE_P(Counts, Grouping,
                         ::testing::Values(GroupingCase{17, 3, 1, {8, 8, 1}, {false, false, true, true}},
                                           GroupingCase{16, 2, 8, {8, 8}, {false, false, true, true}},
                                           GroupingCase{8, 1, 8, {8}, {}}, GroupingCase{1, 1, 1, {1}, {}},
                                           GroupingCase{0, 0, 0, {}, {}}));

QStringList Numbered(int n)
{
    QStringList words;
    for (int i = 0; i < n; ++i)
        words << QStringLiteral("w%1").arg(i, 2, 10, QLatin1Char('0'));
    return words;
}

// A double click as the window system delivers it: press, release, press, double click, release.
void DoubleClick(QWidget* widget)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    const QPointF global = widget->mapToGlobal(at);
    const std::pair<QEvent::Type, Qt::MouseButtons> steps[] = {{QEvent::MouseButtonPress, Qt::LeftButton},
                                                               {QEvent::MouseButtonRelease, Qt::NoButton},
                                                               {QEvent::MouseButtonPress, Qt::LeftButton},
                                                               {QEvent::MouseButtonDblClick, Qt::LeftButton},
                                                               {QEvent::MouseButtonRelease, Qt::NoButton}};
    for (const auto& [type, buttons] : steps) {
        QMouseEvent event(type, at, global, Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    }
}

class PicListTest : public ::testing::Test
{
protected:
    bool open(int n, bool pictures = true)
    {
        const QStringList words = Numbered(n);
        world = std::make_unique<ViewWorld>(ViewWorld::courseOf(words));
        if (!world->build())
            return false;
        for (int i = 0; i < n; ++i) {
            if (pictures && i % 2 == 0)
                world->addPicture(words[i]);
            world->addVoice(words[i], i + 1);
        }
        auto& store = world->program->store;
        store.MakeConnectString();
        if (!store.LoadSettings() || !store.LoadBookUnits(0) || !store.LoadUnitWords(0, 0))
            return false;
        view = std::make_unique<WordPicList>(world->program->context(), world->host);
        view->InitWordPicList();
        return true;
    }
    QLabel* label(const QString& name) const { return view->findChild<QLabel*>(name); }
    QPushButton* button(const char* name) const { return view->findChild<QPushButton*>(QLatin1String(name)); }
    int visibleSlots() const
    {
        int n = 0;
        for (int k = 0; k < kPicListGroupSize; ++k)
            n += label(QStringLiteral("lblWord_%1").arg(k))->isVisibleTo(view.get()) ? 1 : 0;
        return n;
    }
    std::vector<bool> buttons() const
    {
        return {button("cmdFirstGroup")->isEnabled(), button("cmdPrevGroup")->isEnabled(),
                button("cmdNextGroup")->isEnabled(), button("cmdLastGroup")->isEnabled()};
    }

    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<WordPicList> view;
};

TEST_F(PicListTest, PagesThroughSeventeenWordsWithTheButtons)
{
    ASSERT_TRUE(open(17));
    EXPECT_EQ(label(QStringLiteral("lblSectionNum"))->text(), QStringLiteral("第1组 / 共3组"));
    EXPECT_EQ(buttons(), (std::vector<bool>{false, false, true, true}));
    EXPECT_EQ(visibleSlots(), 8);
    button("cmdLastGroup")->click();
    EXPECT_EQ(view->iGroup(), 3);
    EXPECT_EQ(visibleSlots(), 1);
    EXPECT_EQ(label(QStringLiteral("lblWord_0"))->text(), QStringLiteral("w16"));
    EXPECT_EQ(buttons(), (std::vector<bool>{true, true, false, false}));
    button("cmdPrevGroup")->click();
    EXPECT_EQ(view->iFirstIndex(), 8);
    EXPECT_EQ(label(QStringLiteral("lblSectionNum"))->text(), QStringLiteral("第2组 / 共3组"));
    button("cmdFirstGroup")->click();
    button("cmdNextGroup")->click();
    EXPECT_EQ(view->iGroup(), 2);
    EXPECT_EQ(visibleSlots(), 8);
}

TEST_F(PicListTest, AWordWithoutPictureShowsItsMeaningAndNoPlainPictureStays)
{
    ASSERT_TRUE(open(4));
    // Even words have pictures, odd ones not.
    for (int k = 0; k < 4; ++k) {
        QLabel* picture = label(QStringLiteral("imgWord_%1").arg(k));
        QLabel* chinese = label(QStringLiteral("lblCh_%1").arg(k));
        EXPECT_TRUE(picture->isVisibleTo(view.get()));
        EXPECT_EQ(!picture->pixmap().isNull(), k % 2 == 0) << k;
        EXPECT_EQ(chinese->isVisibleTo(view.get()), k % 2 == 1) << k;
        if (k % 2 == 1) {
            EXPECT_EQ(chinese->text(), QStringLiteral("中w%1").arg(k, 2, 10, QLatin1Char('0')));
        }
    }
    EXPECT_TRUE(QDir(world->pics()).entryList({QStringLiteral("*.jpg")}, QDir::Files).isEmpty());
    EXPECT_EQ(QDir(world->pics()).entryList({QStringLiteral("*.pet")}, QDir::Files).size(), 2);
}

TEST_F(PicListTest, AnEmptyListShowsNoSlotAndNoGroupToMoveTo)
{
    ASSERT_TRUE(open(5));
    // A load that found nothing leaves old records with a count of 0: the records are not read.
    world->program->store.iWordNum = 0;
    view->InitWordPicList();
    EXPECT_EQ(visibleSlots(), 0);
    for (int k = 0; k < kPicListGroupSize; ++k)
        EXPECT_FALSE(label(QStringLiteral("imgWord_%1").arg(k))->isVisibleTo(view.get()));
    EXPECT_EQ(buttons(), (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(label(QStringLiteral("lblSectionNum"))->text(), QStringLiteral("第0组 / 共0组"));
    view->imgWord_Click(0);
    view->imgWord_DblClick(0);
    EXPECT_TRUE(world->soundOut.played.empty());
    EXPECT_TRUE(world->host.shown.empty());
}

TEST_F(PicListTest, ClicksPlayAndADoubleClickOpensTheReaderOnTheWord)
{
    ASSERT_TRUE(open(17));
    button("cmdNextGroup")->click();
    QLabel* third = label(QStringLiteral("imgWord_2"));
    QTest::mouseClick(third, Qt::LeftButton);
    ASSERT_EQ(world->soundOut.played.size(), 1u);
    EXPECT_EQ(world->soundOut.played[0], world->voiceOf(11));
    DoubleClick(third);
    EXPECT_EQ(world->program->store.iCurrWord, 10);
    ASSERT_FALSE(world->host.shown.empty());
    EXPECT_EQ(world->host.shown.back(), (std::pair<int, int>{1, 0}));
    // The release that ends the double click plays nothing more.
    EXPECT_EQ(world->soundOut.played.size(), 2u);

    // A double click on the English word is two clicks and stays here.
    world->host.shown.clear();
    DoubleClick(label(QStringLiteral("lblWord_3")));
    EXPECT_TRUE(world->host.shown.empty());

    world->program->store.iCurrWord = 5;
    button("cmdReturn")->click();
    EXPECT_EQ(world->host.shown.back(), (std::pair<int, int>{1, 0}));
    EXPECT_EQ(world->program->store.iCurrWord, 5);
}

TEST_F(PicListTest, SlotsKeepTheDrawnLayout)
{
    ASSERT_TRUE(open(8));
    EXPECT_EQ(view->findChild<QWidget*>(QStringLiteral("Picture1"))->geometry(),
              TwipsRect(120, 120, 11775, 7095));
    EXPECT_EQ(label(QStringLiteral("imgWord_0"))->geometry(), TwipsRect(240, 120, 2500, 1750));
    EXPECT_EQ(label(QStringLiteral("imgWord_7"))->geometry(), TwipsRect(8880, 3000, 2505, 1755));
    EXPECT_EQ(label(QStringLiteral("lblCh_4"))->geometry(), TwipsRect(480, 3360, 2175, 1335));
    EXPECT_EQ(label(QStringLiteral("lblWord_5"))->geometry(), TwipsRect(3120, 4920, 2475, 615));
    EXPECT_EQ(button("cmdReturn")->geometry(), TwipsRect(9960, 7440, 1815, 495));
    EXPECT_EQ(button("cmdPrevGroup")->text(), QStringLiteral("<<  上一组"));
    EXPECT_EQ(button("cmdNextGroup")->text(), QStringLiteral("下一组  >>"));
    EXPECT_DOUBLE_EQ(label(QStringLiteral("lblCh_0"))->font().pointSizeF(), 14.25);
}

} // namespace
} // namespace lexora::test
