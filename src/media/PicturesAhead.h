#pragma once

#include "media/MediaFolders.h"

#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QStringList>
#include <future>
#include <optional>
#include <vector>

namespace lexora {

// Words' pictures decoded on a worker thread before they are shown, each scaled to fit a size as
// MediaFiles::TakeWordPic does. Only pictures at rest are read ahead (the encoded file alone): taking
// one of those changes nothing in the folder, so reading it early is the same as reading it late, as
// long as the file is still the one that was read. Anything else is left to the caller to take.
class PicturesAhead
{
public:
    PicturesAhead(const MediaFolders& folders, QStringList words, QSize fit);
    // Waits for the worker.
    ~PicturesAhead();
    PicturesAhead(const PicturesAhead&) = delete;
    PicturesAhead& operator=(const PicturesAhead&) = delete;

    const QStringList& words() const { return m_words; }
    // The word's picture, waiting for the worker if need be; nothing when it was not read ahead or its
    // file has changed since.
    std::optional<QImage> take(const QString& word);

private:
    struct Read
    {
        QString path;
        qint64 size = 0;
        QDateTime modified;
        QImage image;
    };
    static std::vector<std::optional<Read>> readAll(const MediaFolders& folders, const QStringList& words,
                                                    QSize fit);

    QStringList m_words;
    std::future<std::vector<std::optional<Read>>> m_worker;
    std::vector<std::optional<Read>> m_read;
};

} // namespace lexora
