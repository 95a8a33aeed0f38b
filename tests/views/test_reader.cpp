#include "ReadOnlyPaths.h"
#include "ViewTestKit.h"
#include "media/MediaFiles.h"
#include "media/PictureBox.h"
#include "media/PicturesAhead.h"
#include "ui/ClockTimer.h"
#include "views/Lexivo.h"
#include "views/ReaderLogic.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <utility>

namespace lexora::test {
namespace {

TEST(ReaderLogic, RandomOrderReseedsAndDrawsAnyWordOfTheList)
{
    ScriptedRandom random;
    for (const double r : {0.0, 0.999, 0.5})
        random.queue(r);
    EXPECT_EQ(NextWordIndex(3, 10, true, random), 0);
    EXPECT_EQ(PrevWordIndex(0, 10, true, random), 9);
    EXPECT_EQ(NextWordIndex(9, 10, true, random), 5);
    EXPECT_EQ(random.reseeds(), 3);
    EXPECT_FALSE(NextWordIndex(0, 0, true, random));
}

// A reader on the first word of a one-unit course; word i has a picture and the voice of seed i + 1.
class ReaderTest : public ::testing::Test
{
protected:
    bool open(int n) { return open(ViewWorld::numbered(n)); }
    bool open(const QStringList& words)
    {
        world = ViewWorld::withMedia(words);
        if (world)
            makeReader(0);
        return world != nullptr;
    }
    void makeReader(int word)
    {
        reader = std::make_unique<Lexivo>(world->program->context(), world->host);
        reader->InitUserControl();
        reader->bReaderShown = true;
        reader->ChangeWord(word);
    }
    template <class T = QWidget> T* child(const QString& name) const { return reader->findChild<T*>(name); }
    bool shown(const QString& name) const { return child(name)->isVisibleTo(reader.get()); }
    QString text(const char* name) const { return child<QLabel>(name)->text(); }
    int current() const { return world->program->store.words().current(); }
    const std::vector<QByteArray>& played() const { return world->soundOut.played; }
    void key(Qt::Key key, QWidget* target = nullptr) { QTest::keyClick(target ? target : reader.get(), key); }
    // "3/3 FP--": the position shown and which of first, previous, next and last are enabled.
    QString nav() const
    {
        QString s = text("lblWordNum") + u' ';
        for (const char* b : {"cmdFirstWord", "cmdPrevWord", "cmdNextWord", "cmdLastWord"})
            s += QLatin1Char(child(b)->isEnabled() ? b[3] : '-');
        return s;
    }

    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<Lexivo> reader;
};

TEST_F(ReaderTest, ButtonsFollowTheEnableTableNextWrapsAndEveryPictureIsKeptEncoded)
{
    ASSERT_TRUE(open(3));
    EXPECT_EQ(text("txtEnglish") + text("LabelChinese"), QStringLiteral("word00中word00"));
    EXPECT_EQ(nav(), QStringLiteral("1/3 --NL"));
    for (const auto& [button, expected] :
         {std::pair{"Next", "2/3 FPNL"}, {"Last", "3/3 FP--"}, {"Prev", "2/3 FPNL"}, {"First", "1/3 --NL"}}) {
        child<QAbstractButton>(QStringLiteral("cmd%1Word").arg(QLatin1String(button)))->click();
        EXPECT_EQ(nav(), QLatin1String(expected)) << button;
    }
    world->soundOut.played.clear();
    key(Qt::Key_Left);
    key(Qt::Key_Up);
    EXPECT_EQ(nav(), QStringLiteral("1/3 --NL")) << "left and up on the first word";
    EXPECT_TRUE(played().empty());
    reader->ChangeWord(2);
    world->soundOut.played.clear();
    reader->cmdNextWord_Click();
    EXPECT_EQ(nav(), QStringLiteral("1/3 --NL"));
    EXPECT_EQ(played(), std::vector{world->voiceOf(1)});
    EXPECT_EQ(QDir(world->pics()).entryList(QDir::Files).join(u' '),
              QStringLiteral("word00.pet word01.pet word02.pet"));
}

// From the third of five words, a key sent to whichever of the reader's controls has focus steps once, and
// the control itself does nothing: no button pressed, no box ticked, no other view. Space on a check
// box ticks it instead (the screen tests walk that).
TEST_F(ReaderTest, KeysStepOnceWhicheverOfTheReadersControlsHasFocus)
{
    ASSERT_TRUE(open(5));
    reader->show();
    const std::tuple<const char*, Qt::Key, int> cases[] = {
        {"cmdNextWord", Qt::Key_Left, 1},    {"cmdNextWord", Qt::Key_Space, 3},
        {"cmdLastWord", Qt::Key_Space, 3},   {"cmdFirstWord", Qt::Key_Return, 3},
        {"cmdPrevWord", Qt::Key_Right, 3},   {"cmdPrevWord", Qt::Key_Down, 3},
        {"cmdToWordList", Qt::Key_Space, 3}, {"chkAutoplay", Qt::Key_Right, 3},
        {"chkEnglish", Qt::Key_Up, 1},       {"chkRead", Qt::Key_Return, 3},
        {"Picture1", Qt::Key_Enter, 3},      {"Lexivo", Qt::Key_Left, 1}};
    for (const auto& [name, k, word] : cases) {
        SCOPED_TRACE(testing::Message() << name << " " << k);
        reader->ChangeWord(2);
        QWidget* control =
            reader->objectName() == QLatin1String(name) ? reader.get() : child(QLatin1String(name));
        ASSERT_NE(control, nullptr);
        control->setFocus();
        world->soundOut.played.clear();
        QTest::keyClick(control, k);
        EXPECT_EQ(current(), word);
        EXPECT_EQ(played().size(), 1u);
        EXPECT_TRUE(world->host.shown.empty());
        EXPECT_FALSE(child<QCheckBox>("chkAutoplay")->isChecked());
        EXPECT_TRUE(child<QCheckBox>("chkEnglish")->isChecked());
        EXPECT_FALSE(child<QCheckBox>("chkRead")->isChecked());
    }
}

// A picture read ahead is shown only if its file is still the one read, at rest; otherwise the
// reader takes the file as it is now.
TEST_F(ReaderTest, APictureReadAheadIsUsedOnlyWhileItsFileIsUnchangedAndAtRest)
{
    ASSERT_TRUE(open(5));
    MediaFiles& media = world->program->media;
    const auto encoded = [&](int i) {
        return world->pics() + QStringLiteral("/word%1.pet").arg(i, 2, 10, QChar(u'0'));
    };
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(media.EncryptWordPic(QStringLiteral("word%1").arg(i, 2, 10, QChar(u'0'))));
    const std::pair<const char*, std::function<void(int)>> changes[] = {
        {"unchanged", [](int) {}},
        {"replaced", [&](int i) { WriteFile(encoded(i), QByteArray(2000, 'x')); }},
        {"a plain copy beside it",
         [&](int i) { QFile::copy(encoded(i), QString(encoded(i)).replace(".pet", ".jpg")); }},
        {"removed", [&](int i) { QFile::remove(encoded(i)); }}};
    QStringList words;
    for (int i = 0; i < 4; ++i)
        words << QStringLiteral("word%1").arg(i, 2, 10, QChar(u'0'));
    PicturesAhead ahead(media.folders(), words, QSize(40, 30));
    EXPECT_FALSE(ahead.take(QStringLiteral("word04"))) << "not asked for";
    for (int i = 0; i < 4; ++i) {
        const auto& [change, apply] = changes[i];
        apply(i);
        const std::optional<QImage> picture = ahead.take(words[i]);
        EXPECT_EQ(picture.has_value(), i == 0) << change;
        EXPECT_TRUE(!picture || picture->size() == QSize(40, 30)) << change;
    }
}

TEST_F(ReaderTest, TwentyWordsAtWordSeventeenShowTheLastPageOfFourAndItsThumbnailsLead)
{
    ASSERT_TRUE(open(20));
    reader->ChangeWord(17);
    for (int i = 0; i < 8; ++i) {
        const auto* image = child<QLabel>(QStringLiteral("ArrImages_%1").arg(i));
        EXPECT_EQ(image->isVisibleTo(reader.get()), i < 4) << i;
        EXPECT_FALSE(shown(QStringLiteral("arrChs_%1").arg(i))) << i;
        EXPECT_EQ(image->frameShape(), i == 1 ? QFrame::Box : QFrame::NoFrame) << i;
        EXPECT_TRUE(i >= 4 || !image->pixmap().isNull()) << i;
    }
    const size_t heard = played().size();
    reader->ArrImages_Click(1), reader->ArrImages_Click(6); // the current word; nothing there on this page
    EXPECT_EQ(std::tuple(current(), played().size()), std::tuple(17, heard));
    reader->ArrImages_Click(3);
    EXPECT_EQ(current(), 19);
}

// A word without a picture shows its meaning in the picture's place and its thumbnail's; while the
// meanings are hidden, the fallback picture stands there instead: the meaning gave the answer away.
TEST_F(ReaderTest, AWordWithoutAPictureShowsItsMeaningOrWhileMeaningsAreHiddenTheFallbackPicture)
{
    world = std::make_unique<ViewWorld>(ViewWorld::courseOf({QStringLiteral("cat"), QStringLiteral("dog")}));
    world->addPicture(QStringLiteral("cat"));
    QImage fallback(400, 300, QImage::Format_RGB32);
    fallback.fill(Qt::green);
    ASSERT_TRUE(world->build());
    ASSERT_TRUE(fallback.save(world->program->media.folders().fallbackPicture(), "JPEG"));
    ASSERT_TRUE(world->open());
    makeReader(1);
    const auto green = [](const QImage& image) {
        const QColor c = image.pixelColor(image.width() / 2, image.height() / 2);
        return c.green() > 200 && c.red() < 60 && c.blue() < 60;
    };
    auto* chinese = child<QCheckBox>("chkChinese");
    // Meanings shown, hidden (then the word left and come back to), shown again.
    for (const bool shownMeanings : {true, false, false, true}) {
        SCOPED_TRACE(shownMeanings);
        if (chinese->isChecked() != shownMeanings) {
            chinese->click();
        } else {
            reader->ChangeWord(0);
            reader->ChangeWord(1);
        }
        EXPECT_EQ(shown("lblCh"), shownMeanings);
        EXPECT_EQ(green(child<PictureBox>("Picture1")->image()), !shownMeanings);
        EXPECT_EQ(shown("arrChs_1"), shownMeanings);
        const QPixmap thumb = child<QLabel>("ArrImages_1")->pixmap();
        EXPECT_EQ(!thumb.isNull() && green(thumb.toImage()), !shownMeanings);
        EXPECT_FALSE(shown("arrChs_0")) << "a word with a picture shows it";
    }
}

TEST_F(ReaderTest, ALongWordIsShownSmallerAndNoWiderThanThePicture)
{
    const QString longWord = QStringLiteral("abcdefghijklmnopqrstuvwxyzabcd");
    ASSERT_TRUE(open({QStringLiteral("cat"), longWord}));
    const auto* english = child<QLabel>("txtEnglish");
    EXPECT_EQ(english->font().pointSize(), 36);
    reader->cmdNextWord_Click();
    EXPECT_LT(english->font().pointSize(), 36);
    EXPECT_LE(QFontMetrics(english->font()).horizontalAdvance(longWord), child("Picture1")->width());
    EXPECT_LE(english->width(), child("Picture1")->width());
}

TEST_F(ReaderTest, AutoplayStepsAtOnceThenEveryThreeSecondsUntilANavigationButton)
{
    ASSERT_TRUE(open(6));
    auto* autoplay = child<QCheckBox>("chkAutoplay");
    autoplay->click();
    EXPECT_EQ(current(), 1);
    for (const auto& [ms, word] : {std::pair{2999, 1}, {1, 2}, {3000, 3}}) {
        world->clock.advance(ms), reader->TimerAutoplay().poll();
        EXPECT_EQ(current(), word);
    }
    child<QAbstractButton>("cmdNextWord")->click();
    EXPECT_EQ(std::tuple(current(), autoplay->isChecked()), std::tuple(4, false));
    world->clock.advance(9000), reader->TimerAutoplay().poll();
    EXPECT_EQ(current(), 4);
}

TEST_F(ReaderTest, SpellingPlaysEachLetterInOrderAsTheWordGrowsAndABlankPlaysNothing)
{
    ASSERT_TRUE(open({QStringLiteral("ice cream")}));
    world->addLetterSounds(QStringLiteral("icream"));
    world->soundOut.played.clear();
    QStringList growing;
    world->soundOut.onPlay = [this, &growing] { growing << text("txtEnglish"); };
    reader->txtEnglish_Click();
    std::vector<QByteArray> letters;
    for (const QChar c : QStringLiteral("icecream"))
        letters.push_back(world->voiceOf(c.unicode()));
    EXPECT_EQ(played(), letters);
    EXPECT_EQ(growing.join(u'|'), QStringLiteral("i|ic|ice|ice c|ice cr|ice cre|ice crea|ice cream"));
}

// "elephant" is spelt; during its third letter the learner does something else, which runs once that
// letter has sounded. Nothing more is spelt; a step plays the new word's voice.
TEST_F(ReaderTest, SteppingClickingOrLeavingStopsASpellingWithinOneLetter)
{
    ASSERT_TRUE(open({QStringLiteral("elephant"), QStringLiteral("cat")}));
    world->addLetterSounds(QStringLiteral("elphant"));
    reader->show();
    auto* next = child<QAbstractButton>("cmdNextWord");
    const std::tuple<const char*, std::function<void()>, int> cases[] = {
        {"下一个 >> clicked", [next] { QTest::mouseClick(next, Qt::LeftButton); }, 1},
        {"the word clicked", [this] { QTest::mouseClick(child("txtEnglish"), Qt::LeftButton); }, 0},
        {"reader left", [this] { reader->StopActivity(); }, 0}};
    for (const auto& [name, interrupt, word] : cases) {
        SCOPED_TRACE(name);
        reader->ChangeWord(0);
        world->soundOut.played.clear();
        // Armed by the third letter, it comes when pending input runs after that letter.
        int sounds = 0;
        bool armed = false;
        world->soundOut.onPlay = [&sounds, &armed] { armed = ++sounds == 3; };
        world->clock.onEvents = [&armed, &interrupt = interrupt] {
            if (std::exchange(armed, false))
                interrupt();
        };
        reader->txtEnglish_Click();
        world->soundOut.onPlay = nullptr;
        world->clock.onEvents = nullptr;
        std::vector<QByteArray> expected;
        for (const QChar c : QStringLiteral("ele"))
            expected.push_back(world->voiceOf(c.unicode()));
        if (word == 1)
            expected.push_back(world->voiceOf(2));
        EXPECT_EQ(played(), expected);
        EXPECT_EQ(current(), word);
        EXPECT_FALSE(reader->isSpelling());
        EXPECT_EQ(text("txtEnglish"), word == 1 ? QStringLiteral("cat") : QStringLiteral("elephant"));
    }
}

TEST_F(ReaderTest, AnEmptyWordListShowsNothingAndGoesNowhere)
{
    ASSERT_TRUE(open(3));
    EXPECT_FALSE(world->program->store.LoadUnitWords(0, 9));
    world->soundOut.played.clear();
    reader->ChangeWord(0);
    EXPECT_EQ(nav() + text("txtEnglish") + text("LabelChinese"), QStringLiteral("0/0 ----"));
    EXPECT_FALSE(shown("lblCh"));
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(shown(QStringLiteral("ArrImages_%1").arg(i)));
    key(Qt::Key_Right), key(Qt::Key_Left);
    reader->cmdLastWord_Click(), reader->Picture1_Click(), reader->txtEnglish_Click();
    child<QCheckBox>("chkAutoplay")->click();
    EXPECT_EQ(std::tuple(current(), played().empty()), std::tuple(0, true));
}

// The record button's caption, then lblMyAudio's caption and colour.
const QString kNone = QStringLiteral("开始录音 尚未录音 #ff0000");
const QString kRecording = QStringLiteral("停止 我的朗读 #000000");
const QString kRecorded = QStringLiteral("开始录音 我的朗读 #000000");

class RecordingTest : public ReaderTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(open({QStringLiteral("cat"), QStringLiteral("dog")}));
        child<QCheckBox>("chkRead")->click();
        ASSERT_TRUE(shown("FrameRecorder"));
        world->capture.nextData = TestPcm(kStereo, 441, 7);
        world->soundOut.played.clear();
    }
    QString reading() const { return world->myVoice() + QStringLiteral("/cat.wav"); }
    QString temporaryFolder() const { return QFileInfo(reader->readingPanel().temporaryFile()).path(); }
    QString panel() const
    {
        return text("lblRecord") + u' ' + text("lblMyAudio") + u' ' +
               child("lblMyAudio")->palette().color(QPalette::WindowText).name();
    }

