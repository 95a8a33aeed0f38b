#include "app/Launch.h"

#include "store/LearnerRecords.h"
#include "store/Learners.h"
#include "store/Locations.h"
#include "store/Prompter.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace lexora {

namespace {

const QString kTitle = QStringLiteral("英语Lexora");

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Lexora: learn the English words of your school books, with pictures and voices."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption course(
        QStringList{QStringLiteral("course")},
        QStringLiteral("Use the course in DIR (a folder holding AppPics and Common, or a tree made by "
                       "lexora-course build); your records are kept in your own data folder."),
        QStringLiteral("DIR"));
    parser.addOption(course);
    const QCommandLineOption learner(
        QStringList{QStringLiteral("learner")},
        QStringLiteral("Open the records of the learner called NAME without asking who is learning."),
        QStringLiteral("NAME"));
    parser.addOption(learner);
    const QCommandLineOption exportRecords(
        QStringList{QStringLiteral("export-records")},
        QStringLiteral("Write the learner's records of every course to FILE and quit."),
        QStringLiteral("FILE"));
    const QCommandLineOption importRecords(
        QStringList{QStringLiteral("import-records")},
        QStringLiteral("Merge the records in FILE into the learner's (no count is lowered) and quit."),
        QStringLiteral("FILE"));
    const QCommandLineOption report(
        QStringList{QStringLiteral("report")},
        QStringLiteral("Write the learner's progress report on the course as a PDF to FILE and quit."),
        QStringLiteral("FILE"));
    parser.addOptions({exportRecords, importRecords, report});

    CommandLine line;
    if (!parser.parse(arguments)) {
        line.action = CommandLine::Action::Error;
        line.text = parser.errorText();
    } else if (parser.isSet(help)) {
        line.action = CommandLine::Action::Help;
        line.text = parser.helpText();
    } else if (parser.isSet(version)) {
        line.action = CommandLine::Action::Version;
        line.text = QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                  QCoreApplication::applicationVersion());
    } else if (!parser.positionalArguments().isEmpty()) {
        line.action = CommandLine::Action::Error;
        line.text = QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().first());
    } else if (parser.isSet(course) && parser.value(course).isEmpty()) {
        line.action = CommandLine::Action::Error;
        line.text = QStringLiteral("--course needs a folder");
    } else if (parser.isSet(learner) && parser.value(learner).trimmed().isEmpty()) {
        line.action = CommandLine::Action::Error;
        line.text = QStringLiteral("--learner needs a name");
    } else if (parser.isSet(exportRecords) + parser.isSet(importRecords) + parser.isSet(report) > 1) {
        line.action = CommandLine::Action::Error;
        line.text = QStringLiteral("--export-records, --import-records and --report cannot be used together");
    } else if (parser.isSet(report)) {
        line.course = parser.value(course);
        line.learner = parser.value(learner).trimmed();
        line.reportFile = parser.value(report);
        line.action = line.reportFile.isEmpty() ? CommandLine::Action::Error : CommandLine::Action::Report;
        if (line.reportFile.isEmpty())
            line.text = QStringLiteral("--report needs a file");
    } else {
        line.course = parser.value(course);
        line.learner = parser.value(learner).trimmed();
        for (const auto& [option, action] : {std::pair(&exportRecords, CommandLine::Action::ExportRecords),
                                             std::pair(&importRecords, CommandLine::Action::ImportRecords)}) {
            if (!parser.isSet(*option))
                continue;
            line.recordsFile = parser.value(*option);
            line.action = line.recordsFile.isEmpty() ? CommandLine::Action::Error : action;
            if (line.recordsFile.isEmpty())
                line.text = QStringLiteral("--%1 needs a file").arg(option->names().constFirst());
        }
    }
    return line;
}

std::optional<QString> PickLearner(const QString& dataFolder, const QString& named, Prompter& prompter,
                                   const std::function<int(const QStringList&)>& ask)
{
    const Learners learners(dataFolder);
    const auto all = learners.list();
    if (!named.isEmpty()) {
        if (const auto learner = learners.find(named))
            return learner->id;
        QStringList names;
        for (const auto& learner : all)
            names << learner.name;
        prompter.message(QStringLiteral("没有叫“%1”的学习者。\n这台电脑上的学习者：%2")
                             .arg(named, names.join(QStringLiteral("、"))),
                         kTitle, Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return std::nullopt;
    }
    if (all.size() == 1)
        return all.front().id;
    QStringList names;
    for (const auto& learner : all)
        names << learner.name;
    const int chosen = ask(names);
    if (chosen < 0 || chosen >= static_cast<int>(all.size()))
        return std::nullopt;
    return all[static_cast<size_t>(chosen)].id;
}

QString UpdateReport(const CarryCount& count)
{
    QString text = QStringLiteral("课程更新：保留了 %1 个单词的成绩").arg(count.wordsKept);
    if (count.wordsGone > 0)
        text += QStringLiteral("，%1 个单词已不在新课程中").arg(count.wordsGone);
    if (count.unitsGone > 0)
        text += QStringLiteral("，%1 个单元的完成情况已不在新课程中").arg(count.unitsGone);
    return text + QStringLiteral("。");
}

bool PrepareLearner(const Locations& locations, Prompter& prompter)
{
    using State = LearnerDatabaseOutcome::State;
    const LearnerDatabaseOutcome outcome = PrepareLearnerDatabase(locations);
    if (outcome.state == State::Failed) {
        prompter.message(QStringLiteral("无法准备您的学习记录，程序无法启动！\n%1").arg(outcome.error),
                         kTitle, Prompter::Buttons::Ok, Prompter::Icon::Critical);
        return false;
    }
    if (!outcome.repaired.isEmpty())
        prompter.message(outcome.repaired, kTitle, Prompter::Buttons::Ok, Prompter::Icon::Warning);
    if (outcome.state == State::Updated && (outcome.carried.wordsGone > 0 || outcome.carried.unitsGone > 0))
        prompter.message(UpdateReport(outcome.carried), kTitle, Prompter::Buttons::Ok,
                         Prompter::Icon::Information);
    if (outcome.pendingMerged &&
        (outcome.pendingDropped.wordsGone > 0 || outcome.pendingDropped.unitsGone > 0))
        prompter.message(
            QStringLiteral("导入的学习记录已经合并，其中 %1 个单词和 %2 个单元这个课程中没有，没有导入。")
                .arg(outcome.pendingDropped.wordsGone)
                .arg(outcome.pendingDropped.unitsGone),
            kTitle, Prompter::Buttons::Ok, Prompter::Icon::Information);
    if (outcome.state == State::UpdateFailed)
        prompter.message(
            QStringLiteral("课程更新失败，继续使用原来的课程和学习记录。\n%1").arg(outcome.error), kTitle,
            Prompter::Buttons::Ok, Prompter::Icon::Warning);
    return true;
}

} // namespace lexora
