#include "app/LoadedChecker.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lexora;

namespace {

TEST(LoadedChecker, TheBuiltModuleChecks)
{
    // A first candidate that is missing is passed over.
    LoadedChecker checker(
        {QStringLiteral("/nonexistent/lexora-speech.so"), QStringLiteral(LEXORA_TEST_SPEECH_MODULE)});
    EXPECT_TRUE(checker.failure().isEmpty()) << qPrintable(checker.failure());
    ASSERT_TRUE(checker.prepare());
    // No reading at all is too little to judge, which only a loaded recogniser says.
    EXPECT_EQ(checker.check(QStringLiteral("/nonexistent.wav"), QStringLiteral("hello"), {}).verdict,
              ReadingVerdict::Silent);
}

TEST(LoadedChecker, AnInstalledProgramLooksInItsLibraryFolder)
{
    const QStringList candidates = LoadedChecker::Candidates(QStringLiteral("/opt/lexora/bin"));
    EXPECT_EQ(candidates.value(0), QStringLiteral("/opt/lexora/bin/lexora-speech.so"));
    EXPECT_EQ(candidates.value(1), QStringLiteral("/opt/lexora/" LEXORA_TEST_MODULE_DIR "/lexora-speech.so"));
}

TEST(LoadedChecker, WithoutAModuleTheCheckIsUnavailable)
{
    QTemporaryDir folder;
    const QString notAModule = folder.filePath(QStringLiteral("lexora-speech.so"));
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
        LoadedChecker checker(candidates);
        EXPECT_FALSE(checker.failure().isEmpty());
        EXPECT_FALSE(checker.prepare());
        EXPECT_EQ(checker.check(notAModule, QStringLiteral("hello"), {}).verdict,
                  ReadingVerdict::Unavailable);
    }
}

} // namespace
