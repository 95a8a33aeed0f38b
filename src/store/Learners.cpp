#include "store/Learners.h"

#include "store/ErrorText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace lexora {

namespace {

const QString kNameFile = QStringLiteral("learner.name");
const QString kIdPrefix = QStringLiteral("learner-");
constexpr int kMaxNameLength = 20;

QString readName(const QString& folder)
{
    QFile file(folder + QLatin1Char('/') + kNameFile);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.read(256)).trimmed() : QString();
}

bool writeName(const QString& folder, const QString& name, QString* error)
{
    QSaveFile file(folder + QLatin1Char('/') + kNameFile);
    const QByteArray bytes = name.toUtf8() + '\n';
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = QStringLiteral("无法写入 %1：%2").arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
    return false;
}

} // namespace

Learners::Learners(QString dataFolder) : m_data(QDir::cleanPath(dataFolder)) {}

QString Learners::folderOf(const QString& id) const
{
    return m_data + QLatin1Char('/') + id;
}

std::vector<Learners::Learner> Learners::list() const
{
    std::vector<Learner> learners;
    QStringList others = QDir(m_data).entryList({kIdPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(others.begin(), others.end(), [](const QString& a, const QString& b) {
        return a.mid(kIdPrefix.size()).toInt() < b.mid(kIdPrefix.size()).toInt();
    });
    for (const QString& id : others) {
        const QString name = readName(folderOf(id));
        if (!name.isEmpty())
            learners.push_back({id, name});
    }
    // The first learner, whom every account starts with, stays until a parent removes them; they have
    // no name until a parent gives one.
    const QString first = folderOf(QLatin1String(kFirstId));
    if (learners.empty() || QFileInfo(first).isDir()) {
        const QString name = readName(first);
        learners.insert(learners.begin(),
                        {QLatin1String(kFirstId), name.isEmpty() ? QStringLiteral("学习者1") : name});
    }
    return learners;
}

std::optional<Learners::Learner> Learners::find(const QString& nameOrId) const
{
    for (const Learner& learner : list()) {
        if (learner.name == nameOrId || learner.id == nameOrId)
            return learner;
    }
    return std::nullopt;
}

std::optional<QString> Learners::nameProblem(const QString& name, const QString& except) const
{
    if (name.isEmpty())
        return QStringLiteral("名字不能是空的");
    if (name.size() > kMaxNameLength)
        return QStringLiteral("名字太长了（最多 %1 个字）").arg(kMaxNameLength);
    if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        return QStringLiteral("名字里不能有控制字符");
    for (const Learner& learner : list()) {
        if (learner.id != except && learner.name == name)
            return QStringLiteral("已经有一个叫“%1”的学习者了").arg(name);
    }
    return std::nullopt;
}

std::optional<Learners::Learner> Learners::add(const QString& rawName, QString* error)
{
    const QString name = rawName.trimmed();
    if (const auto problem = nameProblem(name, {})) {
        *error = *problem;
        return std::nullopt;
    }
    // The first learner stays listed once there are others, even before their first start made a folder.
    const QString first = folderOf(QLatin1String(kFirstId));
    if (find(QLatin1String(kFirstId)) && !QDir().mkpath(first)) {
        *error = QStringLiteral("无法创建 %1").arg(QDir::toNativeSeparators(first));
        return std::nullopt;
    }
    int next = 2;
    while (QFileInfo::exists(folderOf(kIdPrefix + QString::number(next))))
        ++next;
    const QString id = kIdPrefix + QString::number(next);
    if (!QDir().mkpath(folderOf(id))) {
        *error = QStringLiteral("无法创建 %1").arg(QDir::toNativeSeparators(folderOf(id)));
        return std::nullopt;
    }
    if (!writeName(folderOf(id), name, error)) {
        QDir(folderOf(id)).removeRecursively();
        return std::nullopt;
    }
    return Learner{id, name};
}

bool Learners::rename(const QString& id, const QString& rawName, QString* error)
{
    const QString name = rawName.trimmed();
    if (!find(id)) {
        *error = QStringLiteral("没有这个学习者");
        return false;
    }
    if (const auto problem = nameProblem(name, id)) {
        *error = *problem;
        return false;
    }
    return QDir().mkpath(folderOf(id)) && writeName(folderOf(id), name, error);
}

bool Learners::remove(const QString& id, QString* error)
{
    const auto all = list();
    if (all.size() <= 1) {
        *error = QStringLiteral("至少要留下一个学习者");
        return false;
    }
    const auto learner = find(id);
    if (!learner) {
        *error = QStringLiteral("没有这个学习者");
        return false;
    }
    const QString removed = m_data + QStringLiteral("/removed");
    const QString backup = removed + QLatin1Char('/') + id + QLatin1Char('-') +
                           QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!QDir().mkpath(removed) || std::rename(QFile::encodeName(folderOf(id)).constData(),
                                               QFile::encodeName(backup).constData()) != 0) {
        *error = QStringLiteral("无法保留 %1 的记录：%2").arg(learner->name, DescribeFileError(errno));
        return false;
    }
    return true;
}

} // namespace lexora
