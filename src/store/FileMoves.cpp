#include "store/FileMoves.h"

#include <QDir>
#include <QFile>
#include <filesystem>
#include <unistd.h>

namespace lexora {

bool SyncFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && ::fsync(file.handle()) == 0;
}

bool ReplaceFile(const QString& from, const QString& to, QString* error)
{
    std::error_code code;
    std::filesystem::rename(QFile::encodeName(from).toStdString(), QFile::encodeName(to).toStdString(), code);
    if (code)
        *error = QStringLiteral("无法把 %1 改名为 %2：%3")
                     .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to),
                          QString::fromStdString(code.message()));
    return !code;
}

} // namespace lexora
