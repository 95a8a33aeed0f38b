#include "media/PicturesAhead.h"

#include "media/AtomicFile.h"
#include "media/MediaFiles.h"
#include "store/FileHead.h"

#include <QFileInfo>

namespace lexora {

PicturesAhead::PicturesAhead(const MediaFolders& folders, QStringList words, QSize fit)
    : m_words(std::move(words)), m_worker(std::async(std::launch::async, readAll, folders, m_words, fit))
{}

PicturesAhead::~PicturesAhead()
{
    if (m_worker.valid())
        m_worker.wait();
}

std::vector<std::optional<PicturesAhead::Read>> PicturesAhead::readAll(const MediaFolders& folders,
                                                                       const QStringList& words, QSize fit)
{
    std::vector<std::optional<Read>> all;
    for (const QString& word : words) {
        std::optional<Read>& read = all.emplace_back();
        const auto encoded = MediaFolders::fileIn(folders.pics(), word, QStringLiteral(".pet"));
        const auto plain = MediaFolders::fileIn(folders.pics(), word, QStringLiteral(".jpg"));
        if (!encoded || !plain || QFileInfo::exists(*plain))
            continue;
        const QFileInfo info(*encoded);
        std::optional<QByteArray> bytes = ReadWholeFile(*encoded);
        if (!bytes)
            continue;
        CryptBytesHead(*bytes);
        QImage image = DecodePicture(*bytes, fit);
        if (!image.isNull())
            read = Read{*encoded, info.size(), info.lastModified(), std::move(image)};
    }
    return all;
}

std::optional<QImage> PicturesAhead::take(const QString& word)
{
    if (m_worker.valid())
        m_read = m_worker.get();
    const auto at = m_words.indexOf(word);
    if (at < 0 || static_cast<size_t>(at) >= m_read.size() || !m_read[static_cast<size_t>(at)])
        return std::nullopt;
    Read& read = *m_read[static_cast<size_t>(at)];
    // Still at rest and still the same file: what taking it now would give.
    const QFileInfo now(read.path);
    const auto plain = MediaFolders::fileIn(QFileInfo(read.path).path(), word, QStringLiteral(".jpg"));
    if (!now.exists() || now.size() != read.size || now.lastModified() != read.modified ||
        (plain && QFileInfo::exists(*plain)))
        return std::nullopt;
    return std::exchange(read.image, QImage());
}

} // namespace lexora
