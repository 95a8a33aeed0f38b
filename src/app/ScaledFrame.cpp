#include "app/ScaledFrame.h"

#include "ui/Geometry.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QResizeEvent>
#include <algorithm>

namespace lexora {

namespace {

// The page's controls form one ring for Tab: past the last control the first one takes the focus
// again, where a plain proxy would leave the focus stranded at the page's edge.
class PageProxy final : public QGraphicsProxyWidget
{
protected:
    // Labels and pictures that act on release leave the press unanswered; in a window the release
    // still comes back to them, in a scene only to an item that kept the press.
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override
    {
        QGraphicsProxyWidget::mousePressEvent(event);
        event->accept();
    }

    bool focusNextPrevChild(bool next) override
    {
        if (QGraphicsProxyWidget::focusNextPrevChild(next))
            return true;
        QWidget* page = widget();
        if (!page)
            return false;
        for (QWidget* w = page; (w = next ? w->nextInFocusChain() : w->previousInFocusChain()) != page;) {
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
                w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
                return true;
            }
        }
        return false;
    }
};

} // namespace

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

QPointF TwipsToFrame(QPoint twips, const PageFit& fit)
{
    return fit.toFrame(QPointF(Px(twips.x()), Px(twips.y())));
}

void CenterOver(QWidget& dialog, const QWidget& window)
{
    const QRect area = window.frameGeometry();
    dialog.move(area.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
}

ScaledFrame::ScaledFrame(QWidget* page, QSize designSize, QWidget* parent)
    : QGraphicsView(parent), m_page(page), m_proxy(new PageProxy), m_design(designSize)
{
    // A window of its own inside the scene: it is drawn only through the frame, and the dialogs it
    // opens stay real windows rather than pictures in the scene.
    page->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::BypassGraphicsProxyWidget);
    page->setFixedSize(designSize);
    auto* scene = new QGraphicsScene(this);
    scene->addItem(m_proxy);
    m_proxy->setWidget(page);
    m_proxy->setWindowFlags(Qt::Widget);
    m_proxy->setCacheMode(QGraphicsItem::NoCache);
    page->show();
    setScene(scene);
    setSceneRect(QRectF(QPointF(0, 0), QSizeF(designSize)));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAlignment(Qt::AlignCenter);
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    // The border around a page of other proportions has the page's own colour.
    setBackgroundBrush(page->palette().color(page->backgroundRole()));
    setMinimumSize(designSize / 2);
    refit();
}

void ScaledFrame::refit()
{
    m_fit = FitPage(m_design, viewport()->size());
    setTransform(QTransform::fromScale(m_fit.scale, m_fit.scale));
}

void ScaledFrame::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    refit();
}

QSize ScaledFrame::sizeHint() const
{
    return m_design;
}

} // namespace lexora
