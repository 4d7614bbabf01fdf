#include "app/form_main.h"
#include "platform/real_platform.h"
#include "platform/single_instance.h"
#include "settings/settings_location.h"
#include "widgets/cached_icon_style.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>

#ifdef __GLIBC__
#include <malloc.h>
#endif

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
    // A termination signal that comes while the program starts ends it at the next step.
    kelvator::CatchTerminationSignals();
    // The menu belongs in the fixed-size window; asking the session bus for a global menu
    // bar would also hold up the first window.
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    // The clock repaints the same few pixels every second. Through shared memory each repaint
    // first waits for the X server to let go of the last one, a round trip that wakes the
    // program twice more; the few kilobytes go through the connection instead.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelvator"));
    // No display name: Qt would append it to every window title, and the caption is the title.
    QApplication::setDesktopFileName(QStringLiteral("io.github.kelvator"));
    // The window decides when the program ends: a box shown while it sits in the tray must not.
    QApplication::setQuitOnLastWindowClosed(false);
    kelvator::QuitOnTerminationSignals();

    // Two programs on one settings file would overwrite each other's settings: the lock on the
    // file comes before anything else.
    const kelvator::SettingsLocation where = kelvator::ChooseSettingsLocation(kelvator::RealSettingsPlaces());
    kelvator::SingleInstance instance(where.path);
    switch (instance.Claim()) {
    case kelvator::SingleInstance::Start::First:
        break;
    case kelvator::SingleInstance::Start::HandedOver:
    case kelvator::SingleInstance::Start::Stopped:
        return 0;
    case kelvator::SingleInstance::Start::Unanswered: {
        // A second program would overwrite the settings of the one that holds the file.
        qCWarning(kelvator::lcInstance,
                  "kelvator: another program holds %s but does not answer; not starting",
                  qUtf8Printable(where.path));
        QMessageBox::warning(
            nullptr, QStringLiteral("Kelvator"),
            QStringLiteral("A Kelvator már fut ezzel a beállításfájllal, de nem válaszol:\n%1\n"
                           "Amíg az fut, a program nem indul el még egyszer.")
                .arg(where.path));
        return kelvator::TerminationRequested() ? 0 : 1;
    }
    }
    if (kelvator::TerminationRequested())
        return 0;
    const kelvator::CarriedSettings settings = kelvator::CarryOverSettings(where);
    kelvator::Platform platform = kelvator::MakeRealPlatform();
    platform.settingsPath = settings.path;

    // The whole interface is Hungarian, so Qt's own dialogs and menus are too.
    const QString qtTranslations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : {"qtbase_hu"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QString::fromLatin1(name), qtTranslations))
            QApplication::installTranslator(translator);
        else
            delete translator;
    }

    QApplication::setStyle(new CachedIconStyle);
    if (kelvator::TerminationRequested())
        return 0;
    TForm_Main form(std::move(platform));
    // A signal while the window was built: it goes without being shown, and its destruction
    // writes back the settings it loaded.
    if (kelvator::TerminationRequested())
        return 0;
    QObject::connect(&form, &TForm_Main::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    instance.Listen([&form] { form.BringToFront(); });
    // A termination signal, the session's end or the window's own close: the program ends and
    // the window's destruction saves, whatever the tray settings would make of a close request.
    EndOnQuitRequest endOnQuit;
    app.installEventFilter(&endOnQuit);
    // A desktop session that ends may not let the program finish: save when it asks.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form, [&form] { form.SaveSettings(); });
    form.show();
    // One notice for everything the start found in the settings file.
    QStringList notices{settings.notice, form.LoadNotice()};
    notices.removeAll(QString());
    if (!notices.isEmpty()) {
        QTimer::singleShot(0, &form, [&form, notice = notices.join(QStringLiteral("\r\n\r\n"))] {
            QMessageBox::information(&form, QStringLiteral("Kelvator"),
                                     QString(notice).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        });
    }
#ifdef __GLIBC__
    // What building the window needed and let go of goes back to the system: the program then
    // idles for hours in the little it keeps.
    QTimer::singleShot(1000, [] { malloc_trim(0); });
#endif
    const int code = QApplication::exec();
    // From here a later start waits for the lock instead of handing over to a program that ends.
    instance.StopListening();
    return code;
}
