#include "media/PageScale.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QProxyStyle>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QTreeView>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace lexora::PageScale {

namespace {

constexpr char kScale[] = "lexoraPageScale";
constexpr char kRect[] = "lexoraDesignRect";
constexpr char kFont[] = "lexoraDesignFont";
constexpr char kSize[] = "lexoraDesignSize";
constexpr char kColumns[] = "lexoraDesignColumns";
constexpr char kIndicator[] = "lexoraDesignIndicator";

int Times(int design, double scale)
{
    return static_cast<int>(std::lround(design * scale));
}

// Edges are scaled rather than sizes, so controls that touched at the design size still touch.
QRect Scaled(const QRect& r, double scale)
{
    const int left = Times(r.left(), scale);
    const int top = Times(r.top(), scale);
    return QRect(left, top, Times(r.x() + r.width(), scale) - left, Times(r.y() + r.height(), scale) - top);
}

QFont Scaled(QFont font, double scale)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    else if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, Times(font.pixelSize(), scale)));
    return font;
}

// A layout places the control itself; only its font is the scaler's.
bool InLayout(const QWidget& widget)
{
    const QWidget* parent = widget.parentWidget();
    return parent && parent->layout() && parent->layout()->indexOf(&widget) >= 0;
}

void Remember(QWidget& widget)
{
    if (!widget.property(kFont).isValid())
        widget.setProperty(kFont, font(widget));
    if (!widget.property(kRect).isValid() && !InLayout(widget)) {
        widget.setProperty(kRect, widget.geometry());
        // The scaled place is the size; a fixed size from the form would hold it back.
        widget.setMinimumSize(0, 0);
        widget.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
}

// The columns of a tree or a table, across.
QHeaderView* ColumnHeader(QWidget& view)
{
    if (auto* tree = qobject_cast<QTreeView*>(&view))
        return tree->header();
    if (auto* table = qobject_cast<QTableView*>(&view))
        return table->horizontalHeader();
    return nullptr;
}

// Column edges are scaled, as a control's are, so the columns fill the same share of the list.
void LayColumns(QWidget& view, double scale)
{
    QHeaderView* header = ColumnHeader(view);
    const QVariantList widths = view.property(kColumns).toList();
    int edge = 0;
    for (int i = 0; header && i < widths.size(); ++i) {
        const int next = edge + widths[i].toInt();
        header->resizeSection(i, Times(next, scale) - Times(edge, scale));
        edge = next;
    }
}

void Lay(QWidget& widget, double scale)
{
    Remember(widget);
    const QVariant rect = widget.property(kRect);
    if (rect.isValid() && !InLayout(widget))
        widget.setGeometry(Scaled(rect.toRect(), scale));
    widget.setFont(Scaled(widget.property(kFont).value<QFont>(), scale));
    if (widget.property(kColumns).isValid())
        LayColumns(widget, scale);
}

class PageStyle final : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int base = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight: {
            const QVariant own = widget ? widget->property(kIndicator) : QVariant();
            return Times(own.isValid() ? own.toInt() : base, of(widget));
        }
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
        case PM_HeaderMargin:
        case PM_ButtonIconSize:
        case PM_ScrollBarExtent:
        case PM_ScrollBarSliderMin:
            return Times(base, of(widget));
        default:
            return base;
        }
    }
};

void LayChildren(QWidget& parent, double scale)
{
    for (QObject* object : parent.children()) {
        auto* child = qobject_cast<QWidget*>(object);
        // Dialogs and other windows opened from the page are fitted on their own.
        if (!child || child->isWindow())
            continue;
        Lay(*child, scale);
        LayChildren(*child, scale);
    }
}

// Margins and gaps of a dialog laid out by Qt grow with its text.
void ScaleLayout(QLayout& layout, double scale)
{
    if (!layout.property(kRect).isValid()) {
        const QMargins m = layout.contentsMargins();
        layout.setProperty(kRect, QRect(m.left(), m.top(), m.right(), m.bottom()));
        layout.setProperty(kSize, layout.spacing());
    }
    const QRect m = layout.property(kRect).toRect();
    layout.setContentsMargins(Times(m.x(), scale), Times(m.y(), scale), Times(m.width(), scale),
                              Times(m.height(), scale));
    if (const int spacing = layout.property(kSize).toInt(); spacing > 0)
        layout.setSpacing(Times(spacing, scale));
    for (int i = 0; i < layout.count(); ++i) {
        if (QLayout* inner = layout.itemAt(i)->layout())
            ScaleLayout(*inner, scale);
    }
}

