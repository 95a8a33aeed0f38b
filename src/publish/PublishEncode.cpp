#include "publish/PublishEncode.h"

#include "store/FileHead.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

namespace lexora {

namespace {

std::optional<QByteArray> readWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

// Temporary file in the target's folder, flushed, then renamed over the target.
bool writeWhole(const QString& path, const QByteArray& bytes)
{
    // A link planted at the target would be followed by the rename-over; replace the link itself.
    if (QFileInfo(path).isSymLink() && !QFile::remove(path))
        return false;
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool writeEncoded(QByteArray bytes, const QString& target)
{
    CryptBytesHead(bytes);
    return writeWhole(target, bytes);
}

} // namespace

QString PlainExtension(MediaKind kind)
{
    return kind == MediaKind::Voice ? QStringLiteral(".wav") : QStringLiteral(".jpg");
}

QString EncodedExtension(MediaKind kind)
{
    return kind == MediaKind::Voice ? QStringLiteral(".abw") : QStringLiteral(".pet");
}

bool IsSafeWordName(const QString& word)
{
    if (word.isEmpty() || word == QStringLiteral(".") || word == QStringLiteral(".."))
        return false;
    // A backslash is an ordinary character here, but word lists are often written on Windows.
    return !word.contains(QLatin1Char('/')) && !word.contains(QLatin1Char('\\')) &&
           !word.contains(QChar(u'\0'));
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
    const std::optional<QByteArray> bytes = readWhole(plainPath);
    if (!bytes || !writeEncoded(*bytes, EncodedPathOf(plainPath, kind)))
        return false;
    return QFile::remove(plainPath);
}

bool CopyEncoded(const QString& sourcePath, const QString& plainTarget, MediaKind kind)
{
    const std::optional<QByteArray> bytes = readWhole(sourcePath);
    if (!bytes || !writeEncoded(*bytes, EncodedPathOf(plainTarget, kind)))
        return false;
    return !QFileInfo(plainTarget).exists() || QFile::remove(plainTarget);
}

bool ToggleFileHead(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    // The author may have picked a link to the file; transform the file, keep the link.
    const QString target = QFileInfo(path).canonicalFilePath();
    const std::optional<QByteArray> bytes = readWhole(target);
    return bytes && writeEncoded(*bytes, target);
}

} // namespace lexora
