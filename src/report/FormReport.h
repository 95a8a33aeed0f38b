#pragma once

#include "report/ProgressReport.h"

#include <QDialog>
#include <functional>
#include <memory>

namespace Ui {
class FormReport;
}

namespace lexora {

class Prompter;

// The progress report of the open learner and course for a parent: the units done, the tests of the
// last weeks, the weakest words and the mistake notebook; printed or saved as a PDF from here. The
// detailed record views are the main window's: this window asks for them.
class FormReport final : public QDialog
{
    Q_OBJECT
public:
    // The dialog's result when the parent asked for every word's error counts (shown in the main
    // window, so the report closes first).
    static constexpr int kShowErrorCounts = 2;

    FormReport(ProgressReport report, QString learnerName, Prompter& prompter, QWidget* parent = nullptr);
    ~FormReport() override;

    // Asks where the PDF goes; empty when the parent cancels. A save dialog unless replaced.
    void setPdfFileAsker(std::function<QString(const QString& suggested)> ask)
    {
        m_askPdfFile = std::move(ask);
    }

    void cmdPrint_Click();
    void cmdPdf_Click();

Q_SIGNALS:
    void historyRequested();
    void statusRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillWeakWords();
    // The grid and the chart, drawn for the screen's pixel ratio.
    void drawPictures();
    QString suggestedPdfName() const;

    std::unique_ptr<Ui::FormReport> ui;
    ProgressReport m_report;
    QString m_learnerName;
    Prompter& m_prompter;
    std::function<QString(const QString&)> m_askPdfFile;
};

} // namespace lexora
