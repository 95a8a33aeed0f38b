#include "publish/PublishEncode.h"

#include "media/AtomicFile.h"
#include "store/FileHead.h"

#include <QDir>
#include <QFileInfo>

namespace lexora {

QString PlainExtension(MediaKind kind)
{
    return kind == MediaKind::Voice ? QStringLiteral(".wav") : QStringLiteral(".jpg");
}

QString EncodedExtension(MediaKind kind)
{
    return kind == MediaKind::Voice ? QStringLiteral(".abw") : QStringLiteral(".pet");
}

QString JoinPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return {};
    return QDir(folder).filePath(name);
}

QString EncodedPathOf(const QString& plainPath, MediaKind kind)
{
    return plainPath.chopped(std::min<qsizetype>(4, plainPath.size())) + EncodedExtension(kind);
}

bool EncodeMediaFile(const QString& plainPath, MediaKind kind)
{
    if (!QFileInfo::exists(plainPath))
        return true;
    return TransformMediaFile(plainPath, EncodedPathOf(plainPath, kind));
}

bool CopyEncoded(const QString& sourcePath, const QString& plainTarget, MediaKind kind)
{
    std::optional<QByteArray> bytes = ReadWholeFile(sourcePath);
    if (!bytes)
        return false;
    CryptBytesHead(*bytes);
    // The plain target stands for the copy the encoded file is made from: it goes afterwards.
    return ReplaceMediaFile(plainTarget, EncodedPathOf(plainTarget, kind), *bytes);
}

bool ToggleFileHead(const QString& path)
{
    // In place, one synced write of the head: the file keeps its identity (a link the author picked,
    // permissions, a program holding it open), and there is no moment without the file.
    return !path.isEmpty() && QFileInfo(path).isFile() && CryptFileHead(path);
}

} // namespace lexora
