#include "publish/FormPublish.h"
#include "publish/PublishServices.h"
#include "test_publish_tree.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace lexora;

namespace {

struct FakeFileChooser final : FileChooser
{
    QStringList answers; // none left: cancelled
    QString openFile(const QString&) override { return answers.isEmpty() ? QString() : answers.takeFirst(); }
    QString openFolder(const QString& title) override { return openFile(title); }
};
struct FakeClipboard final : Clipboard
{
    std::optional<QString> text;
    void setText(const QString& value) override { text = value; }
};

class FormPublishTest : public test::WithApplication, public test::PublishTree
{
protected:
    template <typename W> W* find(const char* name) const { return m_form.findChild<W*>(name); }
    void click(const char* button) { find<QPushButton>(button)->click(); }

    QStringList listed() const
    {
        QStringList out;
        for (int row = 0; row < find<QListWidget>("List1")->count(); ++row)
            out.append(find<QListWidget>("List1")->item(row)->text());
        return out;
    }

    test::FakePrompter m_prompter;
    FakeFileChooser m_files;
    FakeClipboard m_clipboard;
    test::FakeShellOpener m_shell;
    FormPublish m_form{{m_prompter, m_files, m_clipboard, m_shell}};
};

TEST_F(FormPublishTest, OnlyTheExactAccessCodeOpensTheWindow)
{
    const std::pair<std::optional<QString>, bool> cases[] = {
        {"qc", true}, {"qq", false}, {"QC", false}, {"qc ", false}, {std::nullopt, false}};
    for (const auto& [answer, opens] : cases) {
        test::FakePrompter prompter;
        FormPublish form({prompter, m_files, m_clipboard, m_shell});
        prompter.queueInput(answer);
        EXPECT_EQ(form.Form_Load(), opens) << answer.value_or("cancelled").toStdString();
        EXPECT_EQ(form.isVisible(), opens);
        EXPECT_EQ(prompter.texts(), std::vector<QString>{QStringLiteral("password:")});
    }
}

TEST_F(FormPublishTest, ChoosersLoadAndCopyAudioShowTheMissingWordsAndTheMessage)
{
    write({{"src1/a/apple.wav", wav("apple")}});
    // The second load is cancelled.
    m_files.answers = {path("src1"), path("voice"), writeWords("apple\n\n apple \npear\n")};
    for (const char* button : {"cmdAudioSrc1", "cmdAudioDest", "cmdALL", "cmdALL"})
        click(button);
    EXPECT_EQ(find<QLineEdit>("txtAudioSrc1")->text(), path("src1/"));
    EXPECT_EQ(listed(), (QStringList{"apple", "pear"}));
    EXPECT_TRUE(m_prompter.asked().empty());
    click("cmdCopyAudio");
    EXPECT_EQ(listed(), QStringList{"pear"});
    EXPECT_EQ(find<QLabel>("lblItemNum")->text(), QStringLiteral("缺乏音频文件的单词"));
    EXPECT_EQ(m_prompter.texts(), std::vector<QString>{QStringLiteral("还有单词没有音频文件")});
    EXPECT_EQ(files("voice"), QStringList{"apple.abw"});

    click("cmdCheckPic");
    EXPECT_EQ(listed(), (QStringList{"apple", "pear"}));
    EXPECT_EQ(find<QLabel>("lblItemNum")->text(), QStringLiteral("缺乏图片文件的单词:\n2"));
}

TEST_F(FormPublishTest, EncryptTwiceRestoresTheBytesAndACancelDoesNothing)
{
    const QByteArray original = wav("db");
    m_files.answers = QStringList(2, write({{"lexora.pet", original}}));
    click("cmdEncrypt");
    EXPECT_NE(read("lexora.pet"), original);
    click("cmdEncrypt");
    EXPECT_EQ(read("lexora.pet"), original);
    click("cmdEncrypt"); // cancelled
    EXPECT_EQ(m_prompter.texts(), (std::vector<QString>(2, QStringLiteral("OK"))));
}

TEST_F(FormPublishTest, DoubleClickSearchesForOneWordAndCopyPutsTheListOnTheClipboard)
{
    m_files.answers = {writeWords("apple\nice cream\nbook\n")};
    click("cmdALL");
    auto* list = find<QListWidget>("List1");
    list->item(1)->setText(QStringLiteral(" ice cream ")); // blanks as an author might leave them
    Q_EMIT list->itemDoubleClicked(list->item(1));
    EXPECT_EQ(m_clipboard.text, QStringLiteral("ice cream"));
    ASSERT_EQ(m_shell.opened.size(), 1u);
    EXPECT_TRUE(m_shell.opened.front().toEncoded().contains("q=ice%20cream"));
    EXPECT_EQ(listed(), (QStringList{"apple", "book"}));

    click("cmdCopy");
    EXPECT_EQ(m_clipboard.text, QStringLiteral("\r\napple\r\nbook"));
    EXPECT_EQ(m_prompter.texts(), std::vector<QString>{QStringLiteral("OK")});
}

} // namespace
