#include "report/ReportPainter.h"

#include "report/ProgressReport.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <optional>

namespace lexora {

namespace {

const QColor kDone(0x2e, 0x9d, 0x4f);
const QColor kOpen(0xb8, 0xb8, 0xb8);
const QColor kInk(0x22, 0x22, 0x22);
const QColor kFaint(0x77, 0x77, 0x77);
const QColor kBar(0x1f, 0x6f, 0xb2);
const QColor kRightLine(0xe6, 0x7e, 0x22);
// Paper is laid out in tenths of a millimetre.
constexpr qreal kDotsPerInch = 254.0;
constexpr qreal kPaperLine = 50.0; // 5 mm

QFont fontOf(qreal size, bool bold = false)
{
    // A PDF names each glyph by the lowest code point the font gives it; Noto CJK shares its
    // ideographs' glyphs with the Kangxi radicals, so a parent copying "小" from the file would get
    // the radical "⼩". WenQuanYi has no radicals; Noto stands in where it is missing.
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
    font.setBold(bold);
    return font;
}

struct GridShape
{
    qreal nameWidth;
    qreal cellWidth;
    qreal cellHeight;
    qreal gap;
    int perLine;
};

GridShape gridShape(qreal width, qreal u)
{
    GridShape shape{std::min(7 * u, width * 0.3), 2.2 * u, 2.4 * u, 0.3 * u, 1};
    shape.perLine = std::max(1, static_cast<int>((width - shape.nameWidth) / (shape.cellWidth + shape.gap)));
    return shape;
}

int linesOf(const ProgressReport::Book& book, const GridShape& shape)
{
    const int units = static_cast<int>(book.units.size());
    return std::max(1, (units + shape.perLine - 1) / shape.perLine);
}

// One mark of a unit: a small square with the activity's letter, green once it is done.
void drawMark(QPainter& painter, const QRectF& box, const QString& letter, bool done, qreal u)
{
    painter.setPen(QPen(done ? kDone : kOpen, u * 0.06));
    painter.setBrush(done ? kDone : Qt::white);
    painter.drawRoundedRect(box, u * 0.12, u * 0.12);
    painter.setPen(done ? Qt::white : kFaint);
    painter.setFont(fontOf(u * 0.5, done));
    painter.drawText(box, Qt::AlignCenter, letter);
}

void drawCell(QPainter& painter, const QRectF& cell, int number, const ProgressReport::Unit& unit, qreal u)
{
    painter.setPen(QPen(kOpen, u * 0.04));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(cell, u * 0.2, u * 0.2);
    painter.setPen(kInk);
    painter.setFont(fontOf(u * 0.55, true));
    painter.drawText(QRectF(cell.left(), cell.top() + u * 0.1, cell.width(), u), Qt::AlignCenter,
                     QString::number(number));
    if (!unit.known)
        return;
    const qreal side = u * 0.8;
    const qreal top = cell.bottom() - side - u * 0.25;
    const qreal left = cell.center().x() - side - u * 0.08;
    drawMark(painter, QRectF(left, top, side, side), QStringLiteral("测"), unit.testDone, u);
    drawMark(painter, QRectF(left + side + u * 0.16, top, side, side), QStringLiteral("拼"),
             unit.spellingDone, u);
}

qreal drawTextLine(QPainter& painter, qreal y, qreal width, const QString& text, const QFont& font,
                   const QColor& colour = kInk)
{
    painter.setFont(font);
    painter.setPen(colour);
    const QRectF box(0, y, width, font.pixelSize() * 1.6);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    return y + box.height();
}

// The picture fitted into box, its shape kept.
void drawPicture(QPainter& painter, const QRectF& box, const QImage& picture)
{
    painter.setPen(QPen(kOpen, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    if (picture.isNull())
        return;
    QSizeF size = picture.size();
    size.scale(box.size() * 0.94, Qt::KeepAspectRatio);
    const QRectF target(box.center().x() - size.width() / 2, box.center().y() - size.height() / 2,
                        size.width(), size.height());
    painter.drawImage(target, picture);
}

QString heading(const ProgressReport& report, const QString& learnerName)
{
    QStringList parts;
    if (!learnerName.isEmpty())
        parts << QStringLiteral("学习者：%1").arg(learnerName);
    parts << QStringLiteral("课程：%1").arg(report.courseTitle)
          << QStringLiteral("日期：%1").arg(ReportDate(report));
    return parts.join(QStringLiteral("　　"));
}

} // namespace

QString CompletionText(const ProgressReport& report)
{
    return QStringLiteral("单元测试完成 %1 个，单词拼写完成 %2 个，共 %3 个单元")
        .arg(report.unitsWith(&ProgressReport::Unit::testDone))
        .arg(report.unitsWith(&ProgressReport::Unit::spellingDone))
        .arg(report.unitCount());
}

namespace {

QString weakestText(const ProgressReport& report)
{
    if (report.weakest.empty())
        return QStringLiteral("还没有答错过的单词。");
    QStringList words;
    for (const ProgressReport::WeakWord& word : report.weakest)
        words << word.english;
    return QStringLiteral("最需要练习的单词：%1（见练习单）").arg(words.join(QStringLiteral("、")));
}

void paintSummary(QPainter& painter, qreal width, qreal height, const ProgressReport& report,
                  const QString& learnerName)
{
    const qreal u = kPaperLine;
    qreal y = drawTextLine(painter, 0, width, QStringLiteral("学习报告"), fontOf(u * 1.2, true));
    y = drawTextLine(painter, y, width, heading(report, learnerName), fontOf(u * 0.62));
    y += u * 0.6;
    y = drawTextLine(painter, y, width, QStringLiteral("单元完成情况"), fontOf(u * 0.8, true));
    y = drawTextLine(painter, y, width, CompletionText(report), fontOf(u * 0.6), kFaint);
    // A course with many books is drawn smaller rather than cut: the chart and the rest need 16 lines.
    const qreal room = height - y - 16 * u;
    const qreal natural = CompletionGridHeight(report, width, u);
    const qreal gridU = natural > room && room > 0 ? u * room / natural : u;
    const qreal gridHeight = CompletionGridHeight(report, width, gridU);
    DrawCompletionGrid(painter, QRectF(0, y, width, gridHeight), report, gridU);
    y += gridHeight + u * 0.6;
    y = drawTextLine(painter, y, width, QStringLiteral("最近四周的测试"), fontOf(u * 0.8, true));
    DrawTestChart(painter, QRectF(0, y, width, 9 * u), report, u);
    y += 9.6 * u;
    y = drawTextLine(painter, y, width, NotebookText(report), fontOf(u * 0.62));
    painter.setFont(fontOf(u * 0.62));
    painter.setPen(kInk);
    painter.drawText(QRectF(0, y, width, 3 * u), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     weakestText(report));
}

// One word of the practice sheet: its picture, the word and its meaning, and a line to write it on.
void paintPracticeRow(QPainter& painter, qreal y, qreal width, const ProgressReport::WeakWord& word, qreal u)
{
    const qreal side = 5 * u;
    drawPicture(painter, QRectF(0, y, side, side), word.picture);
    const qreal textLeft = side + u * 0.6;
    const qreal textWidth = width * 0.45 - textLeft;
    painter.setPen(kInk);
    painter.setFont(fontOf(u * 0.95, true));
    painter.drawText(QRectF(textLeft, y + u * 0.6, textWidth, 1.6 * u), Qt::AlignLeft | Qt::AlignVCenter,
                     word.english);
    painter.setFont(fontOf(u * 0.7));
    painter.drawText(QRectF(textLeft, y + 2.3 * u, textWidth, 1.4 * u), Qt::AlignLeft | Qt::AlignVCenter,
                     word.chinese);
    painter.setPen(kFaint);
    painter.setFont(fontOf(u * 0.5));
    painter.drawText(QRectF(textLeft, y + 3.7 * u, textWidth, 1.0 * u), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("答错 %1 次，答对 %2 次").arg(word.wrong).arg(word.right));
    painter.setPen(QPen(kInk, u * 0.04));
    const qreal lineY = y + 4.2 * u;
    painter.drawLine(QPointF(width * 0.48, lineY), QPointF(width, lineY));
}

void paintPractice(QPainter& painter, QPagedPaintDevice& device, qreal width, qreal height,
                   const ProgressReport& report)
{
    const qreal u = kPaperLine;
    const qreal row = 6.2 * u;
    qreal y = height; // the first word starts a page
    for (const ProgressReport::WeakWord& word : report.weakest) {
        if (y + row > height) {
            device.newPage();
            y = drawTextLine(painter, 0, width, QStringLiteral("单词练习单"), fontOf(u * 1.2, true));
            y = drawTextLine(painter, y, width,
                             QStringLiteral("看图读一读单词和中文，再在横线上写一写这个单词。"),
                             fontOf(u * 0.62), kFaint);
            y += u * 0.6;
        }
        paintPracticeRow(painter, y, width, word, u);
        y += row;
    }
}

} // namespace

qreal CompletionGridHeight(const ProgressReport& report, qreal width, qreal u)
{
    const GridShape shape = gridShape(width, u);
    qreal height = 1.4 * u; // the legend
    for (const ProgressReport::Book& book : report.books)
        height += linesOf(book, shape) * (shape.cellHeight + shape.gap) + shape.gap;
    return height;
}

void DrawCompletionGrid(QPainter& painter, const QRectF& area, const ProgressReport& report, qreal u)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const GridShape shape = gridShape(area.width(), u);
    qreal y = area.top();
    for (const ProgressReport::Book& book : report.books) {
        painter.setPen(kInk);
        painter.setFont(fontOf(u * 0.6, true));
        painter.drawText(QRectF(area.left(), y, shape.nameWidth - u * 0.3, shape.cellHeight),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, book.name);
        for (size_t i = 0; i < book.units.size(); ++i) {
            const int line = static_cast<int>(i) / shape.perLine;
            const int column = static_cast<int>(i) % shape.perLine;
            const QRectF cell(area.left() + shape.nameWidth + column * (shape.cellWidth + shape.gap),
                              y + line * (shape.cellHeight + shape.gap), shape.cellWidth, shape.cellHeight);
            drawCell(painter, cell, static_cast<int>(i) + 1, book.units[i], u);
        }
        y += linesOf(book, shape) * (shape.cellHeight + shape.gap) + shape.gap;
    }
    painter.setPen(kFaint);
    painter.setFont(fontOf(u * 0.5));
    painter.drawText(QRectF(area.left(), y, area.width(), 1.4 * u), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("每格是一个单元：“测”是单元测试，“拼”是单词拼写，绿色表示已经完成。"));
    painter.restore();
}

void DrawTestChart(QPainter& painter, const QRectF& area, const ProgressReport& report, qreal u)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(fontOf(u * 0.5));
    painter.setPen(kFaint);
    const QRectF caption(area.left(), area.top(), area.width(), 1.2 * u);
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("每天完成的测试次数（柱）和答对的比例（点，上沿为 100%）"));
    painter.drawText(caption, Qt::AlignRight | Qt::AlignVCenter, RightShareText(report));
    const QRectF plot(area.left() + 1.6 * u, caption.bottom() + 0.4 * u, area.width() - 1.8 * u,
                      area.height() - caption.height() - 1.8 * u);
    int most = 1;
    int total = 0;
    for (const ProgressReport::Day& day : report.days) {
        most = std::max(most, day.tests);
        total += day.tests;
    }
    painter.setPen(QPen(kOpen, u * 0.03));
    for (int tick : {0, (most + 1) / 2, most}) {
        const qreal y = plot.bottom() - plot.height() * tick / most;
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.drawText(QRectF(area.left(), y - 0.5 * u, 1.4 * u, u), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(tick));
    }
    if (total == 0) {
        painter.setPen(kFaint);
        painter.drawText(plot, Qt::AlignCenter, QStringLiteral("这几周还没有测试记录"));
    }
    if (report.days.empty()) {
        painter.restore();
        return;
    }
    const qreal slot = plot.width() / static_cast<qreal>(report.days.size());
    std::optional<QPointF> lastDot;
    for (size_t i = 0; i < report.days.size(); ++i) {
        const ProgressReport::Day& day = report.days[i];
        const qreal left = plot.left() + slot * static_cast<qreal>(i);
        const qreal height = plot.height() * day.tests / most;
        painter.setPen(Qt::NoPen);
        painter.setBrush(kBar);
        painter.drawRect(QRectF(left + slot * 0.15, plot.bottom() - height, slot * 0.7, height));
        if (day.asked > 0) {
            // The share of words answered right that day, on the plot's full height.
            const qreal share = static_cast<qreal>(day.asked - day.wrong) / day.asked;
            const QPointF dot(left + slot / 2, plot.bottom() - plot.height() * share);
            if (lastDot) {
                painter.setPen(QPen(kRightLine, u * 0.06));
                painter.drawLine(*lastDot, dot);
            }
            painter.setPen(Qt::NoPen);
            painter.setBrush(kRightLine);
            painter.drawEllipse(dot, u * 0.14, u * 0.14);
            lastDot = dot;
        }
        // Every seventh day is named, counted back from the last, so the last day always is.
        if ((report.days.size() - 1 - i) % 7 == 0) {
            painter.setPen(kFaint);
            painter.drawText(QRectF(left + slot / 2 - 1.5 * u, plot.bottom() + 0.2 * u, 3 * u, 1.2 * u),
                             Qt::AlignHCenter | Qt::AlignTop,
                             QStringLiteral("%1/%2").arg(day.date.month()).arg(day.date.day()));
        }
    }
    painter.restore();
}

