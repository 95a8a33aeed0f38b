#include "FakePrompter.h"
#include "media/ShellOpener.h"
#include "publish/FormPublish.h"
#include "publish/PublishServices.h"
#include "test_publish_tree.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QUrlQuery>
#include <deque>

using namespace lexora;
using lexora::test::FakePrompter;
using lexora::test::PublishTree;

namespace {

class FakeFileChooser final : public FileChooser
{
public:
    std::deque<QString> answers; // empty text: cancelled
    QStringList titles;

    QString openFile(const QString& title) override { return next(title); }
    QString openFolder(const QString& title) override { return next(title); }

private:
    QString next(const QString& title)
    {
        titles.append(title);
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class FakeClipboard final : public Clipboard
{
public:
    std::optional<QString> text;
    void setText(const QString& value) override { text = value; }
};

class FakeShell final : public ShellOpener
{
public:
    std::vector<QUrl> opened;
    bool openUrl(const QUrl& url) override
    {
        opened.push_back(url);
        return true;
    }
};

class FormPublishTest : public PublishTree
{
protected:
    static void SetUpTestSuite()
    {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_publish_form";
            static char* argv[] = {name, nullptr};
            static QApplication app(argc, argv);
        }
    }

    void SetUp() override
    {
        PublishTree::SetUp();
        m_form =
            std::make_unique<FormPublish>(FormPublish::Services{m_prompter, m_files, m_clipboard, m_shell});
    }

    template <typename W = QWidget> W* find(const char* name) const
    {
        W* widget = m_form->findChild<W*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void click(const char* button) { find<QPushButton>(button)->click(); }

    QStringList listed() const
    {
        QStringList out;
        auto* list = find<QListWidget>("List1");
        for (int row = 0; row < list->count(); ++row)
            out.append(list->item(row)->text());
        return out;
    }

    void loadWords(const QByteArray& content)
    {
        m_files.answers.push_back(writeWords(content));
        click("cmdALL");
    }

    FakePrompter m_prompter;
    FakeFileChooser m_files;
    FakeClipboard m_clipboard;
    FakeShell m_shell;
    std::unique_ptr<FormPublish> m_form;
};

struct AccessCase
{
    const char* name;
    std::optional<QString> answer;
    bool opens;
};

void PrintTo(const AccessCase& c, std::ostream* os)
{
    *os << c.name;
}

class FormAccess : public FormPublishTest, public ::testing::WithParamInterface<AccessCase>
{};

TEST_P(FormAccess, OnlyTheExactCodeOpensTheWindow)
{
    m_prompter.queueInput(GetParam().answer);
    EXPECT_EQ(m_form->Form_Load(), GetParam().opens);
    EXPECT_EQ(m_form->isVisible(), GetParam().opens);
    ASSERT_EQ(m_prompter.asked().size(), 1u);
    EXPECT_EQ(m_prompter.asked().front().text, QStringLiteral("password:"));
}

INSTANTIATE_TEST_SUITE_P(Answers, FormAccess,
                         ::testing::Values(AccessCase{"right", QStringLiteral("qc"), true},
                                           AccessCase{"wrong", QStringLiteral("qq"), false},
                                           AccessCase{"capitals", QStringLiteral("QC"), false},
                                           AccessCase{"blank", QStringLiteral("qc "), false},
                                           AccessCase{"cancelled", std::nullopt, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormPublishTest, LoadingShowsTheDistinctWordsAndACancelKeepsThem)
{
    EXPECT_EQ(find<QLineEdit>("txtWordFile")->text(), QStringLiteral("Load Word From This Text File"));
    loadWords("apple\n\n  apple \nice cream\n");
    EXPECT_EQ(listed(), (QStringList{"apple", "ice cream"}));
    EXPECT_EQ(find<QLineEdit>("txtWordFile")->text(), path(QStringLiteral("words.txt")));

    click("cmdALL"); // cancelled
    EXPECT_EQ(listed(), (QStringList{"apple", "ice cream"}));
    EXPECT_EQ(find<QLineEdit>("txtWordFile")->text(), path(QStringLiteral("words.txt")));
    EXPECT_TRUE(m_prompter.asked().empty());
}

TEST_F(FormPublishTest, FolderChoosersFillTheirFieldWithATrailingSeparator)
{
    const std::pair<const char*, const char*> choosers[] = {{"cmdPicSrc", "txtPicSrc"},
                                                            {"cmdPicDest", "txtPicDest"},
                                                            {"cmdAudioSrc1", "txtAudioSrc1"},
                                                            {"cmdAudioSrc2", "txtAudioSrc2"},
                                                            {"cmdAudioDest", "txtAudioDest"}};
    for (const auto& [button, field] : choosers) {
        m_files.answers.push_back(QStringLiteral("/m/") + QLatin1String(field));
        click(button);
        EXPECT_EQ(find<QLineEdit>(field)->text(),
                  QStringLiteral("/m/") + QLatin1String(field) + QLatin1Char('/'));
        click(button); // cancelled
        EXPECT_EQ(find<QLineEdit>(field)->text(),
                  QStringLiteral("/m/") + QLatin1String(field) + QLatin1Char('/'));
    }
}

TEST_F(FormPublishTest, CopyAudioShowsTheMissingWordsAndTheMessage)
{
    write(QStringLiteral("src1/a/apple.wav"), wav(QStringLiteral("apple")));
    find<QLineEdit>("txtAudioSrc1")->setText(path(QStringLiteral("src1")));
    find<QLineEdit>("txtAudioDest")->setText(path(QStringLiteral("voice")));
    loadWords("apple\npear\n");

    click("cmdCopyAudio");
    EXPECT_EQ(listed(), QStringList{"pear"});
    EXPECT_EQ(find<QLabel>("lblItemNum")->text(), QStringLiteral("缺乏音频文件的单词"));
    EXPECT_EQ(m_prompter.texts(), std::vector<QString>{QStringLiteral("还有单词没有音频文件")});
    EXPECT_EQ(files(QStringLiteral("voice")), QStringList{"apple.abw"});

    click("cmdCheckPic");
    EXPECT_EQ(listed(), (QStringList{"apple", "pear"}));
    EXPECT_EQ(find<QLabel>("lblItemNum")->text(), QStringLiteral("缺乏图片文件的单词:\n2"));
}

TEST_F(FormPublishTest, EncryptTwiceRestoresTheBytesAndACancelDoesNothing)
{
    const QByteArray original = wav(QStringLiteral("db"));
    const QString file = write(QStringLiteral("lexora.pet"), original);
    m_files.answers = {file, file};
    click("cmdEncrypt");
    EXPECT_NE(read(QStringLiteral("lexora.pet")), original);
    click("cmdEncrypt");
    EXPECT_EQ(read(QStringLiteral("lexora.pet")), original);
    click("cmdEncrypt"); // cancelled
    EXPECT_EQ(m_prompter.texts(), (std::vector<QString>(2, QStringLiteral("OK"))));
}

TEST_F(FormPublishTest, CopyPutsTheWholeListOnTheClipboard)
{
    loadWords("apple\nbook\n");
    click("cmdCopy");
    EXPECT_EQ(m_clipboard.text, QStringLiteral("\r\napple\r\nbook"));
    EXPECT_EQ(m_prompter.texts(), std::vector<QString>{QStringLiteral("OK")});
}

TEST_F(FormPublishTest, DoubleClickCopiesSearchesAndRemovesTheWord)
{
    loadWords("apple\nice cream\nbook\n");
    auto* list = find<QListWidget>("List1");
    QListWidgetItem* item = list->item(1);
    item->setText(QStringLiteral(" ice cream ")); // blanks around it as an author might leave them
    Q_EMIT list->itemDoubleClicked(item);

    EXPECT_EQ(m_clipboard.text, QStringLiteral("ice cream"));
    ASSERT_EQ(m_shell.opened.size(), 1u);
    EXPECT_EQ(QUrlQuery(m_shell.opened.front()).queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded),
              QStringLiteral("ice cream"));
    EXPECT_TRUE(m_shell.opened.front().toEncoded().contains("q=ice%20cream"));
    EXPECT_EQ(listed(), (QStringList{"apple", "book"}));
}

TEST_F(FormPublishTest, EveryControlHasANameForScreenReadersAndCjkCaptions)
{
    for (QWidget* widget : m_form->findChildren<QWidget*>()) {
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_FALSE(button->text().isEmpty()) << button->objectName().toStdString();
        } else if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QListWidget*>(widget)) {
            EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
        }
    }
    EXPECT_EQ(find<QPushButton>("cmdEncrypt")->font().family(), QStringLiteral("Noto Sans CJK SC"));
}

} // namespace
