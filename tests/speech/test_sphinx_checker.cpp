#include "MediaTestKit.h"
#include "speech/SphinxChecker.h"

#include <QDir>
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
    // A reading spoken by a synthetic voice other than the course's own.
    QString speak(const QString& text)
    {
        const QString file =
            m_dir.filePath(QString(text).replace(QLatin1Char(' '), QLatin1Char('_')) + ".wav");
        QProcess flite;
        flite.start(QStringLiteral("flite"), {QStringLiteral("-voice"), QStringLiteral("kal16"),
                                              QStringLiteral("-t"), text, QStringLiteral("-o"), file});
        EXPECT_TRUE(flite.waitForFinished(30000));
        EXPECT_EQ(flite.exitCode(), 0);
        return file;
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

} // namespace
