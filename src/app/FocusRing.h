#pragma once

#include <QPointer>
#include <QWidget>

namespace lexora {

// A ring drawn around whichever control of the area has the keyboard focus, whatever the control's
// own style shows (cards and pictures show nothing of their own), so a child at the keyboard always
// sees where the next key goes. It lies over the area and lets the pointer through.
class FocusRing final : public QWidget
{
    Q_OBJECT
public:
    explicit FocusRing(QWidget& area);

    // The control the ring is around, none while the focus is elsewhere.
    QWidget* target() const { return m_target; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void follow(QWidget* focus);
    void place();

    QWidget& m_area;
    QPointer<QWidget> m_target;
};

} // namespace lexora
