#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QString>
#include <future>
#include <vector>

class QAbstractButton;

namespace lexora {

// Paints a picture button's face straight onto the button, so it is drawn with the window's scale
// rather than enlarged from a small bitmap; hover, press and keyboard focus show on the face.
class ButtonFace final : public QObject
{
    Q_OBJECT
public:
    ButtonFace(QAbstractButton& button, const QString& emoji, const QString& name, const QColor& colour);

    // Draws the faces on a worker thread at the size they have in a window of its design size, while
    // the window is being built: its first paint then only copies them.
    static void DrawAhead(const std::vector<ButtonFace*>& faces);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paint();
    QRectF faceRect() const;
    // The face drawn ahead, when it fits the device rectangle it is to fill.
    const QImage* drawnAhead(QSize deviceSize);

    QAbstractButton& m_button;
    QString m_emoji;
    QString m_name;
    QColor m_colour;
    std::shared_future<std::vector<QImage>> m_ahead;
    size_t m_aheadIndex = 0;
    QImage m_drawn;
};

} // namespace lexora
