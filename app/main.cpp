#include "app/form_main.h"
#include "app/real_platform.h"
#include "app/single_instance.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
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
    for (const char* name : {"qtbase_hu"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QString::fromLatin1(name), qtTranslations))
            QApplication::installTranslator(translator);
        else
            delete translator;
    }

    TForm_Main form(std::move(platform));
    QObject::connect(&form, &TForm_Main::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    instance.Listen([&form] { form.BringToFront(); });
    kelvator::QuitOnTerminationSignals();
    // A desktop session that ends may not let the program finish: save when it asks.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form, [&form] { form.SaveSettings(); });
    form.show();
    return QApplication::exec();
}
