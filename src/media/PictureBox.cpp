#include "media/PictureBox.h"

#include "media/StartupTrace.h"

#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cstring>

namespace lexora {

namespace {

constexpr QImage::Format kSurfaceFormat = QImage::Format_RGB32;

} // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage& PictureBox::surface()
{
    m_source = QImage();
    m_drawn = true;
    fitSurface();
    return m_surface;
}

void PictureBox::fitSurface()
{
    if (m_surface.size() == size() && m_surface.format() == kSurfaceFormat)
        return;
    QImage grown(size(), kSurfaceFormat);
    grown.fill(palette().color(backgroundRole()));
    if (!m_surface.isNull() && !grown.isNull())
        CopyPixels(grown, QPoint(0, 0), m_surface.convertToFormat(kSurfaceFormat), m_surface.rect());
    m_surface = std::move(grown);
}

void PictureBox::setImage(const QImage& picture)
{
    clearImage();
    if (picture.isNull() || m_surface.isNull())
        return;
    QPainter painter(&m_surface);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(FittedRect(picture.size(), m_surface.rect()), picture);
    m_source = picture;
    m_drawn = true;
}

void PictureBox::clearImage()
{
    fitSurface();
    m_surface.fill(palette().color(backgroundRole()));
    m_source = QImage();
    m_drawn = false;
    update();
}

void PictureBox::copyImageFrom(const PictureBox& other)
{
    fitSurface();
    CopyPixels(m_surface, QPoint(0, 0), other.image(), other.image().rect());
    m_source = other.m_source;
    m_drawn = other.m_drawn;
    update();
}

QSize PictureBox::sizeHint() const
{
    return QSize(400, 300);
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    if (m_drawn && !m_drawnPainted) {
        m_drawnPainted = true;
        qCDebug(lcStartup, "picture");
    }
    QPainter painter(this);
    if (m_source.isNull() || m_surface.size() != size()) {
        painter.drawImage(event->rect().topLeft(), m_surface, event->rect());
        return;
    }
    painter.fillRect(event->rect(), palette().color(backgroundRole()));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(FittedRect(m_source.size(), rect()), m_source);
}

void PictureBox::resizeEvent(QResizeEvent* event)
{
    fitSurface();
    QWidget::resizeEvent(event);
}

QRect FittedRect(QSize picture, QRect box)
{
    const QSize fitted = picture.scaled(box.size(), Qt::KeepAspectRatio);
    return QRect(box.topLeft() +
                     QPoint((box.width() - fitted.width()) / 2, (box.height() - fitted.height()) / 2),
                 fitted);
}

QPixmap FitPixmap(const QImage& picture, QSize box, Qt::AspectRatioMode mode)
{
    if (picture.isNull() || box.isEmpty())
        return QPixmap();
    const QSize fitted = picture.size().scaled(box, mode);
    // As many device pixels as the picture has across its larger share, never fewer than logical ones.
    const double ratio =
        std::max({1.0, double(picture.width()) / fitted.width(), double(picture.height()) / fitted.height()});
    const QSize pixels(qRound(fitted.width() * ratio), qRound(fitted.height() * ratio));
    QPixmap pixmap = QPixmap::fromImage(
        pixels == picture.size() ? picture
                                 : picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

void CopyPixels(QImage& dest, QPoint to, const QImage& src, QRect from)
{
    const QRect clipped = from.intersected(src.rect());
    to += clipped.topLeft() - from.topLeft();
    const QRect placed = QRect(to, clipped.size()).intersected(dest.rect());
    if (placed.isEmpty())
        return;
    const QPoint origin = clipped.topLeft() + (placed.topLeft() - to);
    if (src.format() != dest.format() || src.depth() != 32) {
        QPainter painter(&dest);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(placed.topLeft(), src, QRect(origin, placed.size()));
        return;
    }
    const size_t rowBytes = static_cast<size_t>(placed.width()) * 4;
    for (int y = 0; y < placed.height(); ++y) {
        const uchar* in = src.constScanLine(origin.y() + y) + origin.x() * 4;
        std::memcpy(dest.scanLine(placed.y() + y) + placed.x() * 4, in, rowBytes);
    }
}

} // namespace lexora
