// The window on any screen: the page scaled to the window, hit areas at other scales, the keyboard
// routes of each view and the names a screen reader hears.
#include "ViewTestKit.h"
#include "app/FocusRing.h"
#include "app/FormMain.h"
#include "app/ScaledFrame.h"
#include "games/WordFFK.h"
#include "games/WordPPK2.h"
#include "media/PageScale.h"
#include "media/PictureBox.h"
#include "media/QtPrompter.h"
#include "quiz/WordRRK.h"
#include "store/WordStore.h"
#include "ui/Geometry.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace lexora::test {
namespace {

const QSize kDesign(833, 626);

class ScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        world = std::make_unique<ViewWorld>(CourseFixture::standard());
        ASSERT_TRUE(world->build());
        open();
    }
    void open()
    {
        window = std::make_unique<FormMain>(world->program->context());
        window->runModal = [this](QDialog& dialog) {
            modals.push_back(dialog.objectName());
            return 0;
        };
        ASSERT_TRUE(window->Form_Initialize());
        window->ShowFirstView();
    }
    // The window shown with its page drawn at the given scale, and active for the keyboard.
    void showAt(double scale)
    {
        window->show();
        // The menu bar grows with the page and takes from its height: measured again until it stays.
        for (int tries = 0; tries < 4 && std::abs(window->frame().fit().scale - scale) > 1e-3; ++tries) {
            const QSize chrome = window->size() - window->frame().size();
            window->resize(QSize(qCeil(kDesign.width() * scale), qCeil(kDesign.height() * scale)) + chrome);
            QApplication::processEvents();
        }
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QApplication::processEvents();
        ASSERT_NEAR(window->frame().fit().scale, scale, 1e-3);
    }
    // Where a point of a widget, in design pixels, is in the window.
    QPoint onScreen(const QWidget* widget, QPointF local) const
    {
        return widget->mapTo(window.get(), (local * window->frame().fit().scale).toPoint());
    }
    // The pointer as the window system gives it: to the control drawn under it.
    void click(QPoint at)
    {
        QWidget* under = window->childAt(at);
        ASSERT_NE(under, nullptr);
        QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(window.get(), at));
    }
    void moveTo(QPoint at)
    {
        QWidget* under = window->childAt(at);
        ASSERT_NE(under, nullptr);
        QTest::mouseMove(under, under->mapFrom(window.get(), at));
    }
    // A key as the keyboard gives it: to whatever has the focus.
    void press(int key)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keyClick(target, static_cast<Qt::Key>(key), Qt::NoModifier);
        QApplication::processEvents();
    }
    void type(const QString& text)
    {
        for (const QChar c : text)
            QTest::keyClicks(QApplication::focusWidget(), QString(c));
        QApplication::processEvents();
    }
    // The control with the keyboard focus inside the page (the window's own focus is on the frame).
    std::string focusName() const
    {
        QWidget* focus = window->frame().page()->focusWidget();
        return focus ? focus->objectName().toStdString() : std::string();
    }
    template <class T> T* child(const QString& name) const { return window->findChild<T*>(name); }
    static QString accessibleName(QWidget* widget)
    {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    }

    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<FormMain> window;
    std::vector<QString> modals;
};

class ScaledHits : public ScreenTest, public ::testing::WithParamInterface<double>
{};

