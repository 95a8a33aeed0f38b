#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

class QLabel;
class QPainter;
class QRectF;

namespace lexora {

// The program's own pictures, drawn at run time: a colour emoji, alone or on a bright rounded tile
// with a short name under it.
QPixmap EmojiPixmap(const QString& emoji, int pixelSize);
// The emoji on a label, designSize pixels at the design size and drawn again at every scale.
void ShowEmoji(QLabel& label, const QString& emoji, int designSize);
QPixmap PictureButtonFace(const QString& emoji, const QString& name, const QColor& colour, QSize size);
// The same face drawn straight into area with the painter's own transformation: crisp at any scale.
void PaintPictureButtonFace(QPainter& painter, const QRectF& area, const QString& emoji, const QString& name,
                            const QColor& colour);

} // namespace lexora
