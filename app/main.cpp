#include "app/form_main.h"
#include "app/real_platform.h"
#include "app/single_instance.h"
#include "widgets/cached_icon_style.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

#ifdef __GLIBC__
#include <malloc.h>
#endif

int main(int argc, char* argv[])
{
    // The menu belongs in the fixed-size window; asking the session bus for a global menu
    // bar would also hold up the first window.
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelvator"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kelvator"));
    QApplication::setDesktopFileName(QStringLiteral("kelvator"));
    // The window decides when the program ends: a box shown while it sits in the tray must not.
    QApplication::setQuitOnLastWindowClosed(false);

    kelvator::Platform platform = kelvator::MakeRealPlatform();
    // Two programs on one settings file would overwrite each other's settings.
    kelvator::SingleInstance instance(platform.settingsPath);
    if (instance.HandOverToRunning())
        return 0;

    // The whole interface is Hungarian, so Qt's own dialogs and menus are too.
    const QString qtTranslations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : {"qtbase_hu", "qtmultimedia_hu"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QString::fromLatin1(name), qtTranslations))
            QApplication::installTranslator(translator);
        else
            delete translator;
    }

    QApplication::setStyle(new CachedIconStyle);
    TForm_Main form(std::move(platform));
    QObject::connect(&form, &TForm_Main::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    instance.Listen([&form] { form.BringToFront(); });
    kelvator::QuitOnTerminationSignals();
    // A desktop session that ends may not let the program finish: save when it asks.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form, [&form] { form.SaveSettings(); });
    form.show();
#ifdef __GLIBC__
    // What building the window needed and let go of goes back to the system: the program then
    // idles for hours in the little it keeps.
    QTimer::singleShot(1000, [] { malloc_trim(0); });
#endif
    return QApplication::exec();
}
