#include "FakePrompter.h"
#include "publish/PublishCommand.h"
#include "test_publish_tree.h"

#include <QTextStream>

using namespace lexora;
using lexora::test::FakePrompter;
using lexora::test::PublishTree;

namespace {

class Command : public PublishTree
{
protected:
    int run(QStringList arguments)
    {
        m_out.clear();
        m_err.clear();
        QTextStream out(&m_out);
        QTextStream err(&m_err);
        arguments.prepend(QStringLiteral("lexora-publish"));
        return RunPublishCommand(arguments, m_prompter, out, err);
    }

    // Arguments with the access code given, as scripts pass it.
    int runWithCode(QStringList arguments)
    {
        return run(arguments << QStringLiteral("--code") << QStringLiteral("qc"));
    }

    QStringList printed() const { return m_out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }

    FakePrompter m_prompter;
    QString m_out;
    QString m_err;
};

TEST_F(Command, CopyAudioEncodesFoundVoicesAndPrintsTheMissingOnes)
{
    write(QStringLiteral("src1/a/apple.wav"), wav(QStringLiteral("apple")));
    write(QStringLiteral("src2/book.wav"), wav(QStringLiteral("book")));
    const QString words = writeWords("apple\nbook\npear\n");

    EXPECT_EQ(runWithCode({"copy-audio", words, "--source", path("src1"), "--source2", path("src2"), "--dest",
                           path("voice")}),
              kPublishIncomplete);
    EXPECT_EQ(printed(), QStringList{"pear"});
    EXPECT_TRUE(m_err.contains(QStringLiteral("还有单词没有音频文件")));
    EXPECT_EQ(files(QStringLiteral("voice")), (QStringList{"apple.abw", "book.abw"}));
    EXPECT_EQ(decoded(QStringLiteral("voice/book.abw")), wav(QStringLiteral("book")));

    write(QStringLiteral("src2/pear.wav"), wav(QStringLiteral("pear")));
    EXPECT_EQ(runWithCode({"check-audio", words, "--source2", path("src2")}), kPublishIncomplete);
    EXPECT_EQ(printed(), QStringList{"apple"});
    EXPECT_EQ(runWithCode({"check-audio", words, "--source", path("src1"), "--source2", path("src2")}),
              kPublishDone);
    EXPECT_TRUE(printed().isEmpty());
}

TEST_F(Command, PictureCommandsShareTheWindowsWork)
{
    write(QStringLiteral("pics/apple.jpg"), jpg(QStringLiteral("apple")));
    write(QStringLiteral("pics/notes.txt"), QByteArray("notes"));
    const QString words = writeWords("apple\n");

    EXPECT_EQ(runWithCode({"check-pics", words, "--source", path("pics")}), kPublishDone);
    EXPECT_EQ(runWithCode({"copy-pics", words, "--source", path("pics"), "--dest", path("pdest")}),
              kPublishDone);
    EXPECT_EQ(files(QStringLiteral("pdest")), QStringList{"apple.pet"});
    EXPECT_EQ(runWithCode({"copy-all-pics", "--source", path("pics"), "--dest", path("pdest")}),
              kPublishDone);
    EXPECT_EQ(printed(), QStringList{"notes.txt"});
    EXPECT_EQ(runWithCode({"copy-all-audio", "--source", path("pics"), "--dest", path("voice")}),
              kPublishDone);
    EXPECT_TRUE(files(QStringLiteral("voice")).isEmpty());
}

TEST_F(Command, AccessCodeIsAskedUnlessGivenAndAWrongOneWritesNothing)
{
    write(QStringLiteral("pics/apple.jpg"), jpg(QStringLiteral("apple")));
    const QStringList copy{"copy-all-pics", "--source", path("pics"), "--dest", path("pdest")};

    m_prompter.queueInput(QStringLiteral("nope"));
    EXPECT_EQ(run(copy), kPublishRefused);
    EXPECT_EQ(run(QStringList(copy) << QStringLiteral("--code") << QStringLiteral("QC")), kPublishRefused);
    m_prompter.queueInput(std::nullopt);
    EXPECT_EQ(run(copy), kPublishRefused);
    EXPECT_TRUE(files(QStringLiteral("pdest")).isEmpty());

    m_prompter.queueInput(QStringLiteral("qc"));
    EXPECT_EQ(run(copy), kPublishDone);
    EXPECT_EQ(files(QStringLiteral("pdest")), QStringList{"apple.pet"});
    EXPECT_EQ(m_prompter.texts(), (std::vector<QString>(3, QStringLiteral("password:"))));
}

class CommandUsage : public Command, public ::testing::WithParamInterface<QStringList>
{};

TEST_P(CommandUsage, IsRefusedBeforeAnythingIsAsked)
{
    EXPECT_EQ(run(GetParam()), kPublishUsage);
    EXPECT_TRUE(m_err.startsWith(QStringLiteral("usage:")));
    EXPECT_TRUE(m_prompter.asked().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandUsage,
    ::testing::Values(QStringList{}, QStringList{"bogus"}, QStringList{"check-audio"},
                      QStringList{"check-audio", "w.txt"},
                      QStringList{"copy-audio", "w.txt", "--source", "s"},
                      QStringList{"check-pics", "w.txt", "--source", "s", "--dest", "d"},
                      QStringList{"check-pics", "w.txt", "--source", "s", "--source2", "t"},
                      QStringList{"copy-all-pics", "w.txt", "--source", "s", "--dest", "d"},
                      QStringList{"encode", "a", "b"}, QStringList{"check-pics", "w.txt", "--colour", "s"}));

} // namespace
