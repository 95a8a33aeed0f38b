#include "store/ErrorText.h"

#include <QRegularExpression>
#include <cerrno>
#include <sqlcipher/sqlite3.h>

namespace lexora {

QString DescribeFileError(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("没有写入的权限（文件或文件夹是只读的）");
    case EROFS:
        return QStringLiteral("所在的磁盘是只读的");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("磁盘已满");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("正被别的程序使用");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("文件或文件夹不存在");
    case EIO:
        return QStringLiteral("读写磁盘时出错");
    default:
        return QStringLiteral("系统错误 %1").arg(error);
    }
}

QString DescribeSqliteError(int code, const QString& detail)
{
    switch (code & 0xFF) {
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("单词库文件是只读的，不能写入");
    case SQLITE_CANTOPEN:
        return QStringLiteral("单词库文件打不开，或者它所在的文件夹不能写入");
    case SQLITE_FULL:
        return QStringLiteral("磁盘已满");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("单词库正被别的程序使用");
    case SQLITE_IOERR:
        return QStringLiteral("读写单词库文件时出错");
    case SQLITE_NOTADB:
        return QStringLiteral("文件不是单词库，或者密码不对");
    case SQLITE_CORRUPT:
        return QStringLiteral("单词库文件已经损坏");
    case SQLITE_NOMEM:
        return QStringLiteral("内存不足");
    case SQLITE_ERROR: {
        static const QRegularExpression missing(QStringLiteral("^no such (table|column): (\\S+)"));
        const auto match = missing.match(detail);
        if (match.hasMatch())
            return (match.captured(1) == QLatin1String("table") ? QStringLiteral("单词库中没有表 %1")
                                                                : QStringLiteral("单词库中没有列 %1"))
                .arg(match.captured(2));
        return QStringLiteral("单词库的内容和程序不相符");
    }
    default:
        return QStringLiteral("单词库出错（错误代码 %1）").arg(code);
    }
}

} // namespace lexora
