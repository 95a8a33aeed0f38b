#pragma once

#include <QColor>
#include <QObject>
#include <QString>

class QAbstractButton;

namespace lexora {

// Paints a picture button's face straight onto the button, so it is drawn with the window's scale
// rather than enlarged from a small bitmap; hover, press and keyboard focus show on the face.
class ButtonFace final : public QObject
{
    Q_OBJECT
public:
    ButtonFace(QAbstractButton& button, const QString& emoji, const QString& name, const QColor& colour);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paint();

    QAbstractButton& m_button;
    QString m_emoji;
    QString m_name;
    QColor m_colour;
};

} // namespace lexora