TEST_P(ScaledHits, ATileIsTakenWhereItIsDrawnAndPutDownWhereThePointerLeavesIt)
{
    showAt(GetParam());
    window->ShowUserControl(ViewId::LetterGame);
    QApplication::processEvents();
    WordPPK2& game = window->letterGame();
    ASSERT_GE(game.board().count(), 2);
    QWidget* board = &game;
    for (int i = 1; i <= std::min(game.board().count(), 6); ++i) {
        game.RefreshWord2();
        game.picChar(i)->raise();
        const Tile t = game.board().tile(i);
        const QPointF grab(kTileWidth / 2.0, kTileHeight / 2.0);
        const QPoint centre = onScreen(board, QPointF(t.left + grab.x(), t.top + grab.y()) / kTwipsPerPixel);
        click(centre);
        EXPECT_EQ(std::pair(game.board().dragging(), game.board().dragChar()), std::pair(true, i)) << i;
        // Down the left column, where no tile is ever scattered.
        const QPointF target(kTileWidth / 2.0, 1600 + 1100 * i);
        const QPoint there = onScreen(board, target / kTwipsPerPixel);
        moveTo(there);
        click(there);
        EXPECT_FALSE(game.board().dragging()) << i;
        // One screen pixel is at most a pixel of the page.
        EXPECT_NEAR(game.board().tile(i).left, target.x() - grab.x(), kTwipsPerPixel) << i;
        EXPECT_NEAR(game.board().tile(i).top, target.y() - grab.y(), kTwipsPerPixel) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledHits, ::testing::Values(1.5, 2.0));

class ScaledTree : public ScreenTest, public ::testing::WithParamInterface<double>
{
protected:
    // Where the design puts a control, at the page's scale, on the screen.
    QRect designedOnScreen(const QWidget* control) const
    {
        const QWidget* page = window->frame().page();
        const double scale = window->frame().fit().scale;
        QPoint designed;
        for (const QWidget* w = control; w != page; w = w->parentWidget())
            designed += PageScale::geometry(*w).topLeft();
        const QWidget* parent = control->parentWidget();
        // A layout sizes what it holds; the rest is sized by its design.
        const bool laidOut = parent->layout() && parent->layout()->indexOf(control) >= 0;
        const QSize size = laidOut ? control->size() : PageScale::geometry(*control).size() * scale;
        return QRect(page->mapToGlobal(QPoint(0, 0)) + designed * scale, size);
    }
};

TEST_P(ScaledTree, EveryControlOfEachViewHangsUnderTheWindowWhereItIsDrawn)
{
    showAt(GetParam());
    QAccessibleInterface* top = QAccessible::queryAccessibleInterface(window.get());
    for (const ViewId view : {ViewId::Reader, ViewId::RecognitionTest, ViewId::MatchingGame,
                              ViewId::LetterGame, ViewId::PictureList, ViewId::WordList}) {
        window->ShowUserControl(view, TestMode::ChooseChinese);
        QApplication::processEvents();
        size_t checked = 0;
        for (QWidget* control : window->frame().page()->findChildren<QWidget*>()) {
            if (!control->isVisible() || control->isWindow())
                continue;
            // A list's inner parts are told as its rows and cells, not as widgets.
            if (qobject_cast<QAbstractItemView*>(control->parentWidget()))
                continue;
            const std::string name = control->objectName().toStdString();
            QAccessibleInterface* node = QAccessible::queryAccessibleInterface(control);
            ASSERT_NE(node, nullptr) << name;
            const QRect expected = designedOnScreen(control);
            const QRect reported = node->rect();
            EXPECT_NEAR(reported.left(), expected.left(), 2) << name;
            // A check box is reported as its box and caption, centred in its place.
            const bool ticked = qobject_cast<QCheckBox*>(control) || qobject_cast<QRadioButton*>(control);
            EXPECT_TRUE(expected.adjusted(-2, -2, 2, 2).contains(reported)) << name;
            if (!ticked) {
                EXPECT_NEAR(reported.top(), expected.top(), 2) << name;
                EXPECT_NEAR(reported.right(), expected.right(), 2) << name;
                EXPECT_NEAR(reported.bottom(), expected.bottom(), 2) << name;
            }
            // Up the tree to the window, each step one of its parent's children.
            int steps = 0;
            while (node != top && steps++ < 32) {
                QAccessibleInterface* parent = node->parent();
                ASSERT_NE(parent, nullptr) << name;
                EXPECT_GE(parent->indexOfChild(node), 0)
                    << name << " under " << parent->text(QAccessible::Name).toStdString();
                node = parent;
            }
            EXPECT_EQ(node, top) << name;
            ++checked;
        }
        EXPECT_GT(checked, 5u) << static_cast<int>(view);
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledTree, ::testing::Values(1.0, 1.5, 2.0));

TEST_F(ScreenTest, MenusTickMarksListColumnsAndPicturesGrowWithThePage)
{
    const auto metric = [this](const char* name, QStyle::PixelMetric m) {
        auto* w = child<QWidget>(QString::fromLatin1(name));
        return w->style()->pixelMetric(m, nullptr, w);
    };
    const auto picture = [this](const char* name) {
        return child<QLabel>(QString::fromLatin1(name))->pixmap().deviceIndependentSize().width();
    };
    const auto measure = [&] {
        window->ShowUserControl(ViewId::WordList);
        QApplication::processEvents();
        auto* list = child<QTreeWidget>(QStringLiteral("ListView1"));
        std::map<std::string, double> sizes{
            {"menu font", window->menuBar()->font().pointSizeF()},
            {"menu entry font", child<QMenu>(QStringLiteral("mnuTEST"))->font().pointSizeF()},
            {"menu bar", window->menuBar()->height()},
            {"choice circle", metric("optAns_0", QStyle::PM_ExclusiveIndicatorWidth)},
            {"check box", metric("chkEnglish", QStyle::PM_IndicatorHeight)},
            {"column", list->columnWidth(0)},
            {"header", list->header()->height()},
            {"row", list->visualItemRect(list->topLevelItem(0)).height()}};
        window->ShowUserControl(ViewId::Reader);
        QApplication::processEvents();
        sizes["thumbnail"] = picture("ArrImages_0");
        sizes["arrow"] = picture("picNextWord");
        return sizes;
    };
    // Filled and drawn at one scale, seen at another.
    world->addPicture(world->program->store.words().records()[0].English);
    open();
    window->recognitionTest();
    showAt(1.0);
    window->mnuTEST_WordErrNum_Click();
    const auto designed = measure();
    showAt(2.0);
    for (const auto& [part, large] : measure())
        EXPECT_NEAR(large / designed.at(part), 2.0, 0.15) << part;
}

TEST(DrawnPicture, FollowsItsLabelEvenWhenItsPixelsStayTheSame)
{
    const WithApplication app;
    // Larger than the label at both sizes: its own pixels are shown each time, under one key.
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QLabel label;
    label.resize(100, 75);
    PageScale::showDrawn(label, [picture](const QLabel& shown) { return FitPixmap(picture, shown.size()); });
    label.show();
    ASSERT_EQ(label.pixmap().deviceIndependentSize().width(), 100);
    label.resize(200, 150);
    QApplication::processEvents();
    EXPECT_EQ(label.pixmap().deviceIndependentSize().width(), 200);
}

TEST_F(ScreenTest, AMessageBoxGrowsWithThePageAndKeepsItsLineWhole)
{
    // The wrong-answer box as it opens over the window; Qt would wrap it past half a screen.
    const QString answer = QStringLiteral("正确答案是： pencil case : 铅笔盒");
    int lines = 0;
    const auto shownAt = [&](double scale) {
        showAt(scale);
        QSize shown;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            shown = box->size();
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            lines = label->height() / label->fontMetrics().lineSpacing();
            box->close();
        });
        QtPrompter().message(answer, QStringLiteral("错啦！"), Prompter::Buttons::Ok, Prompter::Icon::None);
        return shown;
    };
    const QSize designed = shownAt(1.0);
    const QSize large = shownAt(2.0);
    EXPECT_GE(large.width(), 2 * designed.width());
    EXPECT_GE(large.height(), 2 * designed.height());
    EXPECT_EQ(lines, 1);
}

