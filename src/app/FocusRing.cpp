#include "app/FocusRing.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <algorithm>

namespace lexora {

namespace {

// Thick enough to be seen from a child's distance at any scale, in a colour no view uses.
constexpr int kRingWidth = 3;
const QColor kRingColour(0xff, 0x8c, 0x00);

} // namespace

FocusRing::FocusRing(QWidget& area) : QWidget(&area), m_area(area)
{
    setObjectName(QStringLiteral("FocusRing"));
    setAccessibleName(QStringLiteral("键盘焦点"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { follow(now); });
}

void FocusRing::follow(QWidget* focus)
{
    if (m_target)
        m_target->removeEventFilter(this);
    // Only controls inside the area; the area's own frame and the window are not a control.
    const bool inside =
        focus && focus != &m_area && m_area.isAncestorOf(focus) && focus->window() == m_area.window();
    m_target = inside ? focus : nullptr;
    if (m_target)
        m_target->installEventFilter(this);
    place();
}

void FocusRing::place()
{
    if (!m_target || !m_target->isVisible()) {
        hide();
        return;
    }
    const QRect around(m_target->mapTo(&m_area, QPoint(0, 0)), m_target->size());
    setGeometry(around.adjusted(-kRingWidth, -kRingWidth, kRingWidth, kRingWidth));
    show();
    raise();
    update();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_target) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            place();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(kRingColour, kRingWidth);
    painter.setPen(pen);
    const qreal inset = kRingWidth / 2.0;
    painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), kRingWidth * 2,
                            kRingWidth * 2);
}

} // namespace lexora
