#pragma once

#include <QImage>
#include <QPixmap>
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

    // Draws picture over the whole surface, scaled to fit with its proportions kept, centred. On
    // screen the box paints it from the picture itself, so a scaled window shows every pixel the
    // picture has rather than the surface's.
    void setImage(const QImage& picture);
    // Fills the surface with the background colour.
    void clearImage();
    // Copies the surface of another box (the control's picture is now the same).
    void copyImageFrom(const PictureBox& other);

    const QImage& image() const { return m_surface; }
    // The surface for drawing; always the control's size. Drawing on it shows the surface again.
    QImage& surface();
    // Whether the box paints the picture itself (true) or its surface.
    bool paintsSource() const { return !m_source.isNull(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitSurface();

    QImage m_surface;
    QImage m_source;
    // Something other than the background has been drawn; the first paint of it is traced.
    bool m_drawn = false;
    bool m_drawnPainted = false;
};

// Where a picture of the given size sits in a box when scaled to fit with its proportions, centred.
QRect FittedRect(QSize picture, QRect box);

// A pixmap that shows the picture fitted into box (logical pixels; stretched over it with
// Qt::IgnoreAspectRatio) while keeping the picture's own pixels as its device pixels, so that it
// stays sharp wherever the view is drawn enlarged.
QPixmap FitPixmap(const QImage& picture, QSize box, Qt::AspectRatioMode mode = Qt::KeepAspectRatio);

// Copies the pixels of `from` in src to dest with their top-left corner at `to`, clipped to both
// pictures (a plain copy: no blending).
void CopyPixels(QImage& dest, QPoint to, const QImage& src, QRect from);

} // namespace lexora
