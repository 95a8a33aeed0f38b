// lexora-publish: the course authors' tool. Without arguments it opens its window; with a
// subcommand it runs the same checks, copies and encoding in the terminal.
#include "media/QtPrompter.h"
#include "media/ShellOpener.h"
#include "publish/FormPublish.h"
#include "publish/PublishCommand.h"
#include "publish/PublishServices.h"

#include <QApplication>
#include <QTextStream>
#include <QTranslator>
#include <cstdio>

namespace {

QStringList argumentList(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

int runCommand(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    lexora::ConsolePrompter prompter(/*readsInput=*/true);
    return lexora::RunPublishCommand(app.arguments(), prompter, out, err);
}

int runWindow(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Standard buttons read 确定/取消 as on a Chinese desktop.
    QTranslator translator;
    lexora::InstallChineseQtTexts(translator);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 10));

    lexora::QtPrompter prompter;
    lexora::QtFileChooser files;
    lexora::QtClipboard clipboard;
    lexora::DesktopShellOpener shell;
    lexora::FormPublish form({prompter, files, clipboard, shell});
    if (!form.Form_Load())
        return 0;
    files.setParent(&form);
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    // Answered before any application object, so that it works without a display.
    if (argc == 2 && (qstrcmp(argv[1], "--version") == 0 || qstrcmp(argv[1], "-v") == 0)) {
        std::printf("lexora-publish %s\n", LEXORA_VERSION);
        return 0;
    }
    if (lexora::IsPublishCommand(argumentList(argc, argv)))
        return runCommand(argc, argv);
    return runWindow(argc, argv);
}
