#include "app/WindowKeys.h"

#include "app/FormMain.h"
#include "views/WordPicList.h"

#include <QAction>
#include <QScreen>
#include <QSettings>

namespace lexora {

namespace {

const QString kSize = QStringLiteral("window/size");
const QString kMaximized = QStringLiteral("window/maximized");
const QString kFullScreen = QStringLiteral("window/fullScreen");

template <class Slot> void AddKey(FormMain& window, QKeySequence key, const QString& name, Slot slot)
{
    auto* action = new QAction(name, &window);
    action->setObjectName(name);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, &window, slot);
    window.addAction(action);
}

} // namespace

void InstallWindowKeys(FormMain& window)
{
    AddKey(window, QKeySequence(Qt::Key_F11), QStringLiteral("keyFullScreen"),
           [&window] { window.setWindowState(window.windowState() ^ Qt::WindowFullScreen); });
    AddKey(window, QKeySequence(Qt::Key_F1), QStringLiteral("keyHelp"),
           [&window] { window.mnuHELP_HowToUse_Click(); });
    AddKey(window, QKeySequence(Qt::Key_Escape), QStringLiteral("keyEnd"), [&window] {
        // The reader command asks a running test or letter game first, as their end buttons do; the
        // word lists go back to the reader as their return buttons do.
        const ViewId shown = window.iDisplayCtrl;
        if (shown == ViewId::PictureList)
            window.picList().cmdReturn_Click();
        else if (shown == ViewId::LetterGame || shown == ViewId::RecognitionTest ||
                 shown == ViewId::MatchingGame || shown == ViewId::WordList)
            window.mnuLEARN_Lexivo_Click();
    });
}

void RestoreWindow(FormMain& window, const QSettings& settings)
{
    const QSize size = settings.value(kSize).toSize();
    if (size.isValid())
        // A size kept from a larger screen, or from a smaller scale, is cut to this screen.
        window.resize(
            size.expandedTo(window.minimumSizeHint()).boundedTo(window.screen()->availableGeometry().size()));
    Qt::WindowStates state = Qt::WindowNoState;
    if (settings.value(kMaximized).toBool())
        state |= Qt::WindowMaximized;
    if (settings.value(kFullScreen).toBool())
        state |= Qt::WindowFullScreen;
    window.setWindowState(state);
}

void RememberWindow(const FormMain& window, QSettings& settings)
{
    // The size a window has when neither maximised nor full screen is the one to come back to.
    const bool plain = !(window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
    const QSize normal = window.normalGeometry().size();
    settings.setValue(kSize, plain || !normal.isValid() || normal.isEmpty() ? window.size() : normal);
    settings.setValue(kMaximized, window.isMaximized());
    settings.setValue(kFullScreen, window.isFullScreen());
}

} // namespace lexora
