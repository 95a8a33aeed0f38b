#include "media/MediaFiles.h"

#include "media/AtomicFile.h"
#include "store/FileHead.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace lexora {

MediaFiles::MediaFiles(MediaFolders folders) : m_folders(std::move(folders)) {}

MediaFiles::Kind MediaFiles::pictures() const
{
    return {m_folders.pics(), QStringLiteral(".jpg"), QStringLiteral(".pet")};
}

MediaFiles::Kind MediaFiles::sounds() const
{
    return {m_folders.voice(), QStringLiteral(".wav"), QStringLiteral(".abw")};
}

bool MediaFiles::transform(const Kind& kind, const QString& word, bool encode)
{
    const auto source = MediaFolders::fileIn(kind.folder, word, encode ? kind.plain : kind.encoded);
    const auto target = MediaFolders::fileIn(kind.folder, word, encode ? kind.encoded : kind.plain);
    if (!source || !target || !QFile::exists(*source))
        return true;
    return TransformMediaFile(*source, *target);
}

bool MediaFiles::EncryptWordPic(const QString& word)
{
    return transform(pictures(), word, true);
}

bool MediaFiles::DecryptWordPic(const QString& word)
{
    return transform(pictures(), word, false);
}

bool MediaFiles::EncryptWordSound(const QString& word)
{
    return transform(sounds(), word, true);
}

bool MediaFiles::DecryptWordSound(const QString& word)
{
    return transform(sounds(), word, false);
}

bool MediaFiles::WordPicExists(const QString& word) const
{
    const auto path = MediaFolders::fileIn(m_folders.pics(), word, QStringLiteral(".jpg"));
    return path && QFile::exists(*path);
}

QString MediaFiles::GetWordPicFile(const QString& word) const
{
    if (WordPicExists(word))
        return *MediaFolders::fileIn(m_folders.pics(), word, QStringLiteral(".jpg"));
    return m_folders.fallbackPicture();
}

bool MediaFiles::WordSoundExists(const QString& word) const
{
    const Kind kind = sounds();
    const auto plain = MediaFolders::fileIn(kind.folder, word, kind.plain);
    const auto encoded = MediaFolders::fileIn(kind.folder, word, kind.encoded);
    return plain && (QFile::exists(*plain) || QFile::exists(*encoded));
}

std::optional<QByteArray> MediaFiles::take(const Kind& kind, const QString& word, bool encodedWins)
{
    const auto plain = MediaFolders::fileIn(kind.folder, word, kind.plain);
    const auto encoded = MediaFolders::fileIn(kind.folder, word, kind.encoded);
    if (!plain)
        return std::nullopt;
    const bool hasPlain = QFile::exists(*plain);
    const bool hasEncoded = QFile::exists(*encoded);

    if (hasEncoded && (encodedWins || !hasPlain)) {
        if (std::optional<QByteArray> bytes = ReadWholeFile(*encoded)) {
            CryptBytesHead(*bytes);
            // Decoding over the stray plain file and encoding back would leave only the encoded one.
            if (hasPlain)
                QFile::remove(*plain);
            return bytes;
        }
    }
    if (!hasPlain)
        return std::nullopt;
    std::optional<QByteArray> bytes = ReadWholeFile(*plain);
    if (!bytes)
        return std::nullopt;
    QByteArray encodedBytes = *bytes;
    CryptBytesHead(encodedBytes);
    // On read-only media the plain file is used as found and stays plain.
    ReplaceMediaFile(*plain, *encoded, encodedBytes);
    return bytes;
}

std::optional<QImage> MediaFiles::TakeWordPic(const QString& word)
{
    const std::optional<QByteArray> bytes = take(pictures(), word, true);
    if (!bytes)
        return std::nullopt;
    QImage image = QImage::fromData(*bytes);
    if (image.isNull())
        return std::nullopt;
    return image;
}

std::optional<QImage> MediaFiles::TakeWordPic(const QString& word, const QSize& fit)
{
    std::optional<QByteArray> bytes = take(pictures(), word, true);
    if (!bytes)
        return std::nullopt;
    QImage image = DecodePicture(std::move(*bytes), fit);
    if (image.isNull())
        return std::nullopt;
    return image;
}

QImage DecodePicture(QByteArray bytes, const QSize& fit)
{
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && !fit.isEmpty())
        reader.setScaledSize(size.scaled(fit, Qt::KeepAspectRatio));
    return reader.read();
}

std::optional<QByteArray> MediaFiles::TakeWordSound(const QString& word)
{
    return take(sounds(), word, false);
}

} // namespace lexora