TEST_F(ScreenTest, ACloseRequestAsksAtOnceWhateverHasTheFocus)
{
    showAt(1.0);
    window->ShowUserControl(ViewId::MatchingGame);
    QApplication::processEvents();
    // As the window system asks, without a key or a click before it.
    world->prompter.queueAnswer(Prompter::Answer::No);
    QCloseEvent request;
    QApplication::sendEvent(window->windowHandle(), &request);
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    EXPECT_EQ(world->prompter.asked()[0].text, QStringLiteral("真的要退出吗?"));
    EXPECT_FALSE(request.isAccepted());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(ScreenTest, AWholeMatchingGameIsPlayedWithArrowsAndSpaceIncludingASlantedStep)
{
    showAt(1.0);
    window->mnuGAME_FFK_Click();
    const WordFFK& game = window->matchingGame();
    const int n = game.iGameWordNum();
    ASSERT_EQ(n, 3); // six cards: 0 1 2 3 / 4 5
    const auto focused = [this] {
        const std::string name = focusName();
        return name.rfind("PicWord_", 0) == 0 ? std::stoi(name.substr(8)) : -1;
    };
    bool slanted = false;
    // Arrows towards a card, the column first, until the focus is on it.
    const auto walkTo = [&](int card) {
        for (int step = 0; step < 8 && focused() != card; ++step) {
            const int from = std::max(focused(), 0);
            const int dCol = card % 4 - from % 4, dRow = card / 4 - from / 4;
            press(dCol > 0 ? Qt::Key_Right : dCol < 0 ? Qt::Key_Left : dRow > 0 ? Qt::Key_Down : Qt::Key_Up);
            slanted = slanted || (from % 4 != focused() % 4 && from / 4 != focused() / 4);
        }
        ASSERT_EQ(focused(), card);
    };
    for (int k = 0; k < n; ++k) {
        const int second = n + k;
        const int first = game.board().tag(second);
        walkTo(first);
        press(Qt::Key_Space);
        EXPECT_EQ(game.board().selected(), first);
        walkTo(second);
        press(Qt::Key_Return);
        if (k + 1 == n)
            break;
        EXPECT_FALSE(game.board().showing(second));
        // The focus is on a card still showing, where a ring can be seen.
        ASSERT_GE(focused(), 0);
        EXPECT_TRUE(game.board().showing(focused())) << focused();
        const FocusRing* ring = window->findChild<FocusRing*>();
        EXPECT_TRUE(ring->isVisible());
        EXPECT_TRUE(ring->geometry().contains(
            QRect(QApplication::focusWidget()->mapTo(ring->parentWidget(), QPoint()),
                  QApplication::focusWidget()->size())));
    }
    EXPECT_TRUE(slanted);
    ASSERT_FALSE(world->prompter.asked().empty());
    EXPECT_EQ(world->prompter.asked().back().text, QStringLiteral("恭喜你过关啦，你好棒喔！！"));
}

TEST_F(ScreenTest, AWholeTestWithAMistakeByKeysEndsInTheWordListAndEscGoesBackToTheReader)
{
    showAt(1.0);
    window->mnuTEST_Select_Click(TestMode::ChooseChinese);
    WordRRK& test = window->recognitionTest();
    const auto right = [&] {
        const auto& c = test.arrChoice();
        return static_cast<int>(std::find(c.begin(), c.end(), test.iTestWord()) - c.begin());
    };
    // Esc asks before it ends a test; declined, the test goes on.
    world->prompter.queueAnswer(Prompter::Answer::Cancel);
    press(Qt::Key_Escape);
    EXPECT_EQ(world->prompter.asked().back().text, QStringLiteral("还没有完成测试，你确定要结束单元测试吗?"));
    EXPECT_EQ(window->iDisplayCtrl, ViewId::RecognitionTest);
    press(Qt::Key_1 + (right() + 1) % 4);
    press(Qt::Key_Return);
    EXPECT_EQ(world->prompter.asked().back().title, QStringLiteral("错啦！"));
    for (int asked = 0; window->iDisplayCtrl == ViewId::RecognitionTest && asked < 10; ++asked) {
        press(Qt::Key_1 + right());
        press(Qt::Key_Enter);
    }
    ASSERT_EQ(window->iDisplayCtrl, ViewId::WordList);
    EXPECT_EQ(focusName(), "ListView1");
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), "cmdToLexivo");
    press(Qt::Key_Escape);
    EXPECT_EQ(window->iDisplayCtrl, ViewId::Reader);
}

