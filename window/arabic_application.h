// The program speaks Arabic throughout: besides the window, which sets its
// own direction, Qt's dialogs (print, print preview, file, message boxes),
// menus and tooltips read from the right, and say their words in Arabic
// where Qt's Arabic translation is installed.
// It sets direction and translations only: no font (window_fonts.h), no
// control and no amount.
#pragma once

class QCoreApplication;

namespace paywindow {

// Call once, after the application object is made and before any window.
void SpeakArabic(QCoreApplication &app);

} // namespace paywindow
