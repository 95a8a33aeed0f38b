#pragma once

#include <QImage>
#include <QWidget>

namespace lexora {

// A picture control with a persistent drawing surface the size of the control: what is drawn stays
// until replaced and is painted from the surface. Rectangles of pixels can be copied between two
// boxes, which is how the picture transition draws.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Draws picture over the whole surface, scaled to fit with its proportions kept, centred.
    void setImage(const QImage& picture);
    // Fills the surface with the background colour.
    void clearImage();
    // Copies the surface of another box (the control's picture is now the same).
    void copyImageFrom(const PictureBox& other);

    const QImage& image() const { return m_surface; }
    // The surface for drawing; always the control's size.
    QImage& surface();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitSurface();

    QImage m_surface;
};

// Copies the pixels of `from` in src to dest with their top-left corner at `to`, clipped to both
// pictures (a plain copy: no blending).
void CopyPixels(QImage& dest, QPoint to, const QImage& src, QRect from);

} // namespace lexora
