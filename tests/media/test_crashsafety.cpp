#include "MediaTestKit.h"
#include "media/MediaFiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <random>
#include <thread>

using namespace lexora;
using namespace lexora::test;

namespace {

// A helper process encodes and decodes one voice in a loop and is killed at random moments. Whatever
// the moment, the folder holds no partial file: the plain and/or the encoded form, each whole.
TEST(MediaCrashSafety, KillingAnEncoderNeverLosesOrHalfTransformsTheFile)
{
    QTemporaryDir dir;
    const QString voice = dir.filePath(QStringLiteral("voice"));
    ASSERT_TRUE(QDir().mkpath(voice));
    const QString word = QStringLiteral("ice cream");
    const QString plainName = word + QStringLiteral(".wav");
    const QString encodedName = word + QStringLiteral(".abw");
    // Large enough that a kill often lands inside a write.
    const QByteArray plain = TestWav(PcmFormat{2, 16, 44100}, 64 * 1024, 1);
    const QByteArray encoded = Encoded(plain);
    WriteFile(voice + QLatin1Char('/') + plainName, plain);

    std::mt19937 rng(20261206);
    std::uniform_int_distribution<int> delayUs(0, 30000);
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE(round);
        QProcess helper;
        helper.start(QStringLiteral(LEXORA_CRASH_HELPER), {dir.path(), word});
        ASSERT_TRUE(helper.waitForStarted(5000));
        ASSERT_TRUE(helper.waitForReadyRead(10000)) << "the helper never finished a round";
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(rng)));
        helper.kill();
        ASSERT_TRUE(helper.waitForFinished(5000));
        ASSERT_EQ(helper.exitStatus(), QProcess::CrashExit) << "it was still working when killed";

        const QStringList files = FilesIn(voice);
        ASSERT_FALSE(files.isEmpty()) << "the voice was lost";
        for (const QString& name : files) {
            const QByteArray bytes = ReadFile(voice + QLatin1Char('/') + name);
            if (name == plainName)
                ASSERT_EQ(bytes, plain) << "the plain file is not whole";
            else if (name == encodedName)
                ASSERT_EQ(bytes, encoded) << "the encoded file is not whole";
            else
                FAIL() << "stray file " << name.toStdString();
        }
    }

    // The next use settles whatever a kill left: exactly one whole encoded file.
    MediaFiles media(MediaFolders(QString(), dir.path()));
    ASSERT_TRUE(media.TakeWordSound(word).has_value());
    EXPECT_EQ(FilesIn(voice), QStringList{encodedName});
    EXPECT_EQ(ReadFile(voice + QLatin1Char('/') + encodedName), encoded);
}

} // namespace
