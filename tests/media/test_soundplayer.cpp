#include "MediaTestKit.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace lexora;
using namespace lexora::test;

namespace {

class SoundPlayerTest : public ::testing::Test
{
protected:
    FakeSoundOut out;
    PlayerRig rig{out};
    CourseFixture& course = rig.course;
    FakeClock& clock = rig.clock;
    FakePrompter& prompter = rig.prompter;
    ScriptedRandom& random = rig.random;
    FakeShellOpener& opener = rig.opener;
    SoundPlayer& player = rig.player;
    const PcmFormat mono{1, 16, 22050};

    QString voice(const QString& name) const { return rig.voice(name); }
    QString common(const QString& name) const { return rig.common(name); }
};

TEST_F(SoundPlayerTest, AMissingVoiceIsSilentAndTheNextOnePlays)
{
    WriteFile(voice(QStringLiteral("blue.abw")), Encoded(TestWav(mono, 100, 3)));
    player.PlayWordSound(QStringLiteral("nothing"));
    player.PlayWaveFile(QStringLiteral("nothing"));
    EXPECT_TRUE(out.played.empty());
    EXPECT_EQ(clock.slept(), 0) << "no wait when there is nothing to hear";
    player.PlayWordSound(QStringLiteral("blue"));
    ASSERT_EQ(out.played.size(), 1u);
    EXPECT_EQ(out.played[0], TestWav(mono, 100, 3));
}

TEST_F(SoundPlayerTest, ASoundAskedForWhilePlayingIsIgnored)
{
    WriteFile(voice(QStringLiteral("a.wav")), TestWav(mono, 50, 4));
    WriteFile(voice(QStringLiteral("pen.abw")), Encoded(TestWav(mono, 50, 5)));
    bool busyInside = false;
    out.onPlay = [&] {
        busyInside = player.busy();
        out.onPlay = nullptr;
        player.PlayWaveFile(QStringLiteral("a"));
        player.PlayWordSound(QStringLiteral("pen"));
    };
    player.PlayWaveFile(QStringLiteral("a"));
    EXPECT_TRUE(busyInside);
    EXPECT_EQ(out.played.size(), 1u);
    EXPECT_FALSE(player.busy());
    EXPECT_EQ(FilesIn(voice({})), (QStringList{QStringLiteral("a.wav"), QStringLiteral("pen.abw")}))
        << "the skipped word voice is still left encoded";
}

TEST_F(SoundPlayerTest, TheBusyMarkIsClearedOnEveryPath)
{
    WriteFile(voice(QStringLiteral("b.wav")), TestWav(mono, 50, 6));
    WriteFile(voice(QStringLiteral("bad.wav")), QByteArray("not a wave"));
    player.PlayWaveFile(QStringLiteral("missing"));
    EXPECT_FALSE(player.busy());
    player.PlayWaveFile(QStringLiteral("../b"));
    EXPECT_FALSE(player.busy());
    player.PlayWaveFile(QStringLiteral("bad"));
    EXPECT_FALSE(player.busy());
    out.onPlay = [] { throw std::runtime_error("device gone"); };
    EXPECT_THROW(player.PlayWaveFile(QStringLiteral("b")), std::runtime_error);
    EXPECT_FALSE(player.busy());
    out.onPlay = nullptr;
    player.PlayWaveFile(QStringLiteral("b"));
    EXPECT_EQ(out.played.back(), TestWav(mono, 50, 6));
}

TEST_F(SoundPlayerTest, LetterSoundsArePlainFilesOnly)
{
    WriteFile(voice(QStringLiteral("t.abw")), Encoded(TestWav(mono, 50, 7)));
    player.PlayWaveFile(QStringLiteral("t"));
    player.PlayWaveFile(QStringLiteral(" "));
    EXPECT_TRUE(out.played.empty());
    EXPECT_EQ(FilesIn(voice({})), QStringList{QStringLiteral("t.abw")});
}

struct AppSoundCase
{
    std::int16_t kind;
    const char* file;
};

class AppSounds : public SoundPlayerTest, public ::testing::WithParamInterface<AppSoundCase>
{};

TEST_P(AppSounds, KindPicksTheFileThenWaitsHalfASecond)
{
    int seed = 10;
    for (const char* name : {"SuccessWav0", "SuccessWav1", "FailWav0", "FailWav1", "Notify0", "Notify1"})
        WriteFile(common(QStringLiteral("appvoice/%1.wav").arg(QLatin1String(name))),
                  TestWav(mono, 30, seed++));
    const QByteArray expected =
        ReadFile(common(QStringLiteral("appvoice/") + QLatin1String(GetParam().file)));
    random.queue(0.99);
    player.PlayAppSound(GetParam().kind);
    ASSERT_EQ(out.played.size(), 1u);
    EXPECT_EQ(out.played[0], expected);
    EXPECT_EQ(random.reseeds(), 1);
    EXPECT_EQ(clock.slept(), 500);
}

INSTANTIATE_TEST_SUITE_P(Kinds, AppSounds,
                         ::testing::Values(AppSoundCase{1, "SuccessWav1.wav"},
                                           AppSoundCase{2, "FailWav0.wav"}, AppSoundCase{3, "Notify0.wav"},
                                           AppSoundCase{0, "Notify0.wav"}, AppSoundCase{-1, "Notify0.wav"}));

TEST_F(SoundPlayerTest, AMissingFeedbackSoundStillWaits)
{
    player.PlayAppSound(1);
    EXPECT_TRUE(out.played.empty());
    EXPECT_EQ(clock.slept(), 500);
}

TEST_F(SoundPlayerTest, OwnReadingPlaysOrAsksToRecordFirst)
{
    player.PlayMyVoice(QStringLiteral("apple"));
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text, QStringLiteral("请先录音！"));
    EXPECT_EQ(prompter.asked()[0].title, QStringLiteral("跟读录音"));
    EXPECT_EQ(prompter.asked()[0].icon, Prompter::Icon::Critical);
    EXPECT_TRUE(out.played.empty());

    WriteFile(common(QStringLiteral("myvoice/apple.wav")), TestWav(mono, 40, 20));
    player.PlayMyVoice(QStringLiteral("apple"));
    ASSERT_EQ(out.played.size(), 1u);
    EXPECT_EQ(out.played[0], TestWav(mono, 40, 20));
    EXPECT_EQ(prompter.asked().size(), 1u);
}

struct ShellCase
{
    const char* target;
    const char* url;
};

class ShellTargets : public ::testing::TestWithParam<ShellCase>
{};

TEST_P(ShellTargets, BecomeUrls)
{
    EXPECT_EQ(ShellTargetUrl(QString::fromUtf8(GetParam().target)).toString(QUrl::FullyEncoded),
              QString::fromUtf8(GetParam().url));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ShellTargets,
    ::testing::Values(ShellCase{"https://example.org/help?q=a b", "https://example.org/help?q=a%20b"},
                      ShellCase{"www.example.org", "http://www.example.org"},
                      ShellCase{" /tmp/read me.txt ", "file:///tmp/read%20me.txt"}, ShellCase{"", ""}));

TEST_F(SoundPlayerTest, ShellOpenHandsTheTargetToTheOpener)
{
    player.ShellOpen(QStringLiteral("www.example.org"));
    player.ShellOpen(QString());
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0], QUrl(QStringLiteral("http://www.example.org")));
}

} // namespace