    static constexpr PcmFormat kStereo{2, 16, 44100};
};

TEST_F(RecordingTest, TheTimeOutSavesWithoutPlayingAndTheStandardVoiceSavesThenPlays)
{
    reader->lblRecord_Click();
    EXPECT_EQ(world->capture.started, std::vector{kStereo});
    for (const auto& [ms, expected] : {std::pair{14999, kRecording}, {1, kRecorded}}) {
        world->clock.advance(ms), reader->TimerRecord().poll();
        EXPECT_EQ(panel(), expected);
    }
    EXPECT_FALSE(reader->TimerRecord().isEnabled());
    EXPECT_EQ(ReadFile(reading()).mid(44), world->capture.nextData);
    EXPECT_TRUE(played().empty()); // a time-out does not play

    world->capture.nextData = TestPcm(kStereo, 441, 8);
    reader->lblRecord_Click(), reader->lblStandardAudio_Click();
    EXPECT_EQ(panel(), kRecorded);
    EXPECT_EQ(ReadFile(reading()).mid(44), world->capture.nextData);
    EXPECT_EQ(played(), std::vector{world->voiceOf(1)});
}

TEST_F(RecordingTest, TryAgainDeletesTheReadingTurnsTheCaptionRedAndBothThenAsksForOne)
{
    reader->lblRecord_Click(), reader->lblRecord_Click();
    EXPECT_EQ(panel(), kRecorded);
    ASSERT_EQ(played().size(), 1u); // a stopped reading is played at once
    EXPECT_EQ(played()[0].mid(44), world->capture.nextData);
    EXPECT_FALSE(QFile::exists(reader->readingPanel().temporaryFile()));
    reader->imgReadBad_Click();
    EXPECT_EQ(panel() + QString::number(QFile::exists(reading())), kNone + QStringLiteral("0"));
    reader->lblMyAudio_Click();
    EXPECT_EQ(world->prompter.texts(), std::vector{QStringLiteral("请先录音！")});
    // Both in turn without a reading: the voice, then the request for a reading.
    world->soundOut.played.clear();
    world->soundOut.onPlay = [this] { EXPECT_EQ(world->prompter.asked().size(), 1u); };
    reader->lblBothAudio_Click();
    EXPECT_EQ(played(), std::vector{world->voiceOf(1)});
    ASSERT_EQ(world->prompter.asked().size(), 2u);
    EXPECT_EQ(std::tie(world->prompter.asked()[1].text, world->prompter.asked()[1].title),
              std::tuple(QStringLiteral("请先录音！"), QStringLiteral("跟读录音")));
}

