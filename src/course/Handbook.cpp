#include "course/Handbook.h"

namespace lexora {

namespace {

// Longer lines, or lines that end like a sentence, are text even when they start at the margin.
constexpr int kMaxHeadingLength = 20;

bool isHeading(const QString& line)
{
    static const QString kClosing = QStringLiteral("。，：；！？.,:;!?");
    return !line.isEmpty() && !line.front().isSpace() && line.size() <= kMaxHeadingLength &&
           !kClosing.contains(line.back());
}

QString section(const QString& text, int number)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.front().trimmed().isEmpty())
        lines.removeFirst();
    if (lines.isEmpty())
        return {};
    QString html = QStringLiteral("<section id=\"part%1\">\n<h2>%2</h2>\n")
                       .arg(number)
                       .arg(lines.takeFirst().trimmed().toHtmlEscaped());
    QStringList block;
    const auto flush = [&] {
        if (!block.isEmpty())
            html += QStringLiteral("<p>") + block.join(QLatin1Char('\n')) + QStringLiteral("</p>\n");
        block.clear();
    };
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty()) {
            flush();
        } else if (isHeading(line)) {
            flush();
            html += QStringLiteral("<h3>") + line.trimmed().toHtmlEscaped() + QStringLiteral("</h3>\n");
        } else {
            block << line.toHtmlEscaped();
        }
    }
    flush();
    return html + QStringLiteral("</section>\n");
}

} // namespace

QString HandbookHtml(const QStringList& helpTexts)
{
    QString contents;
    QString body;
    for (int i = 0; i < helpTexts.size(); ++i) {
        const QString part = section(helpTexts[i], i + 1);
        if (part.isEmpty())
            continue;
        const QString title = helpTexts[i].trimmed().section(QLatin1Char('\n'), 0, 0).trimmed();
        contents +=
            QStringLiteral("<li><a href=\"#part%1\">%2</a></li>\n").arg(i + 1).arg(title.toHtmlEscaped());
        body += part;
    }
    return QStringLiteral(
               "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
               "<title>Lexora 使用手册</title>\n<style>\n"
               "body { font-family: \"Noto Sans CJK SC\", sans-serif; max-width: 48em; margin: 2em auto; "
               "padding: 0 1em; line-height: 1.6; color: #222; }\n"
               "h1, h2 { color: #1f6fb2; } h3 { color: #b03a2e; margin-bottom: 0.2em; }\n"
               "p { white-space: pre-wrap; margin: 0.4em 0; }\n"
               "section { border-top: 1px solid #ccc; margin-top: 1.5em; }\n"
               "</style>\n</head>\n<body>\n<h1>Lexora 使用手册</h1>\n<ul>\n") +
           contents + QStringLiteral("</ul>\n") + body + QStringLiteral("</body>\n</html>\n");
}

} // namespace lexora
