#include "FakeClock.h"
#include "MediaTestKit.h"
#include "app/LoadedSound.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lexora;

namespace {

const QByteArray kWav = test::TestWav(PcmFormat{1, 16, 16000}, 1600, 1);

TEST(LoadedSound, TheBuiltModuleGivesSoundOut)
{
    test::FakeClock clock;
    // A first candidate that is missing is passed over.
    LoadedSound sound(
        {QStringLiteral("/nonexistent/lexora-sound.so"), QStringLiteral(LEXORA_TEST_SOUND_MODULE)}, clock);
    ASSERT_TRUE(sound.loaded()) << qPrintable(sound.failure());
    sound.play(kWav);
    // The clock only waits while SDL plays the sound out.
    EXPECT_GT(clock.slept(), 0);
}

TEST(LoadedSound, WithoutAModuleEverythingIsQuietlyAbsent)
{
    QTemporaryDir folder;
    const QString notAModule = folder.filePath(QStringLiteral("lexora-sound.so"));
    QFile file(notAModule);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a library");
    file.close();
    const std::pair<const char*, QStringList> cases[] = {
        {"nothing to load", {folder.filePath(QStringLiteral("missing.so"))}},
        {"a file that is no library", {notAModule}},
        // A library, but not ours: it has no entry.
        {"another library", {QStringLiteral("/lib/x86_64-linux-gnu/libm.so.6")}},
    };
    for (const auto& [what, candidates] : cases) {
        SCOPED_TRACE(what);
        test::FakeClock clock;
        LoadedSound sound(candidates, clock);
        EXPECT_FALSE(sound.loaded());
        EXPECT_FALSE(sound.failure().isEmpty());
        sound.play(kWav);
        EXPECT_EQ(clock.slept(), 0);
        EXPECT_FALSE(sound.start(PcmFormat{}));
        EXPECT_TRUE(sound.stop().isEmpty());
        EXPECT_FALSE(sound.prepare());
        EXPECT_EQ(sound.check(notAModule, QStringLiteral("hello"), {}).verdict, ReadingVerdict::Unavailable);
    }
}

} // namespace
