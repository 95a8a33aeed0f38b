#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

namespace lexora {

// The program's own pictures, drawn at run time: a colour emoji, alone or on a bright rounded tile
// with a short name under it.
QPixmap EmojiPixmap(const QString& emoji, int pixelSize);
QPixmap PictureButtonFace(const QString& emoji, const QString& name, const QColor& colour, QSize size);

} // namespace lexora
