#include "course/CoursePictures.h"

#include <QBuffer>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

namespace lexora {

namespace {

const QString kEmojiFamily = QStringLiteral("Noto Color Emoji");
// The emoji font holds bitmaps of one size; draw at that size and scale the result, which works
// whether or not the font engine scales colour bitmaps itself.
constexpr int kEmojiPixelSize = 109;
constexpr int kEmojiTargetHeight = 230 * kPictureDetail;

// Steady pseudo-random positions, so that every build draws the same scenes.
class Scatter
{
public:
    explicit Scatter(unsigned seed) : m_state(seed) {}
    double next()
    {
        m_state = m_state * 1103515245u + 12345u;
        return static_cast<double>((m_state >> 8) & 0xFFFF) / 65536.0;
    }
    double between(double low, double high) { return low + (high - low) * next(); }

private:
    unsigned m_state;
};

bool isJoiner(char32_t cp)
{
    // Joiners, variation selectors and tag characters shape a sequence but have no glyph of their own.
    return cp == 0x200D || (cp >= 0xFE00 && cp <= 0xFE0F) || (cp >= 0xE0020 && cp <= 0xE007F);
}

QRect opaqueBounds(const QImage& image)
{
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) == 0)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

QPainterPath starPath(QPointF centre, double outer, double turn = 0)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? outer : outer * 0.45;
        const double angle = -std::numbers::pi / 2 + turn + i * std::numbers::pi / 5;
        const QPointF p(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

void fillVertical(QPainter& p, const QRectF& area, const QColor& top, const QColor& bottom)
{
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    p.fillRect(area, gradient);
}

void drawCloud(QPainter& p, QPointF at, double size)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(at, size, size * 0.6);
    p.drawEllipse(at + QPointF(-size * 0.8, size * 0.15), size * 0.65, size * 0.45);
    p.drawEllipse(at + QPointF(size * 0.8, size * 0.15), size * 0.7, size * 0.45);
    p.drawEllipse(at + QPointF(size * 0.3, -size * 0.35), size * 0.6, size * 0.5);
}

void drawSun(QPainter& p, QPointF at, double radius, bool face)
{
    p.setPen(QPen(QColor(255, 196, 40), radius * 0.12, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        const double a = i * std::numbers::pi / 6;
        const QPointF dir(std::cos(a), std::sin(a));
        p.drawLine(at + dir * radius * 1.25, at + dir * radius * 1.6);
    }
    QRadialGradient glow(at, radius);
    glow.setColorAt(0, QColor(255, 244, 150));
    glow.setColorAt(1, QColor(255, 210, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(at, radius, radius);
    if (!face)
        return;
    p.setBrush(QColor(120, 80, 30));
    p.drawEllipse(at + QPointF(-radius * 0.35, -radius * 0.2), radius * 0.1, radius * 0.14);
    p.drawEllipse(at + QPointF(radius * 0.35, -radius * 0.2), radius * 0.1, radius * 0.14);
    p.setBrush(QColor(255, 150, 140, 160));
    p.drawEllipse(at + QPointF(-radius * 0.55, radius * 0.2), radius * 0.16, radius * 0.1);
    p.drawEllipse(at + QPointF(radius * 0.55, radius * 0.2), radius * 0.16, radius * 0.1);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(120, 80, 30), radius * 0.08, Qt::SolidLine, Qt::RoundCap));
    const QRectF mouth(at.x() - radius * 0.4, at.y() - radius * 0.25, radius * 0.8, radius * 0.7);
    p.drawArc(mouth, 200 * 16, 140 * 16);
}

void drawFlower(QPainter& p, QPointF at, double size, const QColor& petals)
{
    p.setPen(QPen(QColor(70, 160, 70), size * 0.18, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at, at + QPointF(0, size * 2.6));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 190, 90));
    p.drawEllipse(at + QPointF(size * 0.45, size * 1.7), size * 0.45, size * 0.2);
    p.setBrush(petals);
    for (int i = 0; i < 5; ++i) {
        const double a = i * 2 * std::numbers::pi / 5;
        p.drawEllipse(at + QPointF(std::cos(a), std::sin(a)) * size * 0.7, size * 0.5, size * 0.5);
    }
    p.setBrush(QColor(255, 215, 70));
    p.drawEllipse(at, size * 0.42, size * 0.42);
}

void drawButterfly(QPainter& p, QPointF at, double size, const QColor& wings)
{
    p.setPen(Qt::NoPen);
    p.setBrush(wings);
    p.drawEllipse(at + QPointF(-size * 0.55, -size * 0.35), size * 0.55, size * 0.45);
    p.drawEllipse(at + QPointF(size * 0.55, -size * 0.35), size * 0.55, size * 0.45);
    p.setBrush(wings.lighter(125));
    p.drawEllipse(at + QPointF(-size * 0.4, size * 0.35), size * 0.35, size * 0.3);
    p.drawEllipse(at + QPointF(size * 0.4, size * 0.35), size * 0.35, size * 0.3);
    p.setBrush(QColor(90, 60, 50));
    p.drawEllipse(at, size * 0.12, size * 0.55);
}

void drawMeadow(QPainter& p, const QRectF& r)
{
    fillVertical(p, r, QColor(140, 210, 255), QColor(225, 245, 255));
    drawSun(p, QPointF(r.width() - 95, 85), 48, true);
    drawCloud(p, QPointF(150, 90), 45);
    drawCloud(p, QPointF(430, 60), 35);
    drawCloud(p, QPointF(560, 170), 28);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(165, 230, 125));
    p.drawEllipse(QPointF(180, r.height() + 60), 420, 190);
    p.setBrush(QColor(135, 215, 105));
    p.drawEllipse(QPointF(640, r.height() + 80), 460, 200);
    const QColor colours[] = {QColor(255, 120, 150), QColor(255, 255, 255), QColor(180, 140, 255),
                              QColor(255, 170, 80)};
    for (int i = 0; i < 9; ++i)
        drawFlower(p, QPointF(40 + i * 90, r.height() - 70 + (i % 2) * 22), 12, colours[i % 4]);
}

