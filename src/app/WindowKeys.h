#pragma once

class QSettings;

namespace lexora {

class FormMain;

// Keys that work wherever the focus is inside the window: F11 full screen, F1 the help, Esc ends a
// test or game the way its own end button does.
void InstallWindowKeys(FormMain& window);

// The window's size and full-screen state, kept from one start to the next.
void RestoreWindow(FormMain& window, const QSettings& settings);
void RememberWindow(const FormMain& window, QSettings& settings);

} // namespace lexora
