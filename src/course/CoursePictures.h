#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <optional>

class QColor;
class QImage;

namespace lexora {

// Word pictures and the fallback picture share one size; the game boards are 11925 x 8790 twips.
// Pictures are drawn with twice the pixels of the boxes they fill at 96 dpi, so that they stay sharp
// in an enlarged window.
inline constexpr int kPictureDetail = 2;
inline constexpr QSize kWordPictureBox{400, 300};
inline constexpr QSize kWordPictureSize{kWordPictureBox.width() * kPictureDetail,
                                        kWordPictureBox.height() * kPictureDetail};
inline constexpr QSize kBackgroundBox{795, 586};
inline constexpr QSize kBackgroundSize{kBackgroundBox.width() * kPictureDetail,
                                       kBackgroundBox.height() * kPictureDetail};
inline constexpr int kBackgroundCount = 4;

// Draws the emoji in colour, large and centred on a white word picture. Nothing, with a reason,
// when the emoji font is missing or has no glyph for it.
std::optional<QImage> RenderEmojiPicture(const QString& emoji, QString* error);

// A colour word's picture: a splash of paint in that colour on white, so that it shows the colour
// itself and no object that happens to have it. A light colour lies on a pale blue card instead.
QImage DrawColourPicture(const QColor& colour);

// The picture shown for a word without one: a smiling face over an open book.
QImage DrawFallbackPicture();

// Game board backgrounds 1 to 4: meadow, seaside, starry evening, flower garden. Light colours
// throughout, because the letter tiles are purple and drawn straight onto them.
QImage DrawBackground(int number);

// JPEG bytes of the image; empty when the JPEG writer is unavailable.
QByteArray EncodeJpeg(const QImage& image);

// True when the bytes look like a JPEG that Qt can read.
bool IsReadableJpeg(const QByteArray& bytes);

} // namespace lexora
