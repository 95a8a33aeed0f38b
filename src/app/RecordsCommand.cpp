#include "app/RecordsCommand.h"

#include "app/InstanceLock.h"
#include "app/Launch.h"
#include "store/Locations.h"
#include "store/RecordsFile.h"

#include <QDir>
#include <QFileInfo>

namespace lexora {

namespace {

CommandOutcome failure(const QString& reason)
{
    return {1, {}, reason + QLatin1Char('\n')};
}

QString lockRefusal(InstanceLock::Outcome outcome, const QString& folder)
{
    if (outcome == InstanceLock::Outcome::HeldByOther)
        return QStringLiteral("Lexora 正在使用这些学习记录，请先关闭 Lexora 再导出或导入。");
    return QStringLiteral("无法在文件夹 %1 中建立运行标记文件，没有导出或导入任何内容。")
        .arg(QDir::toNativeSeparators(folder));
}

} // namespace

QString ImportSummary(const ImportReport& report, const QString& file)
{
    QString text =
        QStringLiteral("导入了 %1 的 %2 个课程的学习记录：保留 %3 个单词的成绩，新增 %4 个单词的成绩、"
                       "%5 个单元的完成情况、%6 条测试历史、%7 个录音")
            .arg(QDir::toNativeSeparators(file))
            .arg(report.coursesMerged + report.coursesAside)
            .arg(report.wordsKept)
            .arg(report.wordsRaised)
            .arg(report.unitsRaised)
            .arg(report.historyAdded)
            .arg(report.readingsAdded);
    if (report.coursesAside > 0)
        text += QStringLiteral("；%1 个课程在这台电脑上还没有安装，装好后打开它时自动导入")
                    .arg(report.coursesAside);
    return text + QStringLiteral("。");
}

QString DroppedReport(const ImportReport& report)
{
    if (report.wordsDropped == 0 && report.unitsDropped == 0)
        return {};
    return QStringLiteral("这台电脑上的课程中没有其中 %1 个单词和 %2 个单元，它们的记录没有导入。")
        .arg(report.wordsDropped)
        .arg(report.unitsDropped);
}

CommandOutcome RunRecordsCommand(const CommandLine& line, const Locations& locations)
{
    if (!locations.isInstalled())
        return failure(
            QStringLiteral("这个 Lexora 把学习记录保存在程序自己的文件夹中，不能导出或导入学习记录。"));
    // The learner's folder only: a course's record folder is made by its first start or by an import.
    const QString learnerFolder = QFileInfo(locations.dataFolder()).path();
    if (!QDir().mkpath(learnerFolder))
        return failure(QStringLiteral("无法创建文件夹 %1").arg(QDir::toNativeSeparators(learnerFolder)));
    InstanceLock lock(locations.lockFile());
    const InstanceLock::Outcome taken = lock.tryLock();
    if (taken != InstanceLock::Outcome::Taken)
        return failure(lockRefusal(taken, lock.folder()));

    QString error;
    if (line.action == CommandLine::Action::ExportRecords) {
        const auto courses = ExportRecords(learnerFolder, line.recordsFile, &error);
        if (!courses)
            return failure(error);
        return {0,
                QStringLiteral("导出了 %1 个课程的学习记录到 %2\n")
                    .arg(*courses)
                    .arg(QDir::toNativeSeparators(line.recordsFile)),
                {}};
    }
    ImportReport report;
    if (!ImportRecords(line.recordsFile, learnerFolder, locations, &report, &error))
        return failure(error);
    const QString dropped = DroppedReport(report);
    return {0, ImportSummary(report, line.recordsFile) + QLatin1Char('\n'),
            dropped.isEmpty() ? QString() : dropped + QLatin1Char('\n')};
}

} // namespace lexora
