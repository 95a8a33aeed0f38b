#pragma once

#include <QString>
#include <QStringList>
#include <Qt>
#include <vector>

class QTreeWidget;

namespace lexora {

class CWordType;

// A column of a list in report form; its width is the fraction num/den of the list's width.
struct ReportColumn
{
    QString header;
    int num;
    int den;
    Qt::Alignment alignment;
};

// Replaces the columns and rows of a report list: headers, widths from the list's present width,
// and the alignment every row added afterwards takes (see AddReportRow).
void SetUpReportColumns(QTreeWidget& list, const std::vector<ReportColumn>& columns);
// Adds a row in the columns' alignments.
void AddReportRow(QTreeWidget& list, const QStringList& cells);

// "01" to "09" for the first nine words, then "10", "11", ... (index is 0-based).
QString RowNumberText(int index);

std::vector<ReportColumn> ErrNumColumns();
std::vector<ReportColumn> TestResultColumns();

QStringList ErrNumRow(int index, const CWordType& word);
// The rows of the words passed in the last test run, in list order; errors counts those marked wrong.
std::vector<QStringList> TestResultRows(const std::vector<CWordType>& words, int wordNum, int* errors);
QString TestResultSummary(int tested, int errors);

// Sorting by a clicked column's text: every click toggles the direction, the first one to descending.
struct ListSort
{
    int key = 0;
    Qt::SortOrder order = Qt::AscendingOrder;
    bool sorted = false;

    void clicked(int column);
};

} // namespace lexora
