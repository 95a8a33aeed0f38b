#pragma once

#include "media/MediaFolders.h"
#include "views/ReaderLogic.h"

#include <QBasicTimer>
#include <QObject>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace lexora {

class ClickLabel;
class CWordType;
class MediaFiles;
class PicturesAhead;

// The reader's eight thumbnails (ArrImages) with the meanings shown in place of missing pictures
// (arrChs), or the fallback picture while the reader hides the meanings. A page's pictures are
// decoded once and kept while the reader steps within that page, and the pages before and after it
// are decoded on a worker thread meanwhile, so that stepping onto them finds their pictures ready.
class ThumbStrip final : public QObject
{
    Q_OBJECT
public:
    ThumbStrip(std::array<ClickLabel*, kThumbsPerPage> images,
               std::array<ClickLabel*, kThumbsPerPage> meanings, QObject* parent = nullptr);
    ~ThumbStrip() override;

    // Shows the page's words, the current one framed.
    void show(const ThumbPage& page, const std::vector<CWordType>& words, MediaFiles& media);
    void clear();
    // Starts decoding the page's pictures on a worker thread, for the show() that needs them.
    void readAhead(const ThumbPage& page, const std::vector<CWordType>& words, const MediaFiles& media);
    // Whether a word without a picture shows its meaning (else the fallback picture); the next show()
    // draws the page afresh.
    void setMeaningsShown(bool shown);

protected:
    void timerEvent(QTimerEvent* event) override;

Q_SIGNALS:
    // A thumbnail or its meaning was clicked: its position on the page.
    void clicked(int position);

private:
    void load(int position, const CWordType& word, MediaFiles& media, PicturesAhead* ahead);
    // Reads the pages either side of the one shown, shortly; keeps those already being read.
    void readAround(const ThumbPage& page, const std::vector<CWordType>& words, const MediaFiles& media);
    QSize pictureFit() const;

    std::array<ClickLabel*, kThumbsPerPage> m_images;
    std::array<ClickLabel*, kThumbsPerPage> m_meanings;
    QStringList m_shownWords;
    std::vector<std::unique_ptr<PicturesAhead>> m_ahead;
    std::vector<QStringList> m_around;
    std::optional<MediaFolders> m_folders;
    QBasicTimer m_aroundTimer;
    bool m_meaningsShown = true;
};

} // namespace lexora
