// Lexora: wires the Qt and SDL adapters to the word store, the media layer and the main window.
#include "app/FormMain.h"
#include "app/InstanceLock.h"
#include "app/Program.h"
#include "media/QtClock.h"
#include "media/QtPrompter.h"
#include "media/SdlCaptureDevice.h"
#include "media/SdlSoundOut.h"
#include "media/ShellOpener.h"
#include "media/StartupTrace.h"
#include "store/Random.h"

#include <QApplication>
#include <QTranslator>
#include <cstdlib>

int main(int argc, char* argv[])
{
    using namespace lexora;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lexora"));
    qCDebug(lcStartup, "qt");
    QTranslator qtTexts;
    InstallChineseQtTexts(qtTexts);

    const QString programFolder = QCoreApplication::applicationDirPath();
    QtPrompter prompter;
    InstanceLock lock(programFolder);
    // Before anything touches the database: a second program would toggle its header too.
    if (!ClaimProgramFolder(lock, prompter))
        return EXIT_FAILURE;

    QtClock clock;
    QtClock transitionClock(QtClock::UserInput::Deliver);
    SystemRandom random;
    SdlSoundOut soundOut(clock);
    soundOut.prepare();
    SdlCaptureDevice capture;
    DesktopShellOpener shell;
    Program program(programFolder, {prompter, clock, transitionClock, random, soundOut, capture, shell});
    // The keys are derived while the window is being built.
    program.store.PrefetchKeys();
    // The database could not be opened even after restoring its header; the learner has been told.
    program.store.setFatalHandler([&lock] {
        lock.unlock();
        std::exit(EXIT_FAILURE);
    });

    FormMain window(program.context());
    qCDebug(lcStartup, "built");
    if (!window.Form_Initialize())
        return EXIT_FAILURE;
    qCDebug(lcStartup, "read");
    if (qEnvironmentVariableIntValue("LEXORA_RECORD_VIEWS") == 1)
        window.SwitchOnRecordEntries();
    window.show();
    return QApplication::exec();
}
