#include "app/ReportCommand.h"

#include "app/InstanceLock.h"
#include "app/Launch.h"
#include "media/MediaFolders.h"
#include "report/ProgressReport.h"
#include "report/ReportPainter.h"
#include "store/CourseDatabase.h"
#include "store/Learners.h"
#include "store/Locations.h"

#include <QDir>
#include <QFileInfo>

namespace lexora {

namespace {

CommandOutcome failure(const QString& reason)
{
    return {1, {}, QStringLiteral("没有写出学习报告：%1\n").arg(reason)};
}

} // namespace

QString ReportLearnerName(const Locations& locations)
{
    if (!locations.isInstalled())
        return {};
    const auto learner = Learners(locations.legacyFolder()).find(locations.learnerId());
    return learner ? learner->name : QString();
}

CommandOutcome RunReportCommand(const CommandLine& line, const Locations& locations, QDate today)
{
    if (!QFileInfo::exists(locations.databaseFile()))
        return failure(QStringLiteral("还没有这个课程的学习记录，请先用 Lexora 学习这个课程。"));
    InstanceLock lock(locations.lockFile());
    const InstanceLock::Outcome taken = lock.tryLock();
    if (taken == InstanceLock::Outcome::HeldByOther)
        return failure(QStringLiteral("Lexora 正在使用这些学习记录，请先关闭 Lexora。"));
    if (taken != InstanceLock::Outcome::Taken)
        return failure(QStringLiteral("无法在文件夹 %1 中建立运行标记文件。")
                           .arg(QDir::toNativeSeparators(lock.folder())));

    CourseDatabase db(locations.databaseFile());
    QString error;
    const auto report = ReadProgressReport(db, MediaFolders(locations), today, &error);
    if (!report)
        return failure(QStringLiteral("无法读出学习记录。%1").arg(error));
    if (!WriteReportPdf(line.reportFile, *report, ReportLearnerName(locations), &error))
        return failure(error);
    return {0, QStringLiteral("学习报告已写入 %1\n").arg(QDir::toNativeSeparators(line.reportFile)), {}};
}

} // namespace lexora