QString ReportDate(const ProgressReport& report)
{
    return report.made.toString(QStringLiteral("yyyy年M月d日"));
}

QString RightShareText(const ProgressReport& report)
{
    const auto percent = report.rightPercent();
    if (!percent)
        return QStringLiteral("还没有答过题");
    return QStringLiteral("所有单词的答对率 %1%（共答 %2 次）").arg(*percent).arg(report.answers);
}

QString NotebookText(const ProgressReport& report)
{
    if (report.notebookTotal() == 0)
        return QStringLiteral("错词本里还没有单词。");
    return QStringLiteral("错词本：第一盒 %1 个，第二盒 %2 个，第三盒 %3 个，共 %4 个单词。")
        .arg(report.notebook[0])
        .arg(report.notebook[1])
        .arg(report.notebook[2])
        .arg(report.notebookTotal());
}

void PaintReport(QPainter& painter, QPagedPaintDevice& device, const ProgressReport& report,
                 const QString& learnerName)
{
    const qreal scale = device.logicalDpiY() / kDotsPerInch;
    painter.save();
    painter.scale(scale, scale);
    const qreal width = device.width() / scale;
    const qreal height = device.height() / scale;
    paintSummary(painter, width, height, report, learnerName);
    paintPractice(painter, device, width, height, report);
    painter.restore();
}

bool WriteReportPdf(const QString& file, const ProgressReport& report, const QString& learnerName,
                    QString* error)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("无法写入文件 %1：%2").arg(file, out.errorString());
        return false;
    }
    {
        QPdfWriter writer(&out);
        writer.setTitle(QStringLiteral("学习报告 %1").arg(report.courseTitle));
        writer.setCreator(QStringLiteral("Lexora"));
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer)) {
            out.cancelWriting();
            *error = QStringLiteral("无法生成 PDF 文件 %1").arg(file);
            return false;
        }
        PaintReport(painter, writer, report, learnerName);
        painter.end();
    }
    if (!out.commit()) {
        *error = QStringLiteral("无法写入文件 %1：%2").arg(file, out.errorString());
        return false;
    }
    return true;
}

} // namespace lexora
