#pragma once

#include <QString>
#include <QUrl>

namespace lexora {

// Hands a file or a web address to the desktop's default handler.
class ShellOpener
{
public:
    virtual ~ShellOpener() = default;
    // False when no handler took it.
    virtual bool openUrl(const QUrl& url) = 0;
};

class DesktopShellOpener final : public ShellOpener
{
public:
    bool openUrl(const QUrl& url) override;
};

// A target as the shell would take it: an absolute or existing path is a local file, anything else a
// web address (a bare "www." host name becomes an http address). Empty for an empty target.
QUrl ShellTargetUrl(const QString& target);

} // namespace lexora
