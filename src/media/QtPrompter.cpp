#include "media/QtPrompter.h"

#include "media/PageScale.h"

#include <QApplication>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QTranslator>

namespace lexora {

namespace {

QMessageBox::StandardButtons ToQt(Prompter::Buttons buttons)
{
    switch (buttons) {
    case Prompter::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompter::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Prompter::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Prompter::Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon ToQt(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Critical:
        return QMessageBox::Critical;
    case Prompter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

Prompter::Answer FromQt(int button)
{
    switch (button) {
    case QMessageBox::Cancel:
        return Prompter::Answer::Cancel;
    case QMessageBox::Yes:
        return Prompter::Answer::Yes;
    case QMessageBox::No:
        return Prompter::Answer::No;
    default:
        return Prompter::Answer::Ok;
    }
}

// The window a box opens over: the active one, else (with no window manager to activate any) the
// program's main window on screen, so the box still takes its place and its scale.
QWidget* BoxParent()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && qobject_cast<QMainWindow*>(window))
            return window;
    }
    return nullptr;
}

} // namespace

Prompter::Answer QtPrompter::message(const QString& text, const QString& title, Buttons buttons, Icon icon)
{
    QWidget* over = BoxParent();
    QMessageBox box(ToQt(icon), title, text, ToQt(buttons), over);
    PageScale::fitMessageBox(box, over);
    const int answer = box.exec();
    // Closing the box with its close button answers as its escape button does.
    if (answer == QMessageBox::NoButton || answer == QMessageBox::Escape)
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    return FromQt(answer);
}

std::optional<QString> QtPrompter::input(const QString& prompt, const QString& title,
                                         const QString& defaultText)
{
    QWidget* over = BoxParent();
    QInputDialog dialog(over);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    PageScale::fitDialog(dialog, over);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

bool InstallChineseQtTexts(QTranslator& translator)
{
    if (!translator.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

} // namespace lexora