// Without a microphone: one message in the panel's own words and the panel stays idle, so nothing is
// left running for the play buttons to save. Two English boxes and a panel "recording" nothing once.
TEST_F(RecordingTest, WithoutAMicrophoneOneChineseMessageAndThePanelStaysIdle)
{
    world->capture.available = false;
    reader->lblRecord_Click();
    EXPECT_EQ(panel(), kNone);
    EXPECT_FALSE(reader->TimerRecord().isEnabled());
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    EXPECT_EQ(world->prompter.asked()[0].title, QStringLiteral("跟读录音"));
    EXPECT_TRUE(world->prompter.asked()[0].text.contains(QStringLiteral("麦克风")));
    reader->lblStandardAudio_Click();
    EXPECT_EQ(world->prompter.asked().size(), 1u) << "nothing was running to be saved";
    world->capture.available = true;
    reader->lblRecord_Click();
    EXPECT_EQ(panel(), kRecording) << "a microphone plugged in later works";
}

// A reading file that is damaged, or a FIFO or folder planted in its place, is no reading: the panel
// says "尚未录音", playing it gives the message, and nothing is played or waited on.
TEST_F(RecordingTest, ADamagedOrPlantedReadingIsNoReadingAndPlaysNothing)
{
    QDir().mkpath(world->myVoice());
    QByteArray channels = MakeWav(kStereo, TestPcm(kStereo, 441, 3));
    channels[22] = 0, channels[23] = 1; // 256 channels
    const std::vector<std::pair<const char*, std::function<void()>>> plants = {
        {"256 channels", [&] { WriteFile(reading(), channels); }},
        {"header only", [&] { WriteFile(reading(), channels.left(40)); }},
        {"fifo", [&] { ASSERT_EQ(::mkfifo(QFile::encodeName(reading()).constData(), 0600), 0); }},
        {"folder", [&] { ASSERT_TRUE(QDir().mkdir(reading())); }}};
    for (const auto& [name, plant] : plants) {
        QFile::remove(reading());
        QDir().rmdir(reading());
        plant();
        reader->ChangeWord(0);
        EXPECT_EQ(panel(), kNone) << name;
        world->soundOut.played.clear(); // the word's own voice, heard on arriving
        const size_t asked = world->prompter.asked().size();
        reader->lblMyAudio_Click();
        EXPECT_TRUE(played().empty()) << name;
        ASSERT_EQ(world->prompter.asked().size(), asked + 1) << name;
        EXPECT_EQ(world->prompter.asked().back().text, QStringLiteral("录音文件已损坏，请重新录音！"))
            << name;
    }
}

