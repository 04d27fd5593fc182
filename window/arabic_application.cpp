#include "window/arabic_application.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace paywindow {

void SpeakArabic(QCoreApplication &app)
{
    auto *qtArabic = new QTranslator(&app);
    if (qtArabic->load(QLocale(QLocale::Arabic), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtArabic);
    else delete qtArabic; // Qt's words stay in English; the direction is still set below
    QGuiApplication::setLayoutDirection(Qt::RightToLeft);
}

} // namespace paywindow
