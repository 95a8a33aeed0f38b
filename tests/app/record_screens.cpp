// For the screenshot script: the record views the learner's menu keeps switched off (the unit status,
// the test history and every word's error counts), the reader with the notebook's note, the
// notebook's review and the parents' progress report, drawn offscreen from a program tree's database into PNGs named PREFIX + shot.
// The day is the fake clock's. Usage: lexora_record_screens PROGRAM_FOLDER OUT_FOLDER [PREFIX]
#include "ViewTestKit.h"
#include "app/FormMain.h"

#include <QApplication>
#include <QDialog>

int main(int argc, char* argv[])
{
    using namespace lexora;
    using namespace lexora::test;
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[2]) + QLatin1Char('/') +
                        (argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString());
    FakeServices fakes;
    Program program(QString::fromLocal8Bit(argv[1]), fakes.services());
    FormMain window(program.context());
    QString shot;
    bool saved = true;
    window.runModal = [&](QDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        saved = dialog.grab().save(out + shot + QStringLiteral(".png")) && saved;
        return 0;
    };
    if (!window.Form_Initialize())
        return 1;
    window.show();
    window.ShowFirstView();
    shot = QStringLiteral("learn-status");
    window.mnuTEST_Result_Click();
    shot = QStringLiteral("history");
    window.mnuTEST_History_Click();
    window.mnuTEST_WordErrNum_Click();
    QApplication::processEvents();
    saved = window.grab().save(out + QStringLiteral("word-list-errors.png")) && saved;
    window.mnuLEARN_Lexivo_Click();
    QApplication::processEvents();
    saved = window.grab().save(out + QStringLiteral("notebook-note.png")) && saved;
    const bool reviewed = window.mnuTEST_Mistakes_Click();
    QApplication::processEvents();
    saved = reviewed && window.grab().save(out + QStringLiteral("notebook-review.png")) && saved;
    shot = QStringLiteral("report");
    window.mnuPARENT_Report_Click();
    return saved && fakes.prompter.asked().empty() ? 0 : 1;
}
