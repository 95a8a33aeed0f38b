#include "views/ThumbStrip.h"

#include "media/MediaFiles.h"
#include "media/PageScale.h"
#include "media/PictureBox.h"
#include "media/PicturesAhead.h"
#include "store/Records.h"
#include "ui/ClickLabel.h"

#include <QTimerEvent>

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

ThumbStrip::~ThumbStrip() = default;

namespace {

QStringList WordsOf(const std::vector<CWordType>& words, int start, int count)
{
    QStringList english;
    for (int i = start; i < start + count; ++i)
        english << words[static_cast<size_t>(i)].English;
    return english;
}

} // namespace

void ThumbStrip::show(const ThumbPage& page, const std::vector<CWordType>& words, MediaFiles& media)
{
    const QStringList pageWords = WordsOf(words, page.start, page.count);
    const bool samePage = pageWords == m_shownWords;
    std::unique_ptr<PicturesAhead> ahead;
    if (!samePage) {
        const auto found = std::find_if(m_ahead.begin(), m_ahead.end(),
                                        [&](const auto& read) { return read->words() == pageWords; });
        if (found != m_ahead.end()) {
            ahead = std::move(*found);
            m_ahead.erase(found);
        }
    }
    for (int i = 0; i < kThumbsPerPage; ++i) {
        ClickLabel* image = m_images[static_cast<size_t>(i)];
        if (i >= page.count) {
            image->hide();
            m_meanings[static_cast<size_t>(i)]->hide();
            continue;
        }
        if (!samePage)
            load(i, words[static_cast<size_t>(page.start + i)], media, ahead.get());
        image->setFrameShape(i == page.bordered ? QFrame::Box : QFrame::NoFrame);
        image->setLineWidth(1);
        image->show();
    }
    m_shownWords = pageWords;
    if (!samePage)
        readAround(page, words, media);
}

void ThumbStrip::readAhead(const ThumbPage& page, const std::vector<CWordType>& words,
                           const MediaFiles& media)
{
    const QStringList pageWords = WordsOf(words, page.start, page.count);
    if (pageWords.isEmpty() || pageWords == m_shownWords ||
        std::any_of(m_ahead.begin(), m_ahead.end(),
                    [&](const auto& read) { return read->words() == pageWords; }))
        return;
    m_ahead.push_back(std::make_unique<PicturesAhead>(media.folders(), pageWords, pictureFit()));
}

QSize ThumbStrip::pictureFit() const
{
    // Decoded at twice the box so that a scaled-up window still shows it sharp.
    return m_images[0]->size() * 2;
}

void ThumbStrip::readAround(const ThumbPage& page, const std::vector<CWordType>& words,
                            const MediaFiles& media)
{
    m_around.clear();
    auto want = [&](int start) {
        const int count = std::min<int>(kThumbsPerPage, static_cast<int>(words.size()) - start);
        if (start != page.start && count > 0)
            m_around.push_back(WordsOf(words, start, count));
    };
    // Stepping on from the last page comes back to the first.
    const int next = page.start + kThumbsPerPage;
    want(next < static_cast<int>(words.size()) ? next : 0);
    if (page.start > 0)
        want(page.start - kThumbsPerPage);
    m_folders = media.folders();
    // Begun once the step is over, so that the workers do not hold up the step itself.
    m_aroundTimer.start(kReadAheadDelayMs, this);
}

void ThumbStrip::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_aroundTimer.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    m_aroundTimer.stop();
    std::vector<std::unique_ptr<PicturesAhead>> around;
    for (const QStringList& pageWords : m_around) {
        const auto found = std::find_if(m_ahead.begin(), m_ahead.end(),
                                        [&](const auto& read) { return read->words() == pageWords; });
        if (found != m_ahead.end())
            around.push_back(std::move(*found));
        else
            around.push_back(std::make_unique<PicturesAhead>(*m_folders, pageWords, pictureFit()));
    }
    m_ahead = std::move(around);
}

void ThumbStrip::load(int position, const CWordType& word, MediaFiles& media, PicturesAhead* ahead)
{
    ClickLabel* image = m_images[static_cast<size_t>(position)];
    ClickLabel* meaning = m_meanings[static_cast<size_t>(position)];
    // A screen reader says the thumbnail's word, not its place in the strip.
    image->setAccessibleName(word.English);
    meaning->setAccessibleName(word.English + QLatin1Char(' ') + word.Chinese);
    std::optional<QImage> picture = ahead ? ahead->take(word.English) : std::nullopt;
    if (!picture)
        picture = media.TakeWordPic(word.English, pictureFit());
    if (!picture && !m_meaningsShown)
        picture = QImage(media.folders().fallbackPicture());
    if (picture) {
        meaning->hide();
        if (picture->isNull())
            image->clear();
        else
            PageScale::showDrawn(
                *image, [shown = *picture](const QLabel& label) { return FitPixmap(shown, label.size()); });
        return;
    }
    image->clear();
    PageScale::setGeometry(*meaning, PageScale::geometry(*image));
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
