#pragma once

#include <QGraphicsView>
#include <QPointF>
#include <QSize>

class QGraphicsProxyWidget;

namespace lexora {

// How a page drawn at its design size sits in a frame of another size: one factor for both
// directions (the proportions stay), centred, the rest of the frame left as a border.
struct PageFit
{
    double scale = 1.0;
    QPointF offset;

    // A point of the page (design pixels) in the frame, and back.
    QPointF toFrame(QPointF page) const { return offset + page * scale; }
    QPointF toPage(QPointF frame) const { return (frame - offset) / scale; }
};

PageFit FitPage(QSize design, QSize frame);

// A position given in twips on the page, in pixels of the frame (the page's own conversion first,
// then the fit), so that everything on the page keeps its place relative to the rest.
QPointF TwipsToFrame(QPoint twips, const PageFit& fit);

// Places a dialog in the middle of the window, wherever the widget that opens it sits in the scene.
void CenterOver(QWidget& dialog, const QWidget& window);

// Shows a widget laid out at its design size scaled uniformly to fill the frame. The widget keeps
// its own coordinates: its layout, its mouse positions and its drawing are those of the design
// size, and the frame's transformation does the rest, so text, vector art and pictures drawn from
// their source come out sharp at any size.
class ScaledFrame final : public QGraphicsView
{
    Q_OBJECT
public:
    // Takes the page (a widget without a parent, or a window) into the frame.
    ScaledFrame(QWidget* page, QSize designSize, QWidget* parent = nullptr);

    QWidget* page() const { return m_page; }
    const PageFit& fit() const { return m_fit; }
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void refit();

    QWidget* m_page;
    QGraphicsProxyWidget* m_proxy;
    QSize m_design;
    PageFit m_fit;
};

} // namespace lexora
