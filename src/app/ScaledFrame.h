#pragma once

#include <QPointF>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

namespace lexora {

// How a page drawn at its design size sits in a frame of another size: one factor for both
// directions (the proportions stay), centred, the rest of the frame left as a border.
struct PageFit
{
    double scale = 1.0;
    QPointF offset;
};

PageFit FitPage(QSize design, QSize frame);

// The first size of a window whose page has the design size and whose menus and frame take chrome:
// the design size where the screen has room for it, else the page shrunk to fit, same proportions.
QSize FirstWindowSize(QSize design, QSize chrome, QRect available);

// Places a dialog in the middle of the window, wherever the widget that opens it sits in the page.
void CenterOver(QWidget& dialog, const QWidget& window);

// Holds a page designed at one size and lays it out again at the frame's size: every control is
// placed, sized and lettered for the scale (proportions kept, the page centred), so it is a real
// widget where it is drawn, and text and pictures are drawn for the size they are seen at.
class ScaledFrame final : public QWidget
{
    Q_OBJECT
public:
    // Takes the page (a widget without a parent, or a window) into the frame.
    ScaledFrame(QWidget* page, QSize designSize, QWidget* parent = nullptr);

    QWidget* page() const { return m_page; }
    const PageFit& fit() const { return m_fit; }
    QSize sizeHint() const override;
    // Lays the page out again: controls added since (views built on first use) take the scale.
    void refit();
    // A widget beside the page (the menu bar, its menus) lettered at the page's scale.
    void scaleAlong(QWidget& widget);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void followAlong();

    QWidget* m_page;
    QSize m_design;
    PageFit m_fit;
    std::vector<QPointer<QWidget>> m_along;
    double m_alongScale = 1.0;
};

} // namespace lexora
