#include "media/ShellOpener.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace lexora {

bool DesktopShellOpener::openUrl(const QUrl& url)
{
    return url.isValid() && QDesktopServices::openUrl(url);
}

QUrl ShellTargetUrl(const QString& target)
{
    const QString text = target.trimmed();
    if (text.isEmpty())
        return {};
    const QFileInfo file(text);
    if (file.isAbsolute() || file.exists())
        return QUrl::fromLocalFile(file.absoluteFilePath());
    return QUrl::fromUserInput(text);
}

} // namespace lexora