// Buttons a layout places are held at least at their design size times the scale, whatever the
// style's fixed minimums (a button's least width) would make of the larger font alone. Text grows
// with its font; a least size on a label would stop it from taking a whole line.
void HoldLaidOut(QWidget& root, double scale)
{
    for (QWidget* child : root.findChildren<QWidget*>()) {
        if (child->isWindow() || !InLayout(*child) || !qobject_cast<QAbstractButton*>(child))
            continue;
        if (!child->property(kSize).isValid())
            child->setProperty(kSize, child->sizeHint());
        const QSize hint = child->property(kSize).toSize();
        if (hint.isValid())
            child->setMinimumSize(Times(hint.width(), scale), Times(hint.height(), scale));
    }
}

// A window laid out by Qt at scale: its controls' fonts, its buttons' least sizes, its margins and gaps.
void LayOutWindow(QWidget& window, QLayout& layout, double scale)
{
    HoldLaidOut(window, 1.0);
    apply(window, scale);
    HoldLaidOut(window, scale);
    ScaleLayout(layout, scale);
}

// A dialog never shrinks below the size it was drawn for, even over a page shrunk to a small screen.
double WindowScale(const QWidget* over)
{
    return std::max(1.0, over ? of(over) : 1.0);
}

// The widest a message box may be before Qt breaks its text anywhere and cuts the box to that width.
int WrapLimit(const QWidget& box, const QWidget* over)
{
    const QScreen* screen = over ? over->screen() : box.screen();
    const int width = screen ? screen->availableGeometry().width() : 0;
    return width <= 1024 ? width : std::min(width - 480, 1000);
}

// Qt wraps a box's text once the box is wider than half the screen or 500 pixels, whatever its font:
// a line the design shows whole stays whole at scale, as far as the box may grow.
void KeepLinesWhole(QMessageBox& box, QLayout& layout, int limit)
{
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label || limit <= 0)
        return;
    label->setWordWrap(false);
    label->setMinimumWidth(0);
    layout.activate();
    const int line = label->sizeHint().width();
    const int rest = layout.totalMinimumSize().width() - label->minimumSizeHint().width();
    label->setMinimumWidth(std::clamp(limit - rest, 0, line));
}

// Draws a label's picture again for its new size.
class Redraw final : public QObject
{
public:
    Redraw(QLabel& label, std::function<QPixmap(const QLabel&)> draw)
        : QObject(&label), m_label(label), m_draw(std::move(draw))
    {
        label.installEventFilter(this);
        show();
    }

    static Redraw* of(QLabel& label)
    {
        for (QObject* child : label.children()) {
            if (auto* redraw = dynamic_cast<Redraw*>(child))
                return redraw;
        }
        return nullptr;
    }

    void replace(std::function<QPixmap(const QLabel&)> draw)
    {
        m_draw = std::move(draw);
        show();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A picture set on the label by other means is left alone.
        if (watched == &m_label && event->type() == QEvent::Resize && m_draw &&
            m_label.pixmap().cacheKey() == m_shown)
            show();
        return false;
    }

private:
    void show()
    {
        const QPixmap drawn = m_draw(m_label);
        // A label takes a pixmap with the key of the one it shows for that one, whatever its new
        // size (a picture's own pixels shown over another area keep their key).
        if (drawn.cacheKey() == m_label.pixmap().cacheKey())
            m_label.clear();
        m_label.setPixmap(drawn);
        m_shown = m_label.pixmap().cacheKey();
    }

    QLabel& m_label;
    std::function<QPixmap(const QLabel&)> m_draw;
    qint64 m_shown = 0;
};

} // namespace

void apply(QWidget& root, double scale)
{
    root.setProperty(kScale, scale);
    if (QWidget* window = root.window(); window != &root)
        window->setProperty(kScale, scale);
    LayChildren(root, scale);
}

double of(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        if (const QVariant scale = widget->property(kScale); scale.isValid())
            return scale.toDouble();
    }
    return 1.0;
}

QRect geometry(const QWidget& widget)
{
    const QVariant rect = widget.property(kRect);
    return rect.isValid() ? rect.toRect() : widget.geometry();
}