void drawSeaside(QPainter& p, const QRectF& r)
{
    const double horizon = r.height() * 0.42;
    fillVertical(p, QRectF(0, 0, r.width(), horizon), QColor(170, 225, 255), QColor(230, 248, 255));
    fillVertical(p, QRectF(0, horizon, r.width(), r.height() - horizon), QColor(150, 225, 240),
                 QColor(100, 200, 230));
    drawSun(p, QPointF(110, 80), 40, false);
    drawCloud(p, QPointF(520, 80), 40);
    p.setPen(QPen(QColor(90, 90, 110), 3, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF gull : {QPointF(300, 90), QPointF(350, 120), QPointF(660, 170)}) {
        p.drawArc(QRectF(gull.x() - 16, gull.y(), 16, 12), 0, 180 * 16);
        p.drawArc(QRectF(gull.x(), gull.y(), 16, 12), 0, 180 * 16);
    }
    p.setPen(QPen(QColor(255, 255, 255, 200), 3, Qt::SolidLine, Qt::RoundCap));
    for (int row = 0; row < 6; ++row) {
        const double y = horizon + 30 + row * 42;
        for (double x = (row % 2) * 40.0 - 20; x < r.width(); x += 80)
            p.drawArc(QRectF(x, y, 40, 16), 20 * 16, 140 * 16);
    }
    // A little sailing boat on the horizon.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 110, 90));
    QPainterPath hull;
    hull.moveTo(560, horizon + 10);
    hull.lineTo(680, horizon + 10);
    hull.lineTo(660, horizon + 35);
    hull.lineTo(580, horizon + 35);
    hull.closeSubpath();
    p.drawPath(hull);
    p.setBrush(QColor(255, 255, 250));
    QPainterPath sail;
    sail.moveTo(620, horizon - 80);
    sail.lineTo(620, horizon + 5);
    sail.lineTo(670, horizon + 5);
    sail.closeSubpath();
    p.drawPath(sail);
    p.setBrush(QColor(245, 225, 160));
    p.drawEllipse(QPointF(r.width() / 2, r.height() + 40), r.width() * 0.7, 90);
    p.setBrush(QColor(255, 150, 110));
    p.drawPath(starPath(QPointF(140, r.height() - 25), 20, 0.3));
}

void drawStarryEvening(QPainter& p, const QRectF& r)
{
    fillVertical(p, r, QColor(215, 205, 255), QColor(255, 232, 245));
    QPainterPath moon;
    moon.addEllipse(QPointF(110, 100), 55, 55);
    QPainterPath bite;
    bite.addEllipse(QPointF(140, 80), 50, 50);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 225, 110));
    p.drawPath(moon.subtracted(bite));
    const QPointF planet(r.width() - 90, r.height() - 90);
    Scatter scatter(7);
    p.setPen(QPen(QColor(240, 170, 60), 1.5));
    for (int i = 0; i < 34; ++i) {
        const QPointF at(scatter.between(20, r.width() - 20), scatter.between(20, r.height() - 20));
        if (QLineF(at, QPointF(110, 100)).length() < 90 || QLineF(at, planet).length() < 95)
            continue;
        p.setBrush(i % 3 == 0 ? QColor(255, 240, 150) : QColor(255, 215, 80));
        p.drawPath(starPath(at, scatter.between(7, 17), scatter.between(0, 1)));
    }
    // A small ringed planet in the corner.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 210, 255));
    p.drawEllipse(planet, 38, 38);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 170, 200), 6));
    p.drawEllipse(planet, 64, 16);
}

