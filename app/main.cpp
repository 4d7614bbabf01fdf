#include "app/form_main.h"
#include "app/real_platform.h"
#include "app/single_instance.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {
// Qt turns quit() and the session manager's "die" into a close request to every window, which
// the window refuses while it goes to the tray instead; a request to quit ends the loop.
class EndOnQuitRequest : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) {
            QCoreApplication::exit(0);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelvator"));
    // No display name: Qt would append it to every window title, and the caption is the title.
    QApplication::setDesktopFileName(QStringLiteral("io.github.kelvator"));
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
    // A termination signal, the session's end or the window's own close: the program ends and
    // the window's destruction saves, whatever the tray settings would make of a close request.
    EndOnQuitRequest endOnQuit;
    app.installEventFilter(&endOnQuit);
    kelvator::QuitOnTerminationSignals();
    // A desktop session that ends may not let the program finish: save when it asks.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form, [&form] { form.SaveSettings(); });
    form.show();
    return QApplication::exec();
}
