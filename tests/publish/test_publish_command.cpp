#include "FakePrompter.h"
#include "publish/PublishCommand.h"
#include "test_publish_tree.h"

#include <QTextStream>

using namespace lexora;

namespace {

class Command : public test::PublishTree
{
protected:
    // Scripts pass the access code as "--code qc"; without it the prompter is asked.
    int run(QStringList arguments, bool withCode = true)
    {
        m_out.clear(), m_err.clear();
        QTextStream out(&m_out), err(&m_err);
        return RunPublishCommand(QStringList{"lexora-publish"} + arguments +
                                     (withCode ? QStringList{"--code", "qc"} : QStringList()),
                                 m_prompter, out, err);
    }

    test::FakePrompter m_prompter;
    QString m_out, m_err;
};

TEST_F(Command, CopyAudioEncodesFoundVoicesAndPrintsTheMissingOnes)
{
    write({{"src1/a/apple.wav", wav("apple")}, {"src2/book.wav", wav("book")}});
    const QString words = writeWords("apple\nbook\npear\n");
    EXPECT_EQ(run({"copy-audio", words, "--source", path("src1"), "--source2", path("src2"), "--dest",
                   path("voice")}),
              kPublishIncomplete);
    EXPECT_EQ(m_out, QStringLiteral("pear\n"));
    EXPECT_TRUE(m_err.contains(QStringLiteral("还有单词没有音频文件")));
    EXPECT_EQ(files("voice"), (QStringList{"apple.abw", "book.abw"}));
    EXPECT_EQ(decoded("voice/book.abw"), wav("book"));

    write({{"src2/pear.wav", wav("pear")}});
    EXPECT_EQ(run({"check-audio", words, "--source2", path("src2")}), kPublishIncomplete);
    EXPECT_EQ(m_out, QStringLiteral("apple\n"));
}

TEST_F(Command, AccessCodeIsAskedUnlessGivenAndAWrongOneWritesNothing)
{
    write({{"pics/apple.jpg", jpg("apple")}, {"pics/notes.txt", "notes"}});
    const QStringList copyAll{"copy-all-pics", "--source", path("pics"), "--dest", path("pdest")};
    m_prompter.queueInput(QStringLiteral("nope"));
    EXPECT_EQ(run(copyAll, false), kPublishRefused);
    EXPECT_TRUE(files("pdest").isEmpty());

    m_prompter.queueInput(QStringLiteral("qc"));
    EXPECT_EQ(run(copyAll, false), kPublishDone);
    EXPECT_EQ(m_out, QStringLiteral("notes.txt\n"));
    EXPECT_EQ(files("pdest"), QStringList{"apple.pet"});
    EXPECT_EQ(m_prompter.texts(), (std::vector<QString>(2, QStringLiteral("password:"))));
}

} // namespace
