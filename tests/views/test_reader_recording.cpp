// The reader's recording panel: recording, time-out, comparing, throwing a reading away.
#include "ReaderTest.h"

#include <QFile>
#include <QFileInfo>
#include <QPalette>

namespace lexora::test {
namespace {

const QString kStart = QStringLiteral("开始录音");
const QString kStop = QStringLiteral("停止");

class RecordingTest : public ReaderTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(open({QStringLiteral("cat"), QStringLiteral("dog")}));
        child<QCheckBox>("chkRead")->click();
        world->capture.nextData = TestPcm(kStereo, 441, 7);
        world->soundOut.played.clear();
    }
    QString reading(const QString& word) const
    {
        return world->myVoice() + QLatin1Char('/') + word + QStringLiteral(".wav");
    }
    QString caption() const { return text("lblRecord"); }
    QString myAudio() const { return text("lblMyAudio"); }
    QColor myAudioColour() const
    {
        return child<QLabel>("lblMyAudio")->palette().color(QPalette::WindowText);
    }
    QByteArray recorded() const { return MakeWav(kStereo, world->capture.nextData); }

    static constexpr PcmFormat kStereo{2, 16, 44100};
};

TEST_F(RecordingTest, AWordWithoutReadingSaysSoInRed)
{
    EXPECT_EQ(myAudio(), QStringLiteral("尚未录音"));
    EXPECT_EQ(myAudioColour(), QColor(255, 0, 0));
    EXPECT_EQ(caption(), kStart);
}

TEST_F(RecordingTest, StartingRecordsStereoAndMarksTheReadingBlack)
{
    reader->lblRecord_Click();
    EXPECT_EQ(caption(), kStop);
    EXPECT_EQ(myAudio(), QStringLiteral("我的朗读"));
    EXPECT_EQ(myAudioColour(), QColor(0, 0, 0));
    ASSERT_EQ(world->capture.started.size(), 1u);
    EXPECT_EQ(world->capture.started[0], kStereo);
    EXPECT_TRUE(reader->TimerRecord().isEnabled());
}

TEST_F(RecordingTest, AManualStopSavesTheReadingAndPlaysIt)
{
    reader->lblRecord_Click();
    reader->lblRecord_Click();
    EXPECT_EQ(caption(), kStart);
    EXPECT_FALSE(reader->TimerRecord().isEnabled());
    ASSERT_TRUE(QFile::exists(reading(QStringLiteral("cat"))));
    EXPECT_EQ(ReadFile(reading(QStringLiteral("cat"))).mid(44), world->capture.nextData);
    ASSERT_EQ(world->soundOut.played.size(), 1u);
    EXPECT_EQ(world->soundOut.played[0].mid(44), world->capture.nextData);
    EXPECT_FALSE(QFile::exists(reader->readingPanel().temporaryFile()));
}

TEST_F(RecordingTest, TheTimeOutAfterFifteenSecondsSavesWithoutPlaying)
{
    reader->lblRecord_Click();
    world->clock.advance(14999);
    reader->TimerRecord().poll();
    EXPECT_EQ(caption(), kStop);
    world->clock.advance(1);
    reader->TimerRecord().poll();
    EXPECT_EQ(caption(), kStart);
    EXPECT_FALSE(reader->TimerRecord().isEnabled());
    EXPECT_EQ(ReadFile(reading(QStringLiteral("cat"))).mid(44), world->capture.nextData);
    EXPECT_TRUE(world->soundOut.played.empty());
}

TEST_F(RecordingTest, StandardVoiceDuringARecordingSavesThenPlaysTheVoice)
{
    reader->lblRecord_Click();
    reader->lblStandardAudio_Click();
    EXPECT_EQ(caption(), kStart);
    EXPECT_TRUE(QFile::exists(reading(QStringLiteral("cat"))));
    ASSERT_EQ(world->soundOut.played.size(), 1u);
    EXPECT_EQ(world->soundOut.played[0], world->voiceOf(1));
}

TEST_F(RecordingTest, BothWithoutAReadingPlaysTheVoiceThenAsksForARecording)
{
    world->soundOut.onPlay = [this] { EXPECT_TRUE(world->prompter.asked().empty()); };
    reader->lblBothAudio_Click();
    ASSERT_EQ(world->soundOut.played.size(), 1u);
    EXPECT_EQ(world->soundOut.played[0], world->voiceOf(1));
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    EXPECT_EQ(world->prompter.asked()[0].text, QStringLiteral("请先录音！"));
    EXPECT_EQ(world->prompter.asked()[0].title, QStringLiteral("跟读录音"));
}

