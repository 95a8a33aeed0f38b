#include "store/ConnectString.h"

#include <QStringList>

namespace lexora {

ConnectionInfo ParseConnectString(const QString& text)
{
    ConnectionInfo info;
    static const QString source = QStringLiteral("Data Source=");
    QString rest = text;
    const qsizetype at = text.indexOf(source, 0, Qt::CaseInsensitive);
    if (at >= 0) {
        info.dataSource = text.mid(at + source.size());
        rest = text.left(at);
    }
    for (const QString& item : rest.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype eq = item.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = item.left(eq).trimmed();
        if (key.endsWith(QStringLiteral("Database Password"), Qt::CaseInsensitive))
            info.password = item.mid(eq + 1);
    }
    return info;
}

} // namespace lexora
