// Lexora: wires the Qt and SDL adapters to the word store, the media layer and the main window.
#include "app/FormLearnerChoice.h"
#include "app/FormMain.h"
#include "app/InstanceLock.h"
#include "app/Launch.h"
#include "app/LoadedChecker.h"
#include "app/Program.h"
#include "app/RecordsCommand.h"
#include "app/ReportCommand.h"
#include "app/WindowKeys.h"
#include "media/QtClock.h"
#include "media/QtPrompter.h"
#include "media/SdlCaptureDevice.h"
#include "media/SdlSoundOut.h"
#include "media/ShellOpener.h"
#include "media/StartupTrace.h"
#include "store/Learners.h"
#include "store/Random.h"
#include "views/Lexivo.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDate>
#include <QGuiApplication>
#include <QIcon>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <malloc.h>
#include <optional>
#include <vector>

namespace {

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("lexora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LEXORA_VERSION));
}

// Answers --help and --version without a display.
int answerCommandLine(int argc, char** argv)
{
    QCoreApplication core(argc, argv);
    nameApplication();
    std::fputs(qUtf8Printable(lexora::ParseCommandLine(QCoreApplication::arguments()).text), stdout);
    return EXIT_SUCCESS;
}

QString dataFolderOfUser()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

lexora::Locations decideLocations(const QString& courseOption, const QString& learner)
{
    return lexora::Locations::decide(QCoreApplication::applicationDirPath(), courseOption,
                                     QStringLiteral(LEXORA_COURSE_FROM_BIN), dataFolderOfUser(), learner);
}

// The id of the learner a command names (the first learner when none is named); nothing, after
// saying so, when no learner has that name and `addMissing` is false.
std::optional<QString> commandLearner(const QString& named, bool addMissing)
{
    if (named.isEmpty())
        return QString(QLatin1String(lexora::Locations::kDefaultLearner));
    lexora::Learners learners(dataFolderOfUser());
    QString error;
    auto found = learners.find(named);
    if (!found && addMissing)
        found = learners.add(named, &error);
    if (!found) {
        std::fprintf(
            stderr, "%s\n",
            qUtf8Printable(error.isEmpty() ? QStringLiteral("没有叫“%1”的学习者").arg(named) : error));
        return std::nullopt;
    }
    return found->id;
}

// Exports or imports the learner's records without a display; the command takes the learner's lock.
int moveRecords(int argc, char** argv)
{
    QCoreApplication core(argc, argv);
    nameApplication();
    const lexora::CommandLine line = lexora::ParseCommandLine(QCoreApplication::arguments());
    // Records brought to an account that does not know the name yet start a new learner of that name.
    const auto learner =
        commandLearner(line.learner, line.action == lexora::CommandLine::Action::ImportRecords);
    if (!learner)
        return EXIT_FAILURE;
    const lexora::CommandOutcome outcome =
        lexora::RunRecordsCommand(line, decideLocations(line.course, *learner));
    std::fputs(qUtf8Printable(outcome.out), stdout);
    std::fputs(qUtf8Printable(outcome.err), stderr);
    return outcome.code;
}

// Writes the progress report as a PDF. It is drawn, so it needs the GUI's fonts, but never a display:
// the offscreen platform serves where no screen is.
int writeReport(int argc, char** argv)
{
    std::vector<char*> arguments(argv, argv + argc);
    char platformOption[] = "-platform";
    char offscreen[] = "offscreen";
    arguments.push_back(platformOption);
    arguments.push_back(offscreen);
    int count = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    QGuiApplication gui(count, arguments.data());
    nameApplication();
    const lexora::CommandLine line = lexora::ParseCommandLine(QCoreApplication::arguments());
    const auto learner = commandLearner(line.learner, false);
    if (!learner)
        return EXIT_FAILURE;
    const lexora::CommandOutcome outcome =
        lexora::RunReportCommand(line, decideLocations(line.course, *learner), QDate::currentDate());
    std::fputs(qUtf8Printable(outcome.out), stdout);
    std::fputs(qUtf8Printable(outcome.err), stderr);
    return outcome.code;
}

} // namespace

