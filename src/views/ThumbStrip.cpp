#include "views/ThumbStrip.h"

#include "media/MediaFiles.h"
#include "media/PictureBox.h"
#include "store/Records.h"
#include "ui/ClickLabel.h"

namespace lexora {

ThumbStrip::ThumbStrip(std::array<ClickLabel*, kThumbsPerPage> images,
                       std::array<ClickLabel*, kThumbsPerPage> meanings, QObject* parent)
    : QObject(parent), m_images(images), m_meanings(meanings)
{
    for (int i = 0; i < kThumbsPerPage; ++i) {
        const auto at = static_cast<size_t>(i);
        connect(m_images[at], &ClickLabel::clicked, this, [this, i] { Q_EMIT clicked(i); });
        connect(m_meanings[at], &ClickLabel::clicked, this, [this, i] { Q_EMIT clicked(i); });
    }
}

void ThumbStrip::show(const ThumbPage& page, const std::vector<CWordType>& words, MediaFiles& media)
{
    QStringList pageWords;
    for (int i = 0; i < page.count; ++i)
        pageWords << words[static_cast<size_t>(page.start + i)].English;
    const bool samePage = pageWords == m_shownWords;
    for (int i = 0; i < kThumbsPerPage; ++i) {
        ClickLabel* image = m_images[static_cast<size_t>(i)];
        if (i >= page.count) {
            image->hide();
            m_meanings[static_cast<size_t>(i)]->hide();
            continue;
        }
        if (!samePage)
            load(i, words[static_cast<size_t>(page.start + i)], media);
        image->setFrameShape(i == page.bordered ? QFrame::Box : QFrame::NoFrame);
        image->setLineWidth(1);
        image->show();
    }
    m_shownWords = pageWords;
}

void ThumbStrip::load(int position, const CWordType& word, MediaFiles& media)
{
    ClickLabel* image = m_images[static_cast<size_t>(position)];
    ClickLabel* meaning = m_meanings[static_cast<size_t>(position)];
    // Decoded at twice the box so that a scaled-up window still shows it sharp.
    std::optional<QImage> picture = media.TakeWordPic(word.English, image->size() * 2);
    if (!picture && !m_meaningsShown)
        picture = QImage(media.folders().fallbackPicture());
    if (picture) {
        meaning->hide();
        if (picture->isNull())
            image->clear();
        else
            image->setPixmap(FitPixmap(*picture, image->size()));
        return;
    }
    image->clear();
    meaning->setGeometry(image->geometry());
    meaning->setText(word.Chinese);
    meaning->show();
    meaning->raise();
}

void ThumbStrip::setMeaningsShown(bool shown)
{
    m_meaningsShown = shown;
    m_shownWords.clear();
}

void ThumbStrip::clear()
{
    m_shownWords.clear();
    for (int i = 0; i < kThumbsPerPage; ++i) {
        m_images[static_cast<size_t>(i)]->hide();
        m_meanings[static_cast<size_t>(i)]->hide();
    }
}

} // namespace lexora
