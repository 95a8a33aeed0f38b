#include "report/FormReport.h"

#include "media/PageScale.h"
#include "report/ReportPainter.h"
#include "store/Prompter.h"
#include "ui_FormReport.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

namespace lexora {

namespace {

const QString kTitle = QStringLiteral("学习报告");
constexpr qreal kGridLine = 22;
constexpr qreal kChartLine = 20;

// A picture of size `size` drawn by `draw`, sharp at the given pixel ratio.
QPixmap drawn(QSize size, qreal ratio, const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    draw(painter);
    return pixmap;
}

} // namespace

FormReport::FormReport(ProgressReport report, QString learnerName, Prompter& prompter, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::FormReport>()), m_report(std::move(report)),
      m_learnerName(std::move(learnerName)), m_prompter(prompter)
{
    ui->setupUi(this);
    setFixedSize(size());
    const QString who = m_learnerName.isEmpty() ? QString() : QStringLiteral("【%1】").arg(m_learnerName);
    ui->lblHeading->setText(
        QStringLiteral("%1%2　　%3").arg(m_report.courseTitle, who, ReportDate(m_report)));
    ui->lblHeading->setAccessibleName(ui->lblHeading->text());
    ui->lblGridTitle->setText(QStringLiteral("单元完成情况（%1）").arg(CompletionText(m_report)));
    ui->lblGridTitle->setAccessibleName(ui->lblGridTitle->text());
    ui->lblNotebook->setText(NotebookText(m_report));
    ui->lblNotebook->setAccessibleName(ui->lblNotebook->text());
    ui->picChart->setToolTip(RightShareText(m_report));
    fillWeakWords();
    drawPictures();
    connect(ui->cmdHistory, &QPushButton::clicked, this, &FormReport::historyRequested);
    connect(ui->cmdStatus, &QPushButton::clicked, this, &FormReport::statusRequested);
    connect(ui->cmdErrors, &QPushButton::clicked, this, [this] { done(kShowErrorCounts); });
    connect(ui->cmdPrint, &QPushButton::clicked, this, &FormReport::cmdPrint_Click);
    connect(ui->cmdPdf, &QPushButton::clicked, this, &FormReport::cmdPdf_Click);
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    m_askPdfFile = [this](const QString& suggested) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("导出 PDF"), suggested,
                                            QStringLiteral("PDF 文件 (*.pdf)"));
    };
}

FormReport::~FormReport() = default;

void FormReport::showEvent(QShowEvent* event)
{
    // The screen it opens on decides the pixel ratio the pictures are drawn for.
    drawPictures();
    QDialog::showEvent(event);
}

void FormReport::fillWeakWords()
{
    QTableWidget& list = *ui->lstWeak;
    list.setColumnCount(5);
    list.setHorizontalHeaderLabels({QStringLiteral("图片"), QStringLiteral("单词"),
                                    QStringLiteral("中文解释"), QStringLiteral("答错"),
                                    QStringLiteral("答对")});
    list.verticalHeader()->hide();
    list.setRowCount(static_cast<int>(m_report.weakest.size()));
    const int pictureSide = list.iconSize().height();
    for (int row = 0; row < list.rowCount(); ++row) {
        const ProgressReport::WeakWord& word = m_report.weakest[static_cast<size_t>(row)];
        auto* picture = new QTableWidgetItem;
        if (!word.picture.isNull())
            picture->setIcon(QPixmap::fromImage(word.picture));
        picture->setData(Qt::AccessibleTextRole, word.english);
        list.setItem(row, 0, picture);
        list.setItem(row, 1, new QTableWidgetItem(word.english));
        list.setItem(row, 2, new QTableWidgetItem(word.chinese));
        list.setItem(row, 3, new QTableWidgetItem(QString::number(word.wrong)));
        list.setItem(row, 4, new QTableWidgetItem(QString::number(word.right)));
        list.setRowHeight(row, pictureSide + 6);
    }
    // The meaning takes what is left; the others grow with the dialog's scale.
    list.horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    PageScale::setColumnWidths(list, {pictureSide + 8, 100, 100, 44, 44});
}

void FormReport::drawPictures()
{
    const qreal ratio = devicePixelRatioF();
    const int gridWidth = ui->scrGrid->viewport()->width();
    const QSize gridSize(gridWidth,
                         static_cast<int>(CompletionGridHeight(m_report, gridWidth, kGridLine)) + 1);
    ui->picGrid->setPixmap(drawn(gridSize, ratio, [this, gridSize](QPainter& painter) {
        DrawCompletionGrid(painter, QRectF(QPointF(0, 0), gridSize), m_report, kGridLine);
    }));
    const QSize chartSize = ui->picChart->size();
    ui->picChart->setPixmap(drawn(chartSize, ratio, [this, chartSize](QPainter& painter) {
        DrawTestChart(painter, QRectF(QPointF(0, 0), chartSize), m_report, kChartLine);
    }));
}

QString FormReport::suggestedPdfName() const
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    const QString who = m_learnerName.isEmpty() ? QString() : m_learnerName + QLatin1Char('-');
    return folder +
           QStringLiteral("/学习报告-%1%2.pdf").arg(who, m_report.made.toString(QStringLiteral("yyyyMMdd")));
}

void FormReport::cmdPdf_Click()
{
    QString file = m_askPdfFile(suggestedPdfName());
    if (file.isEmpty())
        return;
    if (!file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        file += QLatin1String(".pdf");
    QString error;
    if (!WriteReportPdf(file, m_report, m_learnerName, &error)) {
        m_prompter.message(QStringLiteral("学习报告没有保存。\n%1").arg(error), kTitle, Prompter::Buttons::Ok,
                           Prompter::Icon::Critical);
        return;
    }
    m_prompter.message(QStringLiteral("学习报告已保存到 %1").arg(QDir::toNativeSeparators(file)), kTitle,
                       Prompter::Buttons::Ok, Prompter::Icon::Information);
}

void FormReport::cmdPrint_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(kTitle);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("打印学习报告"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        m_prompter.message(QStringLiteral("无法打印学习报告，请检查打印机。"), kTitle, Prompter::Buttons::Ok,
                           Prompter::Icon::Critical);
        return;
    }
    PaintReport(painter, printer, m_report, m_learnerName);
    painter.end();
}

} // namespace lexora
