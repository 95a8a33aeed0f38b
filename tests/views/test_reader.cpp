// The word reader on a course of real files: stepping, paging, fitting, autoplay, keys, spelling.
#include "ReaderTest.h"
#include "media/PictureBox.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

namespace lexora::test {

QStringList Words(int n)
{
    QStringList words;
    for (int i = 0; i < n; ++i)
        words << QStringLiteral("word%1").arg(i, 2, 10, QLatin1Char('0'));
    return words;
}

namespace {

struct NavState
{
    bool first, prev, next, last;
};

TEST_F(ReaderTest, ButtonsStepThroughTheListAndFollowTheEnableTable)
{
    ASSERT_TRUE(open(Words(3)));
    const auto nav = [this] {
        return NavState{
            child<QPushButton>("cmdFirstWord")->isEnabled(), child<QPushButton>("cmdPrevWord")->isEnabled(),
            child<QPushButton>("cmdNextWord")->isEnabled(), child<QPushButton>("cmdLastWord")->isEnabled()};
    };
    EXPECT_EQ(wordNum(), QStringLiteral("1/3"));
    EXPECT_EQ(text("txtEnglish"), QStringLiteral("word00"));
    EXPECT_EQ(text("LabelChinese"), QStringLiteral("中word00"));
    NavState s = nav();
    EXPECT_TRUE(!s.first && !s.prev && s.next && s.last);

    click("cmdNextWord");
    s = nav();
    EXPECT_EQ(wordNum(), QStringLiteral("2/3"));
    EXPECT_TRUE(s.first && s.prev && s.next && s.last);

    click("cmdLastWord");
    s = nav();
    EXPECT_EQ(wordNum(), QStringLiteral("3/3"));
    EXPECT_TRUE(s.first && s.prev && !s.next && !s.last);

    click("cmdPrevWord");
    EXPECT_EQ(wordNum(), QStringLiteral("2/3"));
    click("cmdFirstWord");
    EXPECT_EQ(wordNum(), QStringLiteral("1/3"));
}

TEST_F(ReaderTest, NextOnTheLastWordWrapsToTheFirst)
{
    ASSERT_TRUE(open(Words(4)));
    reader->ChangeWord(3);
    reader->cmdNextWord_Click();
    EXPECT_EQ(store().iCurrWord, 0);
    EXPECT_EQ(wordNum(), QStringLiteral("1/4"));
}

TEST_F(ReaderTest, LeftAndUpOnTheFirstWordAreIgnored)
{
    ASSERT_TRUE(open(Words(3)));
    const size_t before = plays();
    QTest::keyClick(reader.get(), Qt::Key_Left);
    QTest::keyClick(reader.get(), Qt::Key_Up);
    EXPECT_EQ(store().iCurrWord, 0);
    EXPECT_EQ(wordNum(), QStringLiteral("1/3"));
    EXPECT_EQ(plays(), before);
    QTest::keyClick(reader.get(), Qt::Key_Down);
    QTest::keyClick(reader.get(), Qt::Key_Up);
    EXPECT_EQ(store().iCurrWord, 0);
    QTest::keyClick(reader.get(), Qt::Key_Right);
    EXPECT_EQ(store().iCurrWord, 1);
}

TEST_F(ReaderTest, EnterAndSpaceActAsNextAlsoOnThePicture)
{
    ASSERT_TRUE(open(Words(5)));
    QTest::keyClick(reader.get(), Qt::Key_Return);
    EXPECT_EQ(store().iCurrWord, 1);
    QTest::keyClick(reader.get(), Qt::Key_Space);
    EXPECT_EQ(store().iCurrWord, 2);
    QTest::keyClick(child<QWidget>("Picture1"), Qt::Key_Enter);
    EXPECT_EQ(store().iCurrWord, 3);
    QTest::keyClick(child<QWidget>("Picture1"), Qt::Key_Left);
    EXPECT_EQ(store().iCurrWord, 2);
}

TEST_F(ReaderTest, ChangingWordPlaysItsVoiceOnlyWithReadingOnChange)
{
    ASSERT_TRUE(open(Words(3)));
    world->soundOut.played.clear();
    reader->cmdNextWord_Click();
    ASSERT_EQ(plays(), 1u);
    EXPECT_EQ(world->soundOut.played.back(), world->voiceOf(2));
    child<QCheckBox>("chkAutoRead")->setChecked(false);
    reader->cmdNextWord_Click();
    EXPECT_EQ(plays(), 1u);
}

TEST_F(ReaderTest, TwentyWordsAtWordSeventeenShowTheLastPageOfFour)
{
    ASSERT_TRUE(open(Words(20)));
    reader->ChangeWord(17);
    EXPECT_EQ(reader->iArrStart(), 16);
    EXPECT_EQ(reader->iArrCount(), 4);
    for (int i = 0; i < 8; ++i) {
        const auto* image = child<QLabel>(QStringLiteral("ArrImages_%1").arg(i).toLatin1().constData());
        const auto* chinese = child<QLabel>(QStringLiteral("arrChs_%1").arg(i).toLatin1().constData());
        EXPECT_EQ(image->isVisibleTo(reader.get()), i < 4) << i;
        EXPECT_FALSE(chinese->isVisibleTo(reader.get())) << i;
        EXPECT_EQ(image->frameShape(), i == 1 ? QFrame::Box : QFrame::NoFrame) << i;
        if (i < 4) {
            EXPECT_FALSE(image->pixmap().isNull()) << i;
        }
    }
}

TEST_F(ReaderTest, ThumbnailClicksChangeWordButNotOnTheCurrentOne)
{
    ASSERT_TRUE(open(Words(20)));
    reader->ChangeWord(17);
    const size_t before = plays();
    reader->ArrImages_Click(1);
    EXPECT_EQ(store().iCurrWord, 17);
    EXPECT_EQ(plays(), before);
    reader->ArrImages_Click(3);
    EXPECT_EQ(store().iCurrWord, 19);
    reader->ArrImages_Click(6); // no thumbnail there on this page
    EXPECT_EQ(store().iCurrWord, 19);
}

TEST_F(ReaderTest, PageButtonsMoveByPagesAndSayWhenThereIsNoMore)
{
    ASSERT_TRUE(open(Words(20)));
    reader->picNextWord_Click();
    EXPECT_EQ(store().iCurrWord, 8);
    reader->picNextWord_Click();
    EXPECT_EQ(store().iCurrWord, 16);
    EXPECT_TRUE(world->prompter.asked().empty());
    reader->picNextWord_Click();
    EXPECT_EQ(store().iCurrWord, 16);
    reader->picPrevWord_Click();
    EXPECT_EQ(store().iCurrWord, 15);
    EXPECT_EQ(reader->iArrStart(), 8);
    reader->ChangeWord(2);
    reader->picPrevWord_Click();
    ASSERT_EQ(world->prompter.asked().size(), 2u);
    for (const auto& asked : world->prompter.asked()) {
        EXPECT_EQ(asked.text, QStringLiteral("没有了！"));
        EXPECT_EQ(asked.title, QStringLiteral("选择单词"));
        EXPECT_EQ(asked.icon, Prompter::Icon::Information);
    }
    EXPECT_EQ(store().iCurrWord, 2);
}

TEST_F(ReaderTest, ALongWordIsShownSmallerAndNoWiderThanThePicture)
{
    const QString longWord = QStringLiteral("abcdefghijklmnopqrstuvwxyzabcd");
    ASSERT_TRUE(open({QStringLiteral("cat"), longWord}));
    const int pictureWidth = child<QWidget>("Picture1")->width();
    EXPECT_EQ(child<QLabel>("txtEnglish")->font().pointSize(), 36);
    reader->cmdNextWord_Click();
    const QLabel* english = child<QLabel>("txtEnglish");
    EXPECT_LT(english->font().pointSize(), 36);
    EXPECT_LE(QFontMetrics(english->font()).horizontalAdvance(longWord), pictureWidth);
    EXPECT_LE(english->width(), pictureWidth);
    EXPECT_EQ(english->x(), child<QWidget>("Picture1")->x());
    EXPECT_EQ(english->text(), longWord);
}

TEST_F(ReaderTest, AutoplayStepsAtOnceThenEveryThreeSecondsUntilANavigationButton)
{
    ASSERT_TRUE(open(Words(6)));
    auto* autoplay = child<QCheckBox>("chkAutoplay");
    autoplay->click();
    EXPECT_EQ(store().iCurrWord, 1);
    world->clock.advance(2999);
    reader->TimerAutoplay().poll();
    EXPECT_EQ(store().iCurrWord, 1);
    world->clock.advance(1);
    reader->TimerAutoplay().poll();
    EXPECT_EQ(store().iCurrWord, 2);
    world->clock.advance(3000);
    reader->TimerAutoplay().poll();
    EXPECT_EQ(store().iCurrWord, 3);

    click("cmdNextWord");
    EXPECT_EQ(store().iCurrWord, 4);
    EXPECT_FALSE(autoplay->isChecked());
    EXPECT_FALSE(reader->TimerAutoplay().isEnabled());
    world->clock.advance(9000);
    reader->TimerAutoplay().poll();
    EXPECT_EQ(store().iCurrWord, 4);
}

TEST_F(ReaderTest, PageButtonsDoNotStopAutoplayButTheListButtonDoes)
{
    ASSERT_TRUE(open(Words(12)));
    child<QCheckBox>("chkAutoplay")->click();
    reader->picNextWord_Click();
    EXPECT_TRUE(reader->TimerAutoplay().isEnabled());
    click("cmdToWordList");
    EXPECT_FALSE(reader->TimerAutoplay().isEnabled());
    ASSERT_EQ(world->host.shown.size(), 1u);
    EXPECT_EQ(world->host.shown[0].first, 8);
}

TEST_F(ReaderTest, SpellingPlaysEachLetterInOrderAndABlankPlaysNothing)
{
    ASSERT_TRUE(open({QStringLiteral("ice cream")}));
    world->addLetterSounds(QStringLiteral("icream"));
    world->soundOut.played.clear();
    reader->txtEnglish_Click();
    std::vector<QByteArray> expected;
    for (const QChar c : QStringLiteral("icecream"))
        expected.push_back(world->voiceOf(c.unicode()));
    EXPECT_EQ(world->soundOut.played, expected);
    EXPECT_EQ(text("txtEnglish"), QStringLiteral("ice cream"));
}

TEST_F(ReaderTest, SpellingShowsTheWordGrowingLetterByLetter)
{
    ASSERT_TRUE(open({QStringLiteral("cat")}));
    world->addLetterSounds(QStringLiteral("cat"));
    QStringList shown;
    world->soundOut.onPlay = [this, &shown] { shown << text("txtEnglish"); };
    reader->txtEnglish_Click();
    EXPECT_EQ(shown, QStringList({QStringLiteral("c"), QStringLiteral("ca"), QStringLiteral("cat")}));
}

TEST_F(ReaderTest, AWordWithoutPictureShowsItsMeaningInstead)
{
    ASSERT_TRUE(open({QStringLiteral("cat"), QStringLiteral("dog")}, QStringList{QStringLiteral("cat")}));
    reader->ChangeWord(1);
    EXPECT_TRUE(child<QLabel>("lblCh")->isVisibleTo(reader.get()));
    EXPECT_EQ(text("lblCh"), QStringLiteral("中dog"));
    EXPECT_TRUE(child<QLabel>("arrChs_1")->isVisibleTo(reader.get()));
    EXPECT_EQ(text("arrChs_1"), QStringLiteral("中dog"));
    EXPECT_EQ(child<QWidget>("arrChs_1")->geometry(), child<QWidget>("ArrImages_1")->geometry());
    EXPECT_FALSE(child<QLabel>("arrChs_0")->isVisibleTo(reader.get()));
    reader->ChangeWord(0);
    EXPECT_FALSE(child<QLabel>("lblCh")->isVisibleTo(reader.get()));
}

TEST_F(ReaderTest, ThePictureSlidesInWholeAndIsKeptEncodedAtRest)
{
    ASSERT_TRUE(open(Words(2)));
    reader->ChangeWord(1);
    const QImage shown = child<PictureBox>("Picture1")->image();
    const QColor centre = shown.pixelColor(shown.width() / 2, shown.height() / 2);
    QImage expected(400, 300, QImage::Format_RGB32);
    expected.fill(QColor::fromHsv(static_cast<int>(qHash(QStringLiteral("word01")) % 360), 200, 220));
    EXPECT_NEAR(centre.hue(), expected.pixelColor(0, 0).hue(), 4);
    EXPECT_TRUE(world->program->transition.IsTransIdle());
    const QStringList files = QDir(world->pics()).entryList(QDir::Files);
    EXPECT_EQ(files, QStringList({QStringLiteral("word00.pet"), QStringLiteral("word01.pet")}));
}

TEST_F(ReaderTest, ANewWordDuringTheSlideStopsItAndShowsTheNewPicture)
{
    ASSERT_TRUE(open(Words(3)));
    bool stepped = false;
    world->clock.onEvents = [&] {
        if (!stepped && !world->program->transition.IsTransIdle()) {
            stepped = true;
            reader->cmdNextWord_Click();
        }
    };
    reader->cmdNextWord_Click();
    world->clock.onEvents = nullptr;
    ASSERT_TRUE(stepped);
    EXPECT_EQ(store().iCurrWord, 2);
    EXPECT_TRUE(world->program->transition.IsTransIdle());
    const QImage shown = child<PictureBox>("Picture1")->image();
    EXPECT_EQ(shown, child<PictureBox>("Picture2")->image());
}

TEST_F(ReaderTest, AnEmptyWordListShowsNothingAndGoesNowhere)
{
    ASSERT_TRUE(open(Words(3)));
    // A load that finds nothing leaves the old records behind with a count of 0.
    EXPECT_FALSE(store().LoadUnitWords(0, 9));
    world->soundOut.played.clear();
    reader->ChangeWord(0);
    EXPECT_EQ(wordNum(), QStringLiteral("0/0"));
    EXPECT_TRUE(text("txtEnglish").isEmpty());
    EXPECT_TRUE(text("LabelChinese").isEmpty());
    EXPECT_FALSE(child<QLabel>("lblCh")->isVisibleTo(reader.get()));
    EXPECT_TRUE(child<PictureBox>("Picture1")->image().pixelColor(10, 10) ==
                child<PictureBox>("Picture3")->image().pixelColor(10, 10));
    for (const char* name : {"cmdFirstWord", "cmdPrevWord", "cmdNextWord", "cmdLastWord"})
        EXPECT_FALSE(child<QPushButton>(name)->isEnabled()) << name;
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(child<QWidget>(QStringLiteral("ArrImages_%1").arg(i).toLatin1().constData())
                         ->isVisibleTo(reader.get()));
    QTest::keyClick(reader.get(), Qt::Key_Right);
    QTest::keyClick(reader.get(), Qt::Key_Left);
    reader->cmdLastWord_Click();
    reader->cmdFirstWord_Click();
    reader->Picture1_Click();
    reader->txtEnglish_Click();
    child<QCheckBox>("chkAutoplay")->click();
    EXPECT_EQ(store().iCurrWord, 0);
    EXPECT_TRUE(world->soundOut.played.empty());
}

TEST_F(ReaderTest, TheCheckBoxesStartAsSetAndShowOrHideTheirParts)
{
    ASSERT_TRUE(open(Words(2)));
    const std::pair<const char*, bool> initial[] = {{"chkEnglish", true},   {"chkChinese", true},
                                                    {"chkAutoRead", true},  {"chkRnd", false},
                                                    {"chkAutoplay", false}, {"chkRead", false}};
    for (const auto& [name, checked] : initial)
        EXPECT_EQ(child<QCheckBox>(name)->isChecked(), checked) << name;
    EXPECT_FALSE(child<QWidget>("FrameRecorder")->isVisibleTo(reader.get()));
    child<QCheckBox>("chkRead")->click();
    EXPECT_TRUE(child<QWidget>("FrameRecorder")->isVisibleTo(reader.get()));
    child<QCheckBox>("chkEnglish")->click();
    EXPECT_FALSE(child<QWidget>("txtEnglish")->isVisibleTo(reader.get()));
    reader->cmdNextWord_Click();
    EXPECT_FALSE(child<QWidget>("txtEnglish")->isVisibleTo(reader.get()));
    child<QCheckBox>("chkChinese")->click();
    EXPECT_FALSE(child<QWidget>("LabelChinese")->isVisibleTo(reader.get()));
}

TEST_F(ReaderTest, RandomOrderDrawsTheNextWordFromTheSeededSource)
{
    ASSERT_TRUE(open(Words(10)));
    child<QCheckBox>("chkRnd")->setChecked(true);
    world->random.queue(0.75);
    const int reseeds = world->random.reseeds();
    reader->cmdNextWord_Click();
    EXPECT_EQ(store().iCurrWord, 7);
    EXPECT_GT(world->random.reseeds(), reseeds);
}

} // namespace
} // namespace lexora::test
