#pragma once

#include <QRectF>
#include <QString>

class QPagedPaintDevice;
class QPainter;

namespace lexora {

struct ProgressReport;

// How the report is drawn, on screen and on paper alike. Sizes follow one measure `u`, the height of
// a line of body text in the painter's units.

// Books as rows of unit cells, each with a mark for the unit test and one for the spelling game.
void DrawCompletionGrid(QPainter& painter, const QRectF& area, const ProgressReport& report, qreal u);
// The height the grid takes in a given width.
qreal CompletionGridHeight(const ProgressReport& report, qreal width, qreal u);
// Tests per day over the report's span, with the share of right answers written beside.
void DrawTestChart(QPainter& painter, const QRectF& area, const ProgressReport& report, qreal u);

// The date as the report writes it.
QString ReportDate(const ProgressReport& report);
// How many units are done, as the report words it.
QString CompletionText(const ProgressReport& report);
// The share of right answers as the report words it.
QString RightShareText(const ProgressReport& report);
// The notebook's boxes as the report words them.
QString NotebookText(const ProgressReport& report);

// The whole report on a painter already begun on `device`: the summary page, then the weakest
// words as a practice sheet (picture, word, meaning, a line to write the word), page after page.
void PaintReport(QPainter& painter, QPagedPaintDevice& device, const ProgressReport& report,
                 const QString& learnerName);

// Writes the report as a PDF. The file appears whole or not at all: it is written under another
// name and renamed into place. False with the reason (in the program's words) when it cannot be.
bool WriteReportPdf(const QString& file, const ProgressReport& report, const QString& learnerName,
                    QString* error);

} // namespace lexora
