// Pictures drawn from their own pixels: the fitted pixmaps and the picture box seen through an
// enlarging painter.
#include "MediaTestKit.h"
#include "media/PictureBox.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace lexora;
using namespace lexora::test;

namespace {

// Alternating black and white columns: any averaging of neighbours turns them grey.
QImage Stripes(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return image;
}

// How many neighbouring pixels along the middle row differ by more than half the range.
int SharpSteps(const QImage& image)
{
    int steps = 0;
    const int y = image.height() / 2;
    for (int x = 1; x < image.width(); ++x)
        steps += std::abs(qGray(image.pixel(x, y)) - qGray(image.pixel(x - 1, y))) > 128;
    return steps;
}

class PictureBoxTest : public ::testing::Test, private WithApplication
{
protected:
    // The box drawn with a painter that enlarges it twice, as an enlarged window draws it.
    static QImage drawnTwiceAsLarge(PictureBox& box)
    {
        QImage out(box.size() * 2, QImage::Format_RGB32);
        out.fill(Qt::red);
        QPainter painter(&out);
        painter.scale(2, 2);
        box.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
        return out;
    }
};

TEST_F(PictureBoxTest, FitPixmapKeepsThePicturesPixelsBehindTheBoxesLogicalSize)
{
    // picture, box, mode, logical size, device pixel ratio
    const std::tuple<QSize, QSize, Qt::AspectRatioMode, QSize, double> cases[] = {
        {{800, 600}, {400, 300}, Qt::KeepAspectRatio, {400, 300}, 2.0},
        {{800, 600}, {96, 72}, Qt::KeepAspectRatio, {96, 72}, 800.0 / 96},
        {{800, 600}, {168, 104}, Qt::KeepAspectRatio, {138, 104}, 800.0 / 138},
        {{200, 150}, {400, 300}, Qt::KeepAspectRatio, {400, 300}, 1.0},
        {{1590, 1172}, {816, 545}, Qt::IgnoreAspectRatio, {816, 545}, 1172.0 / 545},
    };
    for (const auto& [picture, box, mode, logical, ratio] : cases) {
        const QPixmap pixmap = FitPixmap(QImage(picture, QImage::Format_RGB32), box, mode);
        EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), logical)
            << picture.width() << " in " << box.width();
        EXPECT_NEAR(pixmap.devicePixelRatio(), ratio, 0.01) << picture.width() << " in " << box.width();
    }
    EXPECT_TRUE(FitPixmap(QImage(), QSize(10, 10)).isNull());
}

TEST_F(PictureBoxTest, APictureIsDrawnFromItsOwnPixelsUntilTheSurfaceIsDrawnOn)
{
    PictureBox box, other;
    box.resize(100, 50);
    other.resize(100, 50);
    box.setImage(Stripes({200, 100}));
    EXPECT_TRUE(box.paintsSource());
    // Enlarged twice, the 200 source columns come back one device pixel each.
    EXPECT_GT(SharpSteps(drawnTwiceAsLarge(box)), 190);
    // The surface itself holds the picture at the box's size: its columns blend.
    EXPECT_LT(SharpSteps(box.image()), 10);

    other.copyImageFrom(box);
    EXPECT_TRUE(other.paintsSource());
    box.surface().fill(Qt::black);
    EXPECT_FALSE(box.paintsSource());
    EXPECT_EQ(SharpSteps(drawnTwiceAsLarge(box)), 0);
    box.clearImage();
    EXPECT_FALSE(box.paintsSource());
}

} // namespace
