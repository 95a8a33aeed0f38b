// Sounds and recordings; SDL's disk driver writes what is played and reads what is recorded from files.
#include "MediaTestKit.h"
#include "media/QtClock.h"
#include "media/RecordDevice.h"
#include "media/SdlCaptureDevice.h"
#include "media/SdlSoundOut.h"
#include "media/VoiceRecorder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace lexora;
using namespace lexora::test;

namespace {

const PcmFormat kMono{1, 16, 22050}; // for short sounds: the disk driver plays in real time

// A busy mark left set would silence every later sound.
TEST(SoundPlayer, TheBusyMarkKeepsSoundsApartAndIsClearedOnEveryPath)
{
    FakeSoundOut out;
    PlayerRig rig(out);
    WriteFile(rig.common(QStringLiteral("voice/a.wav")), TestWav(kMono, 50, 4));
    WriteFile(rig.common(QStringLiteral("voice/bad.wav")), QByteArray("not a wave"));
    out.onPlay = [&] {
        out.onPlay = nullptr;
        EXPECT_TRUE(rig.player.busy());
        rig.player.PlayWaveFile(QStringLiteral("a"));
    };
    rig.player.PlayWaveFile(QStringLiteral("a"));
    EXPECT_EQ(out.played.size(), 1u) << "a sound asked for while one plays is skipped";
    for (const char* letter : {"missing", " ", "../a", "bad"}) {
        rig.player.PlayWaveFile(QLatin1String(letter));
        EXPECT_FALSE(rig.player.busy()) << letter;
    }
    out.onPlay = [] { throw std::runtime_error("device gone"); };
    EXPECT_THROW(rig.player.PlayWaveFile(QStringLiteral("a")), std::runtime_error);
    EXPECT_FALSE(rig.player.busy());
    out.onPlay = nullptr;
    rig.player.PlayWaveFile(QStringLiteral("a"));
    EXPECT_EQ(out.played.back(), TestWav(kMono, 50, 4));
}

// The device output holds pcm once, with nothing but silence around it.
bool heardExactly(const QByteArray& output, const QByteArray& pcm)
{
    const qsizetype at = output.indexOf(pcm);
    return !pcm.isEmpty() && at >= 0 &&
           output == QByteArray(at, 0) + pcm + QByteArray(output.size() - at - pcm.size(), 0);
}

class SdlDiskAudio : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(played()));
        qputenv("SDL_DISKAUDIOFILEIN", QFile::encodeName(injected()));
    }
    QString played() const { return dir.filePath(QStringLiteral("played.raw")); }
    QString injected() const { return dir.filePath(QStringLiteral("injected.raw")); }
    QString voice(const char* n) const { return rig.common(QStringLiteral("voice/") + QLatin1String(n)); }

    QTemporaryDir dir;
    QtClock realClock;
    SdlSoundOut sdl{realClock};
    PlayerRig rig{sdl};
};

TEST_F(SdlDiskAudio, WordVoicesAreHeardSampleForSampleAndLeftEncoded)
{
    const QByteArray hello = TestWav(kMono, 2205, 1), fresh = TestWav(kMono, 2205, 2),
                     morning = TestWav(kMono, 1500, 3);
    WriteFile(voice("hello.abw"), Encoded(hello));
    WriteFile(voice("red.wav"), fresh);
    WriteFile(voice("red.abw"), Encoded(TestWav(kMono, 2205, 4)));
    WriteFile(voice("good morning.abw"), Encoded(morning));

    rig.player.PlayWordSound(QStringLiteral("nothing"));
    EXPECT_FALSE(QFile::exists(played())) << "silence: the device was not even opened";
    // A plain voice beside an encoded one is heard, then replaces it.
    for (const auto& [word, wav] :
         {std::pair{"hello", hello}, {"red", fresh}, {"  good morning  ", morning}}) {
        rig.player.PlayWordSound(QLatin1String(word));
        EXPECT_TRUE(heardExactly(ReadFile(played()), WavData(wav))) << word;
    }

    EXPECT_EQ(FilesIn(voice("")), (QStringList{"good morning.abw", "hello.abw", "red.abw"}));
    EXPECT_EQ(ReadFile(voice("hello.abw")), Encoded(hello));
    EXPECT_EQ(ReadFile(voice("red.abw")), Encoded(fresh));
}