void setGeometry(QWidget& widget, const QRect& design)
{
    Remember(widget);
    widget.setProperty(kRect, design);
    widget.setGeometry(Scaled(design, of(widget.parentWidget())));
}

void move(QWidget& widget, QPoint design)
{
    setGeometry(widget, QRect(design, geometry(widget).size()));
}

QFont font(const QWidget& widget)
{
    if (const QVariant font = widget.property(kFont); font.isValid())
        return font.value<QFont>();
    // A size of its own is a design size; one inherited from a scaled parent is not.
    QFont own = widget.font();
    const QWidget* parent = widget.parentWidget();
    if (parent && !(widget.testAttribute(Qt::WA_SetFont) && (own.resolveMask() & QFont::SizeResolved))) {
        const QFont inherited = font(*parent);
        if (inherited.pointSizeF() > 0)
            own.setPointSizeF(inherited.pointSizeF());
        else if (inherited.pixelSize() > 0)
            own.setPixelSize(inherited.pixelSize());
    }
    return own;
}

void setFont(QWidget& widget, const QFont& design)
{
    widget.setProperty(kFont, design);
    widget.setFont(Scaled(design, of(widget.parentWidget())));
}

void setColumnWidths(QAbstractItemView& view, const QList<int>& design)
{
    QVariantList widths;
    for (const int width : design)
        widths << width;
    view.setProperty(kColumns, widths);
    LayColumns(view, of(&view));
}

void setIndicatorSize(QAbstractButton& button, int design)
{
    button.setProperty(kIndicator, design);
    button.updateGeometry();
    button.update();
}

void showDrawn(QLabel& label, std::function<QPixmap(const QLabel&)> draw)
{
    if (Redraw* redraw = Redraw::of(label))
        redraw->replace(std::move(draw));
    else
        new Redraw(label, std::move(draw));
}

void setFontScale(QWidget& widget, double scale)
{
    if (!widget.property(kFont).isValid())
        widget.setProperty(kFont, widget.font());
    widget.setFont(Scaled(widget.property(kFont).value<QFont>(), scale));
}

void installStyle()
{
    if (!dynamic_cast<PageStyle*>(QApplication::style()))
        QApplication::setStyle(new PageStyle(QApplication::style()->name()));
}

void fitDialog(QDialog& dialog, const QWidget* over)
{
    const double scale = WindowScale(over);
    if (!dialog.property(kSize).isValid())
        dialog.setProperty(kSize, dialog.size());
    if (QLayout* layout = dialog.layout()) {
        LayOutWindow(dialog, *layout, scale);
        dialog.adjustSize();
        return;
    }
    apply(dialog, scale);
    // Forms placed control by control keep their proportions.
    const QSize design = dialog.property(kSize).toSize();
    const QSize size(Times(design.width(), scale), Times(design.height(), scale));
    if (dialog.minimumSize() == dialog.maximumSize())
        dialog.setFixedSize(size);
    else
        dialog.resize(size);
}

void fitMessageBox(QMessageBox& box, const QWidget* over)
{
    const double scale = WindowScale(over);
    // A box is made for one showing: at the design size Qt's own layout is the design.
    if (scale <= 1.0)
        return;
    // The box as Qt lays it out at the design size: its parts, or at least its title and a margin.
    box.adjustSize();
    const int titleWidth =
        QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(box.windowTitle()) + 50;
    const QSize design(std::max(box.sizeHint().width(), titleWidth), box.sizeHint().height());
    if (!box.iconPixmap().isNull()) {
        const int side = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
        box.setIconPixmap(box.iconPixmap().scaled(QSize(Times(side, scale), Times(side, scale)),
                                                  Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    QLayout* layout = box.layout();
    if (!layout) {
        apply(box, scale);
        return;
    }
    LayOutWindow(box, *layout, scale);
    const int limit = WrapLimit(box, over);
    KeepLinesWhole(box, *layout, limit);
    // The box sizes itself from its layout when shown: the margins take whatever width is missing.
    layout->activate();
    const int least = layout->totalMinimumSize().width();
    const int missing = std::min(Times(design.width(), scale), limit) - least;
    if (missing > 0) {
        QMargins margins = layout->contentsMargins();
        margins.setLeft(margins.left() + missing / 2);
        margins.setRight(margins.right() + missing - missing / 2);
        layout->setContentsMargins(margins);
    }
    box.adjustSize();
}

} // namespace lexora::PageScale
