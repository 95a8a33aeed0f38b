#include "MediaTestKit.h"
#include "speech/SphinxChecker.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lexora;

namespace {

const QStringList kUnit = {QStringLiteral("apple"), QStringLiteral("banana"), QStringLiteral("orange"),
                           QStringLiteral("ice cream"), QStringLiteral("T-shirt")};

class SphinxCheckerTest : public ::testing::Test
{
protected:
    // A reading spoken by a synthetic voice other than the course's own, pitched up by `cents` as a
    // stand-in for a child's voice.
    QString speak(const QString& text, int cents = 0)
    {
        const QString file =
            m_dir.filePath(QString(text).replace(QLatin1Char(' '), QLatin1Char('_')) + ".wav");
        run(QStringLiteral("flite"), {QStringLiteral("-voice"), QStringLiteral("kal16"), QStringLiteral("-t"),
                                      text, QStringLiteral("-o"), file});
        if (cents == 0)
            return file;
        const QString high = m_dir.filePath(QStringLiteral("high_") + QFileInfo(file).fileName());
        run(QStringLiteral("sox"), {file, high, QStringLiteral("pitch"), QString::number(cents)});
        return high;
    }
    static void run(const QString& program, const QStringList& args)
    {
        QProcess process;
        process.start(program, args);
        EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
        EXPECT_EQ(process.exitCode(), 0) << program.toStdString();
    }
    QString silence()
    {
        const QString file = m_dir.filePath(QStringLiteral("silence.wav"));
        test::WriteFile(file, MakeWav({2, 16, 44100}, QByteArray(44100 * 4, '\0')));
        return file;
    }
    QTemporaryDir m_dir;
};

TEST_F(SphinxCheckerTest, ModelMissingMeansUnavailable)
{
    SphinxChecker checker(m_dir.filePath(QStringLiteral("no-model")));
    EXPECT_FALSE(checker.prepare());
    EXPECT_EQ(checker.check(silence(), QStringLiteral("apple"), kUnit).verdict, ReadingVerdict::Unavailable);
}

TEST_F(SphinxCheckerTest, HearsTheWordAndTellsItFromAnother)
{
    SphinxChecker checker;
    if (!checker.prepare())
        GTEST_SKIP() << "the English model of the recogniser is not installed";
    const QString apple = speak(QStringLiteral("apple"));
    const QString iceCream = speak(QStringLiteral("ice cream"));

    const ReadingResult right = checker.check(apple, QStringLiteral("apple"), kUnit);
    EXPECT_EQ(right.verdict, ReadingVerdict::Good) << right.hypothesis.toStdString();
    EXPECT_EQ(right.hypothesis, QStringLiteral("apple"));

    const ReadingResult wrong = checker.check(apple, QStringLiteral("banana"), kUnit);
    EXPECT_EQ(wrong.verdict, ReadingVerdict::Again) << wrong.hypothesis.toStdString();

    const ReadingResult phrase = checker.check(iceCream, QStringLiteral("ice cream"), kUnit);
    EXPECT_EQ(phrase.verdict, ReadingVerdict::Good) << phrase.hypothesis.toStdString();

    EXPECT_EQ(checker.check(silence(), QStringLiteral("apple"), kUnit).verdict, ReadingVerdict::Silent);
}

TEST_F(SphinxCheckerTest, HearsAHighVoiceWithoutLeniency)
{
    // No near miss counts here: the word must be heard outright, through the warped spectrum.
    SphinxChecker checker(SphinxChecker::DefaultModelFolder(), Leniency{-1e9, -1e9});
    if (!checker.prepare())
        GTEST_SKIP() << "the English model of the recogniser is not installed";
    const QStringList unit = {QStringLiteral("hello"), QStringLiteral("hi"), QStringLiteral("I'm"),
                              QStringLiteral("goodbye")};
    const QString hello = speak(QStringLiteral("hello"), 700);

    const ReadingResult right = checker.check(hello, QStringLiteral("hello"), unit);
    EXPECT_EQ(right.verdict, ReadingVerdict::Good) << right.hypothesis.toStdString();
    const ReadingResult wrong = checker.check(hello, QStringLiteral("hi"), unit);
    EXPECT_EQ(wrong.verdict, ReadingVerdict::Again) << wrong.hypothesis.toStdString();
}

} // namespace