TEST_F(RecordingTest, BothWithAReadingPlaysTheVoiceThenTheReading)
{
    reader->lblRecord_Click();
    reader->lblRecord_Click();
    world->soundOut.played.clear();
    reader->lblBothAudio_Click();
    ASSERT_EQ(world->soundOut.played.size(), 2u);
    EXPECT_EQ(world->soundOut.played[0], world->voiceOf(1));
    EXPECT_EQ(world->soundOut.played[1].mid(44), world->capture.nextData);
}

TEST_F(RecordingTest, TryAgainDeletesTheReadingAndTurnsTheCaptionRed)
{
    reader->lblRecord_Click();
    reader->lblRecord_Click();
    reader->imgReadBad_Click();
    EXPECT_FALSE(QFile::exists(reading(QStringLiteral("cat"))));
    EXPECT_EQ(myAudio(), QStringLiteral("尚未录音"));
    EXPECT_EQ(myAudioColour(), QColor(255, 0, 0));
    world->prompter.clear();
    reader->lblMyAudio_Click();
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    EXPECT_EQ(world->prompter.asked()[0].text, QStringLiteral("请先录音！"));
}

TEST_F(RecordingTest, EachWordShowsWhetherItHasAReading)
{
    reader->lblRecord_Click();
    reader->lblRecord_Click();
    reader->cmdNextWord_Click();
    EXPECT_EQ(myAudio(), QStringLiteral("尚未录音"));
    reader->cmdPrevWord_Click();
    EXPECT_EQ(myAudio(), QStringLiteral("我的朗读"));
    EXPECT_EQ(myAudioColour(), QColor(0, 0, 0));
}

TEST_F(RecordingTest, AReadingIsSavedUnderTheWordCurrentWhenItStops)
{
    reader->lblRecord_Click();
    reader->cmdNextWord_Click();
    EXPECT_EQ(caption(), kStop);
    reader->lblRecord_Click();
    EXPECT_FALSE(QFile::exists(reading(QStringLiteral("cat"))));
    EXPECT_TRUE(QFile::exists(reading(QStringLiteral("dog"))));
}

TEST_F(RecordingTest, ARecordingWithoutSoundKeepsTheEarlierReading)
{
    reader->lblRecord_Click();
    reader->lblRecord_Click();
    const QByteArray first = ReadFile(reading(QStringLiteral("cat")));
    world->capture.nextData.clear();
    reader->lblRecord_Click();
    reader->lblRecord_Click();
    EXPECT_EQ(ReadFile(reading(QStringLiteral("cat"))), first);
    reader->lblRecord_Click();
    world->clock.advance(15000);
    reader->TimerRecord().poll();
    EXPECT_EQ(ReadFile(reading(QStringLiteral("cat"))), first);
    EXPECT_EQ(myAudio(), QStringLiteral("我的朗读"));
}

TEST_F(RecordingTest, WithoutAMicrophoneTheDeviceSaysSoAndNoReadingAppears)
{
    world->capture.available = false;
    reader->lblRecord_Click();
    EXPECT_EQ(caption(), kStop);
    reader->lblRecord_Click();
    EXPECT_EQ(caption(), kStart);
    EXPECT_FALSE(world->prompter.asked().empty());
    EXPECT_FALSE(QFile::exists(reading(QStringLiteral("cat"))));
    EXPECT_EQ(myAudio(), QStringLiteral("尚未录音"));
}

TEST_F(RecordingTest, TheTemporaryFileIsPrivateAndHasNoBlanks)
{
    const QString temp = reader->readingPanel().temporaryFile();
    EXPECT_FALSE(temp.contains(QLatin1Char(' ')));
    EXPECT_FALSE(temp.startsWith(world->course.root()));
    const QFileInfo folder(QFileInfo(temp).path());
    EXPECT_EQ(folder.permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup),
              QFile::Permissions());
}

TEST_F(RecordingTest, PanelCommandsStopAutoplay)
{
    child<QCheckBox>("chkAutoplay")->click();
    reader->lblRecord_Click();
    EXPECT_FALSE(reader->TimerAutoplay().isEnabled());
    child<QCheckBox>("chkAutoplay")->click();
    reader->lblMyAudio_Click();
    EXPECT_FALSE(reader->TimerAutoplay().isEnabled());
}

} // namespace
} // namespace lexora::test