int main(int argc, char* argv[])
{
    // One heap for every thread: the few workers (key, audio, pictures decoded ahead) would each keep
    // a heap of their own, resident, for the little they allocate.
    mallopt(M_ARENA_MAX, 1);
    using namespace lexora;
    {
        // Qt's own options (-platform, ...) are not ours: a first error is judged again below.
        QStringList arguments;
        std::transform(argv, argv + argc, std::back_inserter(arguments),
                       [](const char* argument) { return QString::fromLocal8Bit(argument); });
        const CommandLine line = ParseCommandLine(arguments);
        if (line.action == CommandLine::Action::Help || line.action == CommandLine::Action::Version)
            return answerCommandLine(argc, argv);
        if (line.action == CommandLine::Action::ExportRecords ||
            line.action == CommandLine::Action::ImportRecords)
            return moveRecords(argc, argv);
        if (line.action == CommandLine::Action::Report)
            return writeReport(argc, argv);
        // A records command never builds the window, so none of Qt's options are meant: its error is final.
        const bool movesRecords =
            std::any_of(arguments.begin(), arguments.end(), [](const QString& argument) {
                return argument.startsWith(QLatin1String("--export-records")) ||
                       argument.startsWith(QLatin1String("--import-records")) ||
                       argument.startsWith(QLatin1String("--report"));
            });
        if (line.action == CommandLine::Action::Error && movesRecords) {
            std::fprintf(stderr, "%s\n", qUtf8Printable(line.text));
            return 2;
        }
    }
    // The audio gets ready on a worker thread from the very start: SDL's start-up connects to the
    // session bus, and where none runs it starts a bus launcher, which costs a small process little.
    QtClock clock;
    SdlSoundOut soundOut(clock);
    soundOut.prepare();
    QApplication app(argc, argv);
    nameApplication();
    QGuiApplication::setDesktopFileName(QStringLiteral(LEXORA_APP_ID));
    const CommandLine line = ParseCommandLine(QCoreApplication::arguments());
    if (line.action != CommandLine::Action::Run) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(line.text));
        return 2;
    }
    qCDebug(lcStartup, "qt");
    // Qt's accessibility bridge connects to the session bus while the window is built; where no bus
    // runs, the attempt starts a bus launcher, which costs a large process dearly. Made here, on a
    // worker thread, it is done by the time the window needs it.
    auto sessionBus = std::async(std::launch::async, [] { QDBusConnection::sessionBus(); });
    QTranslator qtTexts;
    InstallChineseQtTexts(qtTexts);

    const QString dataFolder = dataFolderOfUser();
    const auto place = [&](const QString& learner) { return decideLocations(line.course, learner); };
    QtPrompter prompter;
    QString learner = QLatin1String(Locations::kDefaultLearner);
    // Several children on one account: each opens their own record.
    if (place(learner).isInstalled()) {
        const auto picked = PickLearner(dataFolder, line.learner, prompter, [](const QStringList& names) {
            FormLearnerChoice choice(names);
            return choice.exec() == QDialog::Accepted ? choice.chosen() : -1;
        });
        if (!picked)
            return line.learner.isEmpty() ? EXIT_SUCCESS : EXIT_FAILURE;
        learner = *picked;
    }
    const Locations locations = place(learner);
    locations.makeDataFolder();
    InstanceLock lock(locations.lockFile());
    // Before anything touches the database: a second program would toggle its header too.
    if (!ClaimProgramFolder(lock, prompter) || !PrepareLearner(locations, prompter))
        return EXIT_FAILURE;

    QtClock transitionClock(QtClock::UserInput::Deliver);
    SystemRandom random;
    SdlCaptureDevice capture;
    DesktopShellOpener shell;
    // The recogniser is loaded when a reading is first checked, never at start.
    LoadedChecker readingChecker(LoadedChecker::Candidates(QCoreApplication::applicationDirPath()));
    Program program(locations,
                    {prompter, clock, transitionClock, random, soundOut, capture, shell, &readingChecker});
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
    QSettings settings(QStringLiteral("Lexora"), QStringLiteral("Lexora"));
    RestoreWindow(window, settings);
    window.show();
    // The icon's first image reader looks through Qt's image plugins: after the window is up.
    QTimer::singleShot(
        0, [] { QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/" LEXORA_APP_ID ".png"))); });
    const int code = QApplication::exec();
    RememberWindow(window, settings);
    return code;
}