// The wait is the length of what was queued, cut at 30 s, whatever a header claims; time here is a
// fake clock, so the disk driver's real-time playing does not end the wait.
TEST_F(SdlDiskAudio, AWaitIsBoundedByTheQueuedSamplesAndCappedAndALyingHeaderPlaysNothing)
{
    FakeClock clock;
    SdlSoundOut out(clock);
    QByteArray claimsOneHertz = TestWav(PcmFormat{1, 16, 1}, 20000, 1); // 40 KB "lasting" 20,000 s
    out.play(claimsOneHertz);
    EXPECT_EQ(clock.slept(), 0) << "refused before any device was opened";
    EXPECT_FALSE(QFile::exists(played()));

    out.play(TestWav(PcmFormat{1, 16, 8000}, 8000 * 60, 2)); // a minute
    EXPECT_GE(clock.slept(), 30000);
    EXPECT_LE(clock.slept(), 31000);
}

TEST_F(SdlDiskAudio, RecordingWritesTheInjectedAudioAsAStereoWavAndAFailedSaveChangesNothing)
{
    const QByteArray audio = TestPcm(PcmFormat{2, 16, 44100}, 4410, 8);
    WriteFile(injected(), audio);
    SdlCaptureDevice capture;
    RecordDevice device(capture);
    VoiceRecorder recorder(device, rig.prompter);
    recorder.StartRecord(QStringLiteral("2"), QStringLiteral("16"), QStringLiteral("44100"));
    for (QDeadlineTimer deadline(10000); capture.pendingBytes() < audio.size() && !deadline.hasExpired();)
        QThread::msleep(10);
    const QString target = dir.filePath(QStringLiteral("my voice/ice cream.wav"));
    QDir().mkpath(dir.filePath(QStringLiteral("my voice")));
    recorder.StopRecord(target);
    const QByteArray wav = ReadFile(target);
    // 2 channels, 44100 Hz, 176400 bytes a second (bytes 28 to 31), 4 bytes a frame, 16 bits.
    EXPECT_EQ(wav.mid(22, 14).toHex(), QByteArray("020044ac000010b1020004001000"));
    EXPECT_EQ(recorder.lByteRate, 176400);
    EXPECT_EQ(WavData(wav), audio + QByteArray(WavData(wav).size() - audio.size(), 0)) << "then silence";

    // A failed save (into a missing folder) changes nothing; with no input nothing starts, after one
    // message, and the device is closed again.
    EXPECT_TRUE(recorder.StartRecord(QStringLiteral("1"), QStringLiteral("16"), QStringLiteral("22050")));
    EXPECT_FALSE(recorder.StopRecord(dir.filePath(QStringLiteral("no folder/new.wav"))));
    QFile::remove(injected());
    EXPECT_FALSE(recorder.StartRecord(QStringLiteral("1"), QStringLiteral("16"), QStringLiteral("22050")));
    EXPECT_FALSE(device.isOpen());
    EXPECT_EQ(FilesIn(dir.path()), QStringList{QStringLiteral("my voice")}) << "no folder made, nothing left";
    EXPECT_EQ(ReadFile(target), wav);
    ASSERT_EQ(rig.prompter.asked().size(), 2u);
    for (int i = 0; const char* step : {"保存录音时出错", "开始录音时出错：没有找到可以录音的麦克风"}) {
        EXPECT_TRUE(rig.prompter.asked()[i].text.startsWith(QString::fromUtf8(step)))
            << qPrintable(rig.prompter.asked()[i].text);
        EXPECT_EQ(rig.prompter.asked()[i++].title, QStringLiteral("跟读录音"));
    }
}

} // namespace
