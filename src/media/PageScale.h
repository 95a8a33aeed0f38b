#pragma once

#include <QFont>
#include <QPixmap>
#include <QRect>
#include <functional>

class QAbstractButton;
class QDialog;
class QLabel;
class QMessageBox;
class QAbstractItemView;
class QWidget;

namespace lexora {

// Forms are drawn at one design size; a page or dialog shown larger lays every control out again at
// its scale: places, sizes and fonts are the design's times the scale, so each control is a real
// widget where it is drawn and text is set at the size it is seen. Code that places a control or
// sets its font after the form is built speaks in design units through these functions; a control
// met for the first time is taken to stand at its design place.
namespace PageScale {

// Lays root's controls (root itself not moved) out at the scale and keeps the scale on root.
void apply(QWidget& root, double scale);
// The scale of the page or dialog the widget is on; 1 where nothing was scaled.
double of(const QWidget* widget);

QRect geometry(const QWidget& widget);
void setGeometry(QWidget& widget, const QRect& design);
void move(QWidget& widget, QPoint design);
QFont font(const QWidget& widget);
void setFont(QWidget& widget, const QFont& design);
// A list's column widths, from the first column on.
void setColumnWidths(QAbstractItemView& view, const QList<int>& design);
// A check box's square or a radio button's circle larger than the style's own.
void setIndicatorSize(QAbstractButton& button, int design);

// Shows on a label a picture drawn for the label's size, and draws it again whenever the label is
// resized (its page laid out at another scale), until the label is given another picture.
void showDrawn(QLabel& label, std::function<QPixmap(const QLabel&)> draw);

// A widget beside the scaled pages (the menu bar and its menus) lettered at the given scale.
void setFontScale(QWidget& widget, double scale);
// Sets the application's style to one that draws check boxes' squares and radio buttons' circles
// at the scale of the page or dialog they are on (once; later calls keep it).
void installStyle();

// Every dialog and message box the program shows takes the scale of the window it opens over.
void fitDialog(QDialog& dialog, const QWidget* over);
void fitMessageBox(QMessageBox& box, const QWidget* over);

} // namespace PageScale

} // namespace lexora
