#include "ReadOnlyPaths.h"

#include <QDirIterator>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace lexora::test {

namespace {

constexpr uid_t kNobody = 65534;

void setMode(const QString& path, mode_t mode)
{
    ::chmod(QFile::encodeName(path).constData(), mode);
}

mode_t openMode(const QString& path)
{
    return QFileInfo(path).isDir() ? 0777 : 0666;
}

} // namespace

ReadOnlyPaths::ReadOnlyPaths(const QString& root, const QStringList& readOnly) : m_paths(readOnly)
{
    setMode(root, 0777);
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        setMode(path, openMode(path));
    }
    for (const QString& path : m_paths)
        setMode(path, QFileInfo(path).isDir() ? 0555 : 0444);
    if (::geteuid() == 0) {
        m_switched = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
    }
}

ReadOnlyPaths::~ReadOnlyPaths()
{
    if (m_switched) {
        ::seteuid(0);
        ::setegid(0);
    }
    // Writable again, so that the temporary tree can be removed.
    for (const QString& path : m_paths)
        setMode(path, openMode(path));
}

} // namespace lexora::test
