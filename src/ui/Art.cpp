#include "ui/Art.h"

#include "media/PageScale.h"

#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace lexora {

namespace {

QFont EmojiFont(int pixelSize)
{
    // Named outright: any other family would draw the emoji in black and white or not at all.
    QFont font(QStringLiteral("Noto Color Emoji"));
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

QPixmap EmojiPixmap(const QString& emoji, int pixelSize)
{
    // Drawn with three device pixels to the pixel, so that it stays sharp in an enlarged window.
    constexpr int kDetail = 3;
    QPixmap pixmap(pixelSize * kDetail, pixelSize * kDetail);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setFont(EmojiFont(pixelSize * kDetail * 3 / 4));
    painter.drawText(pixmap.rect(), Qt::AlignCenter, emoji);
    painter.end();
    pixmap.setDevicePixelRatio(kDetail);
    return pixmap;
}

void ShowEmoji(QLabel& label, const QString& emoji, int designSize)
{
    PageScale::showDrawn(label, [emoji, designSize](const QLabel& shown) {
        return EmojiPixmap(emoji,
                           std::max(1, static_cast<int>(std::lround(designSize * PageScale::of(&shown)))));
    });
}

QPixmap PictureButtonFace(const QString& emoji, const QString& name, const QColor& colour, QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    PaintPictureButtonFace(painter, QRectF(pixmap.rect()), emoji, name, colour);
    return pixmap;
}

void PaintPictureButtonFace(QPainter& painter, const QRectF& area, const QString& emoji, const QString& name,
                            const QColor& colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(area.topLeft());
    const QSize size = area.size().toSize();
    const QRectF tile = QRectF(QPointF(0, 0), area.size()).adjusted(1, 1, -1, -1);
    QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
    fill.setColorAt(0, colour.lighter(135));
    fill.setColorAt(1, colour);
    QPainterPath path;
    path.addRoundedRect(tile, 10, 10);
    painter.fillPath(path, fill);
    painter.setPen(QPen(colour.darker(130), 1.5));
    painter.drawPath(path);

    const int labelHeight = size.height() * 2 / 7;
    const QRect picture(0, 2, size.width(), size.height() - labelHeight - 2);
    painter.setFont(EmojiFont(picture.height() * 3 / 4));
    painter.drawText(picture, Qt::AlignCenter, emoji);

    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(labelHeight - 3);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, size.height() - labelHeight - 3, size.width(), labelHeight), Qt::AlignCenter,
                     name);
    painter.restore();
}

} // namespace lexora