// A new reading that cannot be kept is said at once with why, and the older file is never passed off
// as the new reading: the panel shows none and "我的朗读" plays nothing. Once the checker heard
// silence instead, and the old reading played as if it were the new one.
TEST_F(RecordingTest, AReadingThatCannotBeKeptIsToldWithWhyAndTheOldOneIsNotPlayed)
{
    struct Failure
    {
        const char* name;
        const char* why;
        bool oldFileRemains; // where the folder cannot be written the old file cannot go either
    };
    const Failure failures[] = {{"read-only myvoice", "没有写入的权限", true},
                                {"disk full", "磁盘已满", false}};
    struct Stop
    {
        const char* name;
        std::function<void()> stop;
    };
    const Stop stops[] = {{"stop button", [this] { reader->lblRecord_Click(); }},
                          {"time-out",
                           [this] {
                               world->clock.advance(15000);
                               reader->TimerRecord().poll();
                           }},
                          {"my reading", [this] { reader->lblMyAudio_Click(); }}};
    const QByteArray oldReading = TestPcm(kStereo, 441, 7);
    for (const Failure& failure : failures) {
        for (const Stop& stop : stops) {
            SCOPED_TRACE(std::string(failure.name) + ", " + stop.name);
            reader->readingPanel().setWriter({});
            world->capture.nextData = oldReading;
            reader->lblRecord_Click();
            reader->lblRecord_Click();
            ASSERT_EQ(ReadFile(reading()).mid(44), oldReading) << "the earlier reading was kept";

            world->capture.nextData = TestPcm(kStereo, 441, 8);
            reader->lblRecord_Click();
            ASSERT_EQ(panel(), kRecording);
            std::unique_ptr<ReadOnlyPaths> readOnly;
            if (failure.oldFileRemains) {
                // The recorder's own folder stays open to the identity the read-only folder needs.
                QFile::setPermissions(temporaryFolder(), QFileDevice::Permissions(0x7777));
                readOnly =
                    std::make_unique<ReadOnlyPaths>(world->course.root(), QStringList{world->myVoice()});
            } else {
                reader->readingPanel().setWriter([](const QString&, const QString&, const QByteArray&) {
                    errno = ENOSPC;
                    return false;
                });
            }
            world->prompter.clear();
            world->soundOut.played.clear();
            stop.stop();
            readOnly.reset();
            QFile::setPermissions(temporaryFolder(), QFileDevice::Permissions(0x7700));

            EXPECT_EQ(panel(), kNone);
            EXPECT_TRUE(played().empty()) << "no reading to play back";
            ASSERT_EQ(world->prompter.asked().size(), 1u);
            const auto& told = world->prompter.asked()[0];
            EXPECT_EQ(told.title, QStringLiteral("跟读录音"));
            EXPECT_TRUE(told.text.contains(QString::fromUtf8(failure.why))) << qPrintable(told.text);
            EXPECT_TRUE(text("Label1").contains(QStringLiteral("没有保存下来")))
                << qPrintable(text("Label1"));
            EXPECT_EQ(QFile::exists(reading()), failure.oldFileRemains);

            world->prompter.clear();
            reader->lblMyAudio_Click();
            EXPECT_TRUE(played().empty()) << "the older reading is not played as the new one";
            EXPECT_EQ(world->prompter.texts(), std::vector{QStringLiteral("请先录音！")});
        }
    }
}

TEST_F(RecordingTest, TheTemporaryFileIsPrivateAndHasNoBlanks)
{
    const QString temp = reader->readingPanel().temporaryFile();
    EXPECT_FALSE(temp.contains(u' '));
    EXPECT_FALSE(temp.startsWith(world->course.root()));
    EXPECT_EQ(QFileInfo(QFileInfo(temp).path()).permissions() &
                  (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup),
              QFile::Permissions());
}

} // namespace
} // namespace lexora::test