TEST_F(ScreenTest, SpaceTicksTheReadersFocusedCheckBox)
{
    showAt(1.0);
    auto* english = child<QCheckBox>(QStringLiteral("chkEnglish"));
    ASSERT_TRUE(english->isChecked());
    english->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    EXPECT_FALSE(english->isChecked());
    EXPECT_FALSE(child<QLabel>(QStringLiteral("txtEnglish"))->isVisible());
}

TEST_F(ScreenTest, TypedLettersBuildTheRowAndBackspaceSendsTheLastBack)
{
    showAt(1.0);
    window->mnuGAME_PPK_Click();
    WordPPK2& game = window->letterGame();
    const QString word = game.strGameWord;
    ASSERT_GE(word.size(), 2);
    const CWordType& record = world->program->store.words().records()[static_cast<size_t>(game.iGameWord)];
    const int right = record.rightNum;
    const Tile before = game.board().tile(1);
    type(word.left(1));
    EXPECT_EQ(game.board().tile(1).top, TypedRow::RowTop(game.board()));
    press(Qt::Key_Backspace);
    EXPECT_EQ(std::pair(game.board().tile(1).left, game.board().tile(1).top),
              std::pair(before.left, before.top));
    type(word);
    // Arranged without help: the word counts as mastered.
    EXPECT_EQ(record.rightNum, right + 1) << word.toStdString();
}

TEST_F(ScreenTest, CardsTilesAndChoicesHaveNamesThatTellThemApart)
{
    window->ShowUserControl(ViewId::MatchingGame);
    std::set<QString> cards;
    for (int k = 0; k < 2 * window->matchingGame().iGameWordNum(); ++k)
        cards.insert(accessibleName(child<QWidget>(QStringLiteral("PicWord_%1").arg(k))));
    EXPECT_EQ(cards.size(), static_cast<size_t>(2 * window->matchingGame().iGameWordNum()));

    window->ShowUserControl(ViewId::RecognitionTest, TestMode::ChooseChinese);
    std::set<QString> choices;
    size_t shown = 0;
    for (int k = 0; k < 4; ++k) {
        if (child<QWidget>(QStringLiteral("optAns_%1").arg(k))->isHidden())
            continue;
        const QString name = accessibleName(child<QWidget>(QStringLiteral("optAns_%1").arg(k)));
        EXPECT_TRUE(name.startsWith(QString::number(k + 1) + QStringLiteral(". "))) << name.toStdString();
        choices.insert(name);
        ++shown;
    }
    EXPECT_EQ(choices.size(), shown);
    EXPECT_GE(shown, 3u);

    // Thumbnails by their word, as the strip shows them from the first word on.
    window->ShowUserControl(ViewId::Reader);
    const auto& words = world->program->store.words().records();
    for (int k = 0; k < 2; ++k)
        EXPECT_EQ(accessibleName(child<QWidget>(QStringLiteral("ArrImages_%1").arg(k))),
                  words[static_cast<size_t>(k)].English);
}

} // namespace
} // namespace lexora::test