void drawGarden(QPainter& p, const QRectF& r)
{
    fillVertical(p, r, QColor(255, 250, 215), QColor(225, 247, 200));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 225, 140));
    p.drawRect(QRectF(0, r.height() - 60, r.width(), 60));
    p.setPen(QPen(QColor(120, 195, 100), 3, Qt::SolidLine, Qt::RoundCap));
    for (double x = 6; x < r.width(); x += 14)
        p.drawLine(QPointF(x, r.height() - 58), QPointF(x + 4, r.height() - 74));
    const QColor colours[] = {QColor(255, 140, 170), QColor(255, 190, 90), QColor(170, 150, 255),
                              QColor(255, 110, 110), QColor(120, 190, 255)};
    for (int i = 0; i < 11; ++i)
        drawFlower(p, QPointF(30 + i * 74, r.height() - 105 + (i % 3) * 12), 15, colours[i % 5]);
    drawFlower(p, QPointF(40, 40), 18, colours[0]);
    drawFlower(p, QPointF(r.width() - 45, 50), 18, colours[2]);
    drawButterfly(p, QPointF(250, 110), 26, QColor(255, 170, 210));
    drawButterfly(p, QPointF(560, 200), 22, QColor(150, 200, 255));
    drawSun(p, QPointF(r.width() / 2, 60), 34, true);
}

} // namespace

