// The SDL adapters for real, on SDL's disk driver: what is "played" is written to SDL_DISKAUDIOFILE,
// what is "recorded" is read from SDL_DISKAUDIOFILEIN.
#include "MediaTestKit.h"
#include "media/QtClock.h"
#include "media/RecordDevice.h"
#include "media/SdlCaptureDevice.h"
#include "media/SdlSoundOut.h"
#include "media/VoiceRecorder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace lexora;
using namespace lexora::test;

namespace {

// The device output holds pcm once, with nothing but silence around it.
::testing::AssertionResult heardExactly(const QByteArray& output, const QByteArray& pcm)
{
    const qsizetype at = output.indexOf(pcm);
    if (pcm.isEmpty() || at < 0)
        return ::testing::AssertionFailure()
               << "the sound is not in the " << output.size() << " bytes played";
    for (qsizetype i = 0; i < output.size(); ++i) {
        if ((i < at || i >= at + pcm.size()) && output[i] != 0)
            return ::testing::AssertionFailure() << "byte " << i << " outside the sound is not silence";
    }
    return ::testing::AssertionSuccess();
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
    QString voice(const QString& name) const { return rig.voice(name); }

    QTemporaryDir dir;
    QtClock realClock;
    SdlSoundOut sdl{realClock};
    // The player's own waits are faked; the device's wait for the sound to end is real.
    PlayerRig rig{sdl};
    CourseFixture& course = rig.course;
    FakePrompter& prompter = rig.prompter;
    SoundPlayer& player = rig.player;
    // Short sounds: the disk driver plays in real time.
    const PcmFormat mono{1, 16, 22050};
};

TEST_F(SdlDiskAudio, AnEncodedVoiceIsHeardSampleForSampleAndKeptAsItWas)
{
    const QByteArray wav = TestWav(mono, 2205, 1);
    WriteFile(voice(QStringLiteral("hello.abw")), Encoded(wav));
    player.PlayWordSound(QStringLiteral("hello"));
    EXPECT_TRUE(heardExactly(ReadFile(played()), WavData(wav)));
    EXPECT_EQ(FilesIn(voice({})), QStringList{QStringLiteral("hello.abw")});
    EXPECT_EQ(ReadFile(voice(QStringLiteral("hello.abw"))), Encoded(wav));
}

TEST_F(SdlDiskAudio, APlainVoiceBesideAnEncodedOneIsHeardThenReplacesIt)
{
    const QByteArray fresh = TestWav(mono, 2205, 2);
    WriteFile(voice(QStringLiteral("red.wav")), fresh);
    WriteFile(voice(QStringLiteral("red.abw")), Encoded(TestWav(mono, 2205, 3)));
    player.PlayWordSound(QStringLiteral("red"));
    EXPECT_TRUE(heardExactly(ReadFile(played()), WavData(fresh)));
    EXPECT_EQ(FilesIn(voice({})), QStringList{QStringLiteral("red.abw")});
    EXPECT_EQ(ReadFile(voice(QStringLiteral("red.abw"))), Encoded(fresh));
}

TEST_F(SdlDiskAudio, BlanksAroundAWordPlayTheTrimmedWordsFile)
{
    const QByteArray wav = TestWav(mono, 1500, 4);
    WriteFile(voice(QStringLiteral("good morning.abw")), Encoded(wav));
    player.PlayWordSound(QStringLiteral("  good morning  "));
    EXPECT_TRUE(heardExactly(ReadFile(played()), WavData(wav)));
}

TEST_F(SdlDiskAudio, AfterAMissingFileTheNextOnePlays)
{
    const QByteArray wav = TestWav(mono, 1500, 5);
    WriteFile(voice(QStringLiteral("blue.abw")), Encoded(wav));
    player.PlayWordSound(QStringLiteral("nothing"));
    EXPECT_FALSE(QFile::exists(played())) << "silence: the device was not even opened";
    player.PlayWordSound(QStringLiteral("blue"));
    EXPECT_TRUE(heardExactly(ReadFile(played()), WavData(wav)));
}

TEST_F(SdlDiskAudio, FeedbackKindsPickTheirFiles)
{
    int seed = 20;
    for (const char* name : {"SuccessWav0", "SuccessWav1", "FailWav0", "Notify0"})
        WriteFile(course.commonFolder() + QStringLiteral("/appvoice/%1.wav").arg(QLatin1String(name)),
                  TestWav(mono, 1000, seed++));
    const std::pair<std::int16_t, int> cases[] = {{1, 21}, {2, 22}, {3, 23}};
    for (const auto& [kind, expectedSeed] : cases) {
        SCOPED_TRACE(kind);
        player.PlayAppSound(kind);
        EXPECT_TRUE(heardExactly(ReadFile(played()), TestPcm(mono, 1000, expectedSeed)));
    }
}

TEST_F(SdlDiskAudio, BadDataGivesSilenceWithoutOpeningTheDevice)
{
    for (const QByteArray& bad : {QByteArray(), QByteArray("RIFF but not really a wave file at all"),
                                  TestWav(mono, 100, 6).left(30)}) {
        sdl.play(bad);
        EXPECT_FALSE(QFile::exists(played()));
    }
}

TEST_F(SdlDiskAudio, WithoutAnAudioDriverPlayingIsSilent)
{
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    SdlSoundOut none(realClock);
    none.play(TestWav(mono, 22050, 7));
    EXPECT_FALSE(QFile::exists(played()));
}

TEST_F(SdlDiskAudio, RecordingWritesTheInjectedAudioAsAStereoWav)
{
    const PcmFormat stereo{2, 16, 44100};
    const QByteArray audio = TestPcm(stereo, 4410, 8);
    WriteFile(injected(), audio);
    SdlCaptureDevice capture;
    RecordDevice device(capture);
    VoiceRecorder recorder(device, prompter);

    recorder.StartRecord(QStringLiteral("2"), QStringLiteral("16"), QStringLiteral("44100"));
    QElapsedTimer timer;
    timer.start();
    while (capture.pendingBytes() < audio.size() && timer.elapsed() < 10000)
        QThread::msleep(10);
    const QString folder = dir.filePath(QStringLiteral("my voice"));
    QDir().mkpath(folder);
    const QString target = folder + QStringLiteral("/ice cream.wav");
    recorder.StopRecord(target);

    EXPECT_TRUE(prompter.asked().empty());
    const QByteArray wav = ReadFile(target);
    ASSERT_GE(wav.size(), 44 + audio.size());
    EXPECT_EQ(qFromLittleEndian<quint16>(wav.constData() + 22), 2);
    EXPECT_EQ(qFromLittleEndian<quint32>(wav.constData() + 24), 44100u);
    EXPECT_EQ(qFromLittleEndian<quint16>(wav.constData() + 34), 16);
    EXPECT_EQ(wav.mid(28, 3).toHex(), QByteArray("10b102"));
    EXPECT_EQ(recorder.lByteRate, 176400);
    EXPECT_TRUE(WavData(wav).startsWith(audio));
    EXPECT_TRUE(heardExactly(WavData(wav), audio));
}

} // namespace
