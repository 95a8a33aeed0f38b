#include "publish/PublishCommand.h"

#include "publish/PublishAudit.h"
#include "publish/PublishEncode.h"

#include <QCommandLineParser>
#include <QTextStream>
#include <array>
#include <iostream>
#include <string>

namespace lexora {

namespace {

enum class Input
{
    WordList,
    None,
    File,
};

// Which folder fields of the window the options stand for.
enum class Layout
{
    Audio,     // --source: initial-letter folders, --source2: flat
    FlatAudio, // --source: flat
    Pictures,
    NoFolders,
};

struct Command
{
    const char* name;
    const char* arguments;
    Input input;
    Layout layout;
    bool needsDest;
    PublishReport (PublishAudit::*run)(const PublishFolders&) const;
};

const std::array<Command, 7> kCommands{{
    {"check-audio", "LIST --source DIR [--source2 DIR]", Input::WordList, Layout::Audio, false,
     &PublishAudit::checkAudio},
    {"copy-audio", "LIST --source DIR [--source2 DIR] --dest DIR", Input::WordList, Layout::Audio, true,
     &PublishAudit::copyAudio},
    {"copy-all-audio", "--source DIR --dest DIR", Input::None, Layout::FlatAudio, true,
     &PublishAudit::copyAllAudio},
    {"check-pics", "LIST --source DIR", Input::WordList, Layout::Pictures, false, &PublishAudit::checkPics},
    {"copy-pics", "LIST --source DIR --dest DIR", Input::WordList, Layout::Pictures, true,
     &PublishAudit::copyPics},
    {"copy-all-pics", "--source DIR --dest DIR", Input::None, Layout::Pictures, true,
     &PublishAudit::copyAllPics},
    {"encode", "FILE", Input::File, Layout::NoFolders, false, nullptr},
}};

bool isHelp(const QString& argument)
{
    return argument == QStringLiteral("help") || argument == QStringLiteral("--help") ||
           argument == QStringLiteral("-h");
}

const Command* findCommand(const QString& name)
{
    for (const Command& command : kCommands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

int usage(QTextStream& err)
{
    err << "usage: lexora-publish                 (the window)\n";
    for (const Command& command : kCommands)
        err << "       lexora-publish " << command.name << ' ' << command.arguments << " [--code CODE]\n";
    err << "Without --code the access code is asked for.\n";
    err << "LIST: a text file, one word a line. Words lacking media are printed one a line;\n"
           "exit status 0 when nothing is missing, 1 when something is, 2 on a usage error,\n"
           "3 when the access code is wrong.\n";
    err.flush();
    return kPublishUsage;
}

PublishFolders foldersFor(Layout layout, const QString& source, const QString& source2, const QString& dest)
{
    PublishFolders folders;
    switch (layout) {
    case Layout::Audio:
        folders.audioSrc1 = source;
        folders.audioSrc2 = source2;
        folders.audioDest = dest;
        break;
    case Layout::FlatAudio:
        folders.audioSrc2 = source;
        folders.audioDest = dest;
        break;
    case Layout::Pictures:
        folders.picSrc = source;
        folders.picDest = dest;
        break;
    case Layout::NoFolders:
        break;
    }
    return folders;
}

bool argumentsFit(const Command& command, const QCommandLineParser& parser)
{
    const qsizetype positional = parser.positionalArguments().size();
    if (positional != (command.input == Input::None ? 1 : 2))
        return false;
    const bool hasSource = parser.isSet(QStringLiteral("source")) ||
                           (command.layout == Layout::Audio && parser.isSet(QStringLiteral("source2")));
    if (command.layout != Layout::NoFolders && !hasSource)
        return false;
    if (command.layout != Layout::Audio && parser.isSet(QStringLiteral("source2")))
        return false;
    return command.needsDest == parser.isSet(QStringLiteral("dest"));
}

int report(const PublishReport& result, QTextStream& out, QTextStream& err)
{
    for (const QString& item : result.items)
        out << item << '\n';
    out.flush();
    if (!result.status.isEmpty())
        err << result.status << '\n';
    err << result.message << '\n';
    err.flush();
    return result.complete ? kPublishDone : kPublishIncomplete;
}

} // namespace

bool IsPublishCommand(const QStringList& arguments)
{
    if (arguments.size() < 2)
        return false;
    // Options of the window (Qt's -platform, -style, ...) start with a dash; anything else is a
    // subcommand, mistyped ones included, which then get the usage text.
    const QString& first = arguments.at(1);
    return !first.startsWith(QLatin1Char('-')) || isHelp(first);
}

int RunPublishCommand(const QStringList& arguments, Prompter& prompter, QTextStream& out, QTextStream& err)
{
    if (arguments.size() > 1 && isHelp(arguments.at(1))) {
        usage(err);
        return kPublishDone;
    }
    const Command* command = arguments.size() > 1 ? findCommand(arguments.at(1)) : nullptr;
    if (!command)
        return usage(err);
    QCommandLineParser parser;
    parser.addOptions({{QStringLiteral("source"), QString(), QStringLiteral("DIR")},
                       {QStringLiteral("source2"), QString(), QStringLiteral("DIR")},
                       {QStringLiteral("dest"), QString(), QStringLiteral("DIR")},
                       {QStringLiteral("code"), QString(), QStringLiteral("CODE")}});
    if (!parser.parse(arguments) || !argumentsFit(*command, parser))
        return usage(err);

    const std::optional<QString> code =
        parser.isSet(QStringLiteral("code"))
            ? std::optional<QString>(parser.value(QStringLiteral("code")))
            : prompter.input(QStringLiteral("password:"), QString(), QString());
    if (!IsAccessCode(code)) {
        err << "lexora-publish: wrong access code\n";
        err.flush();
        return kPublishRefused;
    }

    const QStringList positional = parser.positionalArguments();
    if (command->input == Input::File) {
        const bool ok = ToggleFileHead(positional.at(1));
        err << (ok ? QStringLiteral("OK") : QStringLiteral("文件无法加解密：") + positional.at(1)) << '\n';
        err.flush();
        return ok ? kPublishDone : kPublishIncomplete;
    }
    PublishAudit audit;
    if (command->input == Input::WordList && !audit.LoadAllWords(positional.at(1))) {
        err << QStringLiteral("无法读取单词文件：") << positional.at(1) << '\n';
        err.flush();
        return kPublishIncomplete;
    }
    const PublishFolders folders =
        foldersFor(command->layout, parser.value(QStringLiteral("source")),
                   parser.value(QStringLiteral("source2")), parser.value(QStringLiteral("dest")));
    return report((audit.*(command->run))(folders), out, err);
}

} // namespace lexora
