// The help dialog: which file each load shows, a missing file, its layout.
#include "MediaTestKit.h"
#include "app/FormHelp.h"
#include "views/Geometry.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

class HelpTest : public ::testing::Test, public WithApplication
{
protected:
    QTemporaryDir dir;
    void write(const char* name, const QString& text)
    {
        WriteFile(dir.filePath(QLatin1String(name)), text.toUtf8());
    }
};

TEST_F(HelpTest, EachLoadReplacesWhatWasShown)
{
    write("help.txt", QStringLiteral("如何使用"));
    write("ppkhelp.txt", QStringLiteral("排排看玩法"));
    write("support.txt", QStringLiteral("技术支持"));
    FormHelp help(dir.path());
    help.Load_Help();
    EXPECT_EQ(help.shownText(), QStringLiteral("如何使用"));
    help.Load_PPKHelp();
    EXPECT_EQ(help.shownText(), QStringLiteral("排排看玩法"));
    help.Load_AppHelp();
    EXPECT_EQ(help.shownText(), QStringLiteral("技术支持"));
}

TEST_F(HelpTest, AMissingFileShowsAnEmptyBox)
{
    write("help.txt", QStringLiteral("如何使用"));
    FormHelp help(dir.path());
    help.Load_Help();
    help.Load_PPKHelp();
    EXPECT_TRUE(help.shownText().isEmpty());
}

TEST_F(HelpTest, TheProgramsOwnTextsAreDistinctChineseTexts)
{
    FormHelp help(QStringLiteral(LEXORA_HELP_SOURCE));
    QStringList texts;
    for (auto load : {&FormHelp::Load_Help, &FormHelp::Load_PPKHelp, &FormHelp::Load_AppHelp}) {
        (help.*load)();
        texts << help.shownText();
        EXPECT_GT(texts.back().size(), 200);
        EXPECT_TRUE(texts.back().contains(QStringLiteral("单词")));
    }
    EXPECT_TRUE(texts[1].contains(QStringLiteral("单词排排看")));
    EXPECT_EQ(texts.removeDuplicates(), 0);
}

TEST_F(HelpTest, TheLayoutKeepsTheDrawnTwips)
{
    FormHelp help(dir.path());
    EXPECT_EQ(help.size(), QSize(Px(8175), Px(7305)));
    EXPECT_EQ(help.findChild<QTextEdit*>(QStringLiteral("txtHelp"))->geometry(), TwipsRect(0, 0, 8175, 6495));
    const auto* ok = help.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    EXPECT_EQ(ok->geometry(), TwipsRect(1680, 6720, 5055, 375));
    EXPECT_EQ(ok->text(), QStringLiteral("知道啦"));
}

} // namespace
} // namespace lexora::test
