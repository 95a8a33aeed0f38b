// The handbook page the help links open, made from the help texts.
#include "course/Handbook.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace lexora {
namespace {

TEST(Handbook, TitlesHeadingsAndTextBlocksAreMarkedAndEscaped)
{
    // One help text; what its page must hold.
    const std::pair<const char*, std::vector<const char*>> cases[] = {
        {"\n标题\n\n一、第一部分\n  1. 点“确定”。\n     接着读。\n\n小提示\n",
         {"<h2>标题</h2>", "<h3>一、第一部分</h3>", "<p>  1. 点“确定”。\n     接着读。</p>",
          "<h3>小提示</h3>", "<a href=\"#part1\">标题</a>"}},
        {"A & B\r\n<tag> stays text, not a heading.\r\n",
         {"<h2>A &amp; B</h2>", "<p>&lt;tag&gt; stays text"}},
        {"说明\n遇到问题时，请先看看下面的办法：\n四、跟读比对（需要麦克风）\n",
         {"<p>遇到问题时，请先看看下面的办法：</p>", "<h3>四、跟读比对（需要麦克风）</h3>"}}};
    for (const auto& [text, parts] : cases) {
        const QString page = HandbookHtml({QString::fromUtf8(text)});
        for (const char* part : parts)
            EXPECT_TRUE(page.contains(QString::fromUtf8(part))) << part << "\n" << qPrintable(page);
    }
    EXPECT_FALSE(HandbookHtml({QStringLiteral("\n \n")}).contains(QStringLiteral("<section")))
        << "an empty text makes no part";
}

// Every line of the shipped help texts is on the page, in order, and nothing points off the machine.
TEST(Handbook, TheShippedHelpTextsAreOnThePageWhole)
{
    QStringList texts;
    for (const char* name : {"help.txt", "ppkhelp.txt", "support.txt"}) {
        QFile file(QStringLiteral(LEXORA_HELP_DIR "/") + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        texts << QString::fromUtf8(file.readAll());
    }
    const QString page = HandbookHtml(texts);
    qsizetype at = 0;
    for (const QString& text : texts) {
        for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const qsizetype found = page.indexOf(line.trimmed().toHtmlEscaped(), at);
            ASSERT_GE(found, 0) << qPrintable(line);
            at = found;
        }
    }
    EXPECT_FALSE(page.contains(QStringLiteral("http")));
}

} // namespace
} // namespace lexora
