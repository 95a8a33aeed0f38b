// The handbook page the help links open, made from the help texts.
#include "course/Handbook.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace lexora {
namespace {

// Every line of the shipped help texts is on the page, in order and escaped, the contents lead to each
// text, and nothing points off the machine.
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
    for (int part = 1; part <= 3; ++part) {
        EXPECT_TRUE(page.contains(QStringLiteral("href=\"#part%1\"").arg(part))) << part;
        EXPECT_TRUE(page.contains(QStringLiteral("id=\"part%1\"").arg(part))) << part;
    }
    EXPECT_FALSE(page.contains(QStringLiteral("http")));
}

} // namespace
} // namespace lexora