std::optional<QImage> RenderEmojiPicture(const QString& emoji, QString* error)
{
    QFont font(kEmojiFamily);
    font.setPixelSize(kEmojiPixelSize);
    // Without merging a missing glyph is reported instead of being drawn from a monochrome font.
    font.setStyleStrategy(QFont::NoFontMerging);
    if (QFontInfo(font).family() != kEmojiFamily) {
        *error = QStringLiteral("the font \"%1\" is not installed").arg(kEmojiFamily);
        return std::nullopt;
    }
    const QFontMetrics metrics(font);
    for (char32_t cp : emoji.toUcs4()) {
        if (!isJoiner(cp) && !metrics.inFontUcs4(cp)) {
            *error = QStringLiteral("the emoji font has no picture for %1 (U+%2)")
                         .arg(emoji, QString::number(static_cast<uint>(cp), 16).toUpper());
            return std::nullopt;
        }
    }
    QImage glyph(kWordPictureSize * 2, QImage::Format_ARGB32_Premultiplied);
    glyph.fill(Qt::transparent);
    {
        QPainter p(&glyph);
        p.setFont(font);
        p.drawText(glyph.rect(), Qt::AlignCenter, emoji);
    }
    const QRect drawn = opaqueBounds(glyph);
    if (drawn.isEmpty()) {
        *error = QStringLiteral("the emoji %1 could not be drawn").arg(emoji);
        return std::nullopt;
    }
    const QImage scaled =
        glyph.copy(drawn).scaled(kWordPictureSize.width() - 60 * kPictureDetail, kEmojiTargetHeight,
                                 Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImage picture(kWordPictureSize, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.drawImage((picture.width() - scaled.width()) / 2, (picture.height() - scaled.height()) / 2, scaled);
    return picture;
}

QImage DrawColourPicture(const QColor& colour)
{
    // White paint on white paper would show nothing: a light colour lies on a pale blue card.
    const bool light = colour.lightness() > 225;
    QImage image(kWordPictureSize, QImage::Format_RGB32);
    image.fill(light ? QColor(196, 214, 234) : QColor(Qt::white));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kPictureDetail, kPictureDetail);
    // A round blob with a wavy edge and a few drops around it, flattened to fit the wide box; the
    // same shape for every colour.
    const QPointF centre(kWordPictureBox.width() / 2.0, kWordPictureBox.height() / 2.0);
    QPainterPath splash;
    splash.addEllipse(centre, 80, 80);
    Scatter scatter(11);
    for (int i = 0; i < 9; ++i) {
        const double angle = i * 2 * std::numbers::pi / 9 + scatter.between(-0.15, 0.15);
        const QPointF dir(std::cos(angle), std::sin(angle));
        const double lobe = scatter.between(22, 34);
        splash.addEllipse(centre + dir * (80 + lobe * 0.2), lobe, lobe);
        const double drop = scatter.between(6, 11);
        const double reach = scatter.between(125, 140);
        splash.addEllipse(centre + QPointF(dir.x() * reach * 1.2, dir.y() * reach * 0.9), drop, drop);
    }
    splash.setFillRule(Qt::WindingFill);
    p.setPen(QPen(light ? QColor(150, 160, 175) : colour.darker(125), 3));
    p.setBrush(colour);
    p.drawPath(splash.simplified());
    return image;
}

QImage DrawFallbackPicture()
{
    QImage image(kWordPictureSize, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn in the coordinates of the box it fills.
    p.scale(kPictureDetail, kPictureDetail);
    fillVertical(p, QRect(QPoint(0, 0), kWordPictureBox), QColor(255, 248, 220), QColor(255, 232, 190));
    // An open book along the bottom.
    p.setPen(QPen(QColor(70, 130, 200), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const int side : {-1, 1}) {
        QPainterPath page;
        page.moveTo(200, 215);
        page.cubicTo(200 + side * 50, 195, 200 + side * 110, 200, 200 + side * 140, 210);
        page.lineTo(200 + side * 140, 280);
        page.cubicTo(200 + side * 110, 270, 200 + side * 50, 265, 200, 285);
        page.closeSubpath();
        p.setBrush(QColor(255, 255, 255));
        p.drawPath(page);
        p.setPen(QPen(QColor(170, 195, 230), 3, Qt::SolidLine, Qt::RoundCap));
        for (int row = 0; row < 3; ++row)
            p.drawLine(QPointF(200 + side * 30, 232 + row * 14), QPointF(200 + side * 115, 229 + row * 14));
        p.setPen(QPen(QColor(70, 130, 200), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    drawSun(p, QPointF(200, 110), 70, true);
    return image;
}

QImage DrawBackground(int number)
{
    QImage image(kBackgroundSize, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kPictureDetail, kPictureDetail);
    const QRectF area(QPointF(0, 0), QSizeF(kBackgroundBox));
    switch (number) {
    case 1:
        drawMeadow(p, area);
        break;
    case 2:
        drawSeaside(p, area);
        break;
    case 3:
        drawStarryEvening(p, area);
        break;
    default:
        drawGarden(p, area);
        break;
    }
    return image;
}

QByteArray EncodeJpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPG", 90))
        return {};
    return bytes;
}

bool IsReadableJpeg(const QByteArray& bytes)
{
    return bytes.startsWith("\xFF\xD8\xFF") && !QImage::fromData(bytes, "JPG").isNull();
}

} // namespace lexora
