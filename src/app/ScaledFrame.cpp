#include "app/ScaledFrame.h"

#include "media/PageScale.h"

#include <QResizeEvent>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace lexora {

PageFit FitPage(QSize design, QSize frame)
{
    PageFit fit;
    if (design.isEmpty() || frame.isEmpty())
        return fit;
    fit.scale = std::min(double(frame.width()) / design.width(), double(frame.height()) / design.height());
    fit.offset = QPointF((frame.width() - design.width() * fit.scale) / 2,
                         (frame.height() - design.height() * fit.scale) / 2);
    return fit;
}

QSize FirstWindowSize(QSize design, QSize chrome, QRect available)
{
    const QSize room = available.size() - chrome;
    if (design.isEmpty() || room.isEmpty())
        return design + chrome;
    const double scale =
        std::min({1.0, double(room.width()) / design.width(), double(room.height()) / design.height()});
    return QSize(static_cast<int>(std::floor(design.width() * scale)),
                 static_cast<int>(std::floor(design.height() * scale))) +
           chrome;
}

void CenterOver(QWidget& dialog, const QWidget& window)
{
    QPoint topLeft = window.frameGeometry().center() - QPoint(dialog.width() / 2, dialog.height() / 2);
    // A dialog larger than the window still opens on the screen, its top left corner first.
    if (const QScreen* screen = window.screen()) {
        const QRect room = screen->availableGeometry();
        topLeft.setX(std::max(room.left(), std::min(topLeft.x(), room.right() + 1 - dialog.width())));
        topLeft.setY(std::max(room.top(), std::min(topLeft.y(), room.bottom() + 1 - dialog.height())));
    }
    dialog.move(topLeft);
}

ScaledFrame::ScaledFrame(QWidget* page, QSize designSize, QWidget* parent)
    : QWidget(parent), m_page(page), m_design(designSize)
{
    page->setParent(this);
    // The frame sets the page's size; the form's own fixed size would hold it at the design size.
    page->setMinimumSize(0, 0);
    page->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    page->resize(designSize);
    // The border around a page of other proportions has the page's own colour.
    QPalette border = palette();
    border.setColor(backgroundRole(), page->palette().color(page->backgroundRole()));
    setPalette(border);
    setAutoFillBackground(true);
    setMinimumSize(designSize / 2);
    page->show();
    refit();
}

void ScaledFrame::refit()
{
    m_fit = FitPage(m_design, size());
    const QPoint topLeft = m_fit.offset.toPoint();
    m_page->setGeometry(
        QRect(topLeft, QSize(static_cast<int>(std::lround(m_design.width() * m_fit.scale)),
                             static_cast<int>(std::lround(m_design.height() * m_fit.scale)))));
    PageScale::apply(*m_page, m_fit.scale);
    followAlong();
}

void ScaledFrame::scaleAlong(QWidget& widget)
{
    // The others already follow the current step: only the new one is set.
    m_along.emplace_back(&widget);
    PageScale::setFontScale(widget, m_alongScale);
}

void ScaledFrame::followAlong()
{
    // A menu bar that grows takes height from the frame and so from the scale: following every
    // small change, the two would chase each other. They follow by steps instead.
    constexpr double kStep = 0.03;
    if (std::abs(m_fit.scale - m_alongScale) < kStep)
        return;
    m_alongScale = m_fit.scale;
    for (const QPointer<QWidget>& widget : m_along) {
        if (widget)
            PageScale::setFontScale(*widget, m_alongScale);
    }
}

void ScaledFrame::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    refit();
}

QSize ScaledFrame::sizeHint() const
{
    return m_design;
}

} // namespace lexora
