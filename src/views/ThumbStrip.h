#pragma once

#include "views/ReaderLogic.h"

#include <QObject>
#include <QStringList>
#include <array>
#include <vector>

namespace lexora {

class ClickLabel;
class CWordType;
class MediaFiles;

// The reader's eight thumbnails (ArrImages) with the meanings shown in place of missing pictures
// (arrChs), or the fallback picture while the reader hides the meanings. A page's pictures are
// decoded once and kept while the reader steps within that page.
class ThumbStrip final : public QObject
{
    Q_OBJECT
public:
    ThumbStrip(std::array<ClickLabel*, kThumbsPerPage> images,
               std::array<ClickLabel*, kThumbsPerPage> meanings, QObject* parent = nullptr);

    // Shows the page's words, the current one framed.
    void show(const ThumbPage& page, const std::vector<CWordType>& words, MediaFiles& media);
    void clear();
    // Whether a word without a picture shows its meaning (else the fallback picture); the next show()
    // draws the page afresh.
    void setMeaningsShown(bool shown);

Q_SIGNALS:
    // A thumbnail or its meaning was clicked: its position on the page.
    void clicked(int position);

private:
    void load(int position, const CWordType& word, MediaFiles& media);

    std::array<ClickLabel*, kThumbsPerPage> m_images;
    std::array<ClickLabel*, kThumbsPerPage> m_meanings;
    QStringList m_shownWords;
    bool m_meaningsShown = true;
};

} // namespace lexora
