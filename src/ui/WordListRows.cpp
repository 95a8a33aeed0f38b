#include "ui/WordListRows.h"

#include "media/PageScale.h"
#include "store/Records.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>

namespace lexora {

namespace {

const char* const kAlignmentsProperty = "lexoraAlignments";

} // namespace

void SetUpReportColumns(QTreeWidget& list, const std::vector<ReportColumn>& columns)
{
    list.clear();
    list.setColumnCount(static_cast<int>(columns.size()));
    QStringList headers;
    QVariantList alignments;
    for (const ReportColumn& c : columns) {
        headers << c.header;
        alignments << static_cast<int>(c.alignment);
    }
    list.setHeaderLabels(headers);
    list.header()->setStretchLastSection(false);
    // The frame's inner width is known before the list is first shown; its viewport's is not.
    const int width = PageScale::geometry(list).width() - 2 * list.frameWidth();
    QList<int> widths;
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        const ReportColumn& c = columns[static_cast<size_t>(i)];
        widths << width * c.num / c.den;
        list.headerItem()->setTextAlignment(i, c.alignment | Qt::AlignVCenter);
    }
    PageScale::setColumnWidths(list, widths);
    list.setProperty(kAlignmentsProperty, alignments);
}

void AddReportRow(QTreeWidget& list, const QStringList& cells)
{
    const QVariantList alignments = list.property(kAlignmentsProperty).toList();
    auto* item = new QTreeWidgetItem(cells);
    for (int i = 0; i < cells.size() && i < alignments.size(); ++i)
        item->setTextAlignment(i, Qt::Alignment(alignments[i].toInt()) | Qt::AlignVCenter);
    list.addTopLevelItem(item);
}

QString RowNumberText(int index)
{
    const int number = index + 1;
    return number <= 9 ? QStringLiteral("0%1").arg(number) : QString::number(number);
}

std::vector<ReportColumn> ErrNumColumns()
{
    return {{QStringLiteral("序号"), 1, 9, Qt::AlignLeft},
            {QStringLiteral("单词"), 1, 4, Qt::AlignHCenter},
            {QStringLiteral("中文解释"), 1, 3, Qt::AlignLeft},
            {QStringLiteral("出错次数"), 1, 8, Qt::AlignHCenter},
            {QStringLiteral("答对次数"), 1, 7, Qt::AlignHCenter}};
}

std::vector<ReportColumn> TestResultColumns()
{
    return {{QStringLiteral("序号"), 1, 9, Qt::AlignLeft},
            {QStringLiteral("单词"), 1, 3, Qt::AlignHCenter},
            {QStringLiteral("中文解释"), 1, 3, Qt::AlignLeft},
            {QStringLiteral("测试结果"), 1, 9, Qt::AlignHCenter}};
}

QStringList ErrNumRow(int index, const CWordType& word)
{
    return {RowNumberText(index), word.English, word.Chinese, QString::number(word.errNum),
            QString::number(word.rightNum)};
}

std::vector<QStringList> TestResultRows(const std::vector<CWordType>& words, int wordNum, int* errors)
{
    std::vector<QStringList> rows;
    int wrong = 0;
    const int n = std::clamp(wordNum, 0, static_cast<int>(words.size()));
    for (int i = 0; i < n; ++i) {
        const CWordType& word = words[static_cast<size_t>(i)];
        if (!word.Tested)
            continue;
        if (word.CurrErr)
            ++wrong;
        rows.push_back({RowNumberText(i), word.English, word.Chinese,
                        word.CurrErr ? QStringLiteral("错误") : QStringLiteral("正确")});
    }
    if (errors)
        *errors = wrong;
    return rows;
}

QString TestResultSummary(int tested, int errors)
{
    return QStringLiteral("本次共测试%1个单词,其中有%2个单词出错！").arg(tested).arg(errors);
}

void ListSort::clicked(int column)
{
    key = column;
    order = order == Qt::DescendingOrder ? Qt::AscendingOrder : Qt::DescendingOrder;
    sorted = true;
}

} // namespace lexora
