// The tray's day without a window: its settings, the tooltip, the live icon and the reminder.
#include "settings/inifile.h"

#include "schedule_fixture.h"
#include "settings/settings_model.h"
#include "tray/tray_day.h"
#include "tray/tray_settings.h"
#include "worktime/workcalendar_model.h"

#include <QSignalSpy>
#include <QTest>

using namespace kelvator;
using kelvator::testing::ShortFridays;

Q_DECLARE_METATYPE(kelvator::TrayIconState)

namespace {

constexpr int kHour = 3600;

// One tick as the window computes it.
struct Tick {
    TickMoment moment;
    WorkSnapshot work;
};
Tick At(const QDateTime& now, const Settings& settings, const WorkCalendarModel& calendar)
{
    Tick t;
    t.moment = MomentOf(now, calendar.Calendar());
    t.work = ComputeWorkSnapshot(t.moment, settings, calendar);
    return t;
}

QDateTime Moment(int y, int mo, int d, int h, int mi, int s = 0, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

const QByteArray kUntouched = "[Main]\r\nPageControl_Main=1\r\n";

} // namespace

class TstTrayDay : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }

    // ---- Settings -------------------------------------------------------------------------------

    void settingsRoundTrip()
    {
        TraySettings s;
        s.tipShowsDay = true;
        s.iconShowsDay = true;
        s.fullMenu = false;
        s.remindBeforeEnd = true;
        s.reminderMinutes = 45;
        TraySettingsModel model;
        model.Set(s);
        IniFile ini = IniFile::FromBytes(kUntouched);
        model.Write(ini);
        const QByteArray bytes = ini.ToBytes();
        QVERIFY2(bytes.startsWith(kUntouched), bytes.constData());
        QVERIFY2(bytes.contains("[Talca]\r\n"), bytes.constData());
        QVERIFY2(bytes.contains("Edit_FigyelmeztetesVegeElottPerc=45\r\n"), bytes.constData());
        // A box left at its default says nothing new.
        QVERIFY2(!bytes.contains("CheckBox_BovitettTalcaMenu"), bytes.constData());
        TraySettingsModel again;
        QCOMPARE(again.Read(IniFile::FromBytes(bytes)), QString());
        QCOMPARE(again.Get(), s);
    }

    // Unticking a box the file holds ticked writes it, though unticked is the default.
    void settingsBackToDefaultIsWritten()
    {
        const QByteArray file =
            "[Talca]\r\nCheckBox_IkonMutatjaANapot=1\r\nEdit_FigyelmeztetesVegeElottPerc=30\r\n";
        TraySettingsModel model;
        model.Read(IniFile::FromBytes(file));
        model.Set(TraySettings{});
        IniFile ini = IniFile::FromBytes(file);
        model.Write(ini);
        QCOMPARE(
            ini.ToBytes(),
            QByteArray("[Talca]\r\nCheckBox_IkonMutatjaANapot=0\r\nEdit_FigyelmeztetesVegeElottPerc=10\r\n"));
    }

    void settingsMalformedValues_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<bool>("icon");
        QTest::addColumn<QString>("reported");
        QTest::addRow("minutes 0") << QByteArray("Edit_FigyelmeztetesVegeElottPerc=0") << 10 << false
                                   << QStringLiteral("Edit_FigyelmeztetesVegeElottPerc: „0” – Nem 1 és 120 "
                                                     "közötti egész szám, ezért 10 perc számít.");
        QTest::addRow("minutes 121") << QByteArray("Edit_FigyelmeztetesVegeElottPerc=121") << 10 << false
                                     << QStringLiteral("Edit_FigyelmeztetesVegeElottPerc: „121”");
        QTest::addRow("minutes abc") << QByteArray("Edit_FigyelmeztetesVegeElottPerc=abc") << 10 << false
                                     << QStringLiteral("Edit_FigyelmeztetesVegeElottPerc: „abc”");
        QTest::addRow("minutes negative")
            << QByteArray("Edit_FigyelmeztetesVegeElottPerc=-5") << 10 << false << QStringLiteral("„-5”");
        QTest::addRow("minutes empty") << QByteArray("Edit_FigyelmeztetesVegeElottPerc=") << 10 << false
                                       << QStringLiteral("Edit_FigyelmeztetesVegeElottPerc: „”");
        // Blanks around a number are read past, as everywhere in the file.
        QTest::addRow("minutes blank 5")
            << QByteArray("Edit_FigyelmeztetesVegeElottPerc= 5") << 5 << false << QString();
        QTest::addRow("minutes 1") << QByteArray("Edit_FigyelmeztetesVegeElottPerc=1") << 1 << false
                                   << QString();
        QTest::addRow("minutes 120") << QByteArray("Edit_FigyelmeztetesVegeElottPerc=120") << 120 << false
                                     << QString();
        QTest::addRow("box in words") << QByteArray("CheckBox_IkonMutatjaANapot=igen") << 10 << false
                                      << QStringLiteral("CheckBox_IkonMutatjaANapot: „igen” – Nem 0 vagy 1");
        QTest::addRow("box in hex") << QByteArray("CheckBox_IkonMutatjaANapot=0x1") << 10 << true
                                    << QString();
        QTest::addRow("names in other case")
            << QByteArray("checkbox_ikonmutatjaanapot=1") << 10 << true << QString();
    }
    void settingsMalformedValues()
    {
        QFETCH(QByteArray, section);
        QFETCH(int, minutes);
        QFETCH(bool, icon);
        QFETCH(QString, reported);
        TraySettingsModel model;
        const QString notice = model.Read(IniFile::FromBytes("[Talca]\r\n" + section + "\r\n"));
        QCOMPARE(model.Get().reminderMinutes, minutes);
        QCOMPARE(model.Get().iconShowsDay, icon);
        if (reported.isEmpty()) {
            QCOMPARE(notice, QString());
        } else {
            QVERIFY2(notice.startsWith(QStringLiteral("A beállítások fájljának [Talca] részében")),
                     qPrintable(notice));
            QVERIFY2(notice.contains(reported), qPrintable(notice));
        }
    }

    // What was read and not changed is written back as it stood, in whatever form it had.
    void settingsUntouchedFileStaysByteIdentical_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addRow("no section") << kUntouched;
        QTest::addRow("empty file") << QByteArray();
        QTest::addRow("other forms") << QByteArray("[Talca]\n CheckBox_SugoMutatjaANapot = 0x1 \n"
                                                   "Edit_FigyelmeztetesVegeElottPerc= 5\n");
        QTest::addRow("unreadable values") << QByteArray("[Talca]\r\nEdit_FigyelmeztetesVegeElottPerc=abc\r\n"
                                                         "CheckBox_BovitettTalcaMenu=igen\r\n");
        QTest::addRow("defaults written out")
            << QByteArray("[Talca]\r\nCheckBox_SugoMutatjaANapot=0\r\nCheckBox_IkonMutatjaANapot=0\r\n"
                          "CheckBox_BovitettTalcaMenu=0\r\nCheckBox_FigyelmeztetesVegeElott=0\r\n"
                          "Edit_FigyelmeztetesVegeElottPerc=10\r\n");
    }
    void settingsUntouchedFileStaysByteIdentical()
    {
        QFETCH(QByteArray, file);
        TraySettingsModel model;
        model.Read(IniFile::FromBytes(file));
        IniFile ini = IniFile::FromBytes(file);
        model.Write(ini);
        QCOMPARE(ini.ToBytes(), file);
    }

    void settingsAnnounceOnlyChanges()
    {
        TraySettingsModel model;
        QSignalSpy changed(&model, &TraySettingsModel::changed);
        model.Set(TraySettings{});
        model.Read(IniFile::FromBytes(kUntouched));
        QCOMPARE(changed.count(), 0);
        TraySettings s;
        s.reminderMinutes = 15;
        model.Set(s);
        model.Set(s);
        QCOMPARE(changed.count(), 1);
        model.Read(IniFile::FromBytes(kUntouched));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(model.Get(), TraySettings{});
    }

    // ---- Tooltip --------------------------------------------------------------------------------

    void tooltip_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("calendarOn");
        QTest::addColumn<bool>("weekdayHours");
        QTest::addColumn<bool>("payShown");
        QTest::addColumn<QString>("tip");
        // Payday on the 2nd, 300 000 Ft a month, 07:00-16:00 without breaks.
        QTest::addRow("working day before the end")
            << Moment(2026, 3, 10, 12, 35, 10) << false << false << false
            << QStringLiteral("Kelvator\nMunkanap: 62% — vége 16:00 (még 3:25)\nFizetés 23 nap múlva");
        QTest::addRow("last minute")
            << Moment(2026, 3, 10, 15, 59, 59, 900) << false << false << false
            << QStringLiteral("Kelvator\nMunkanap: 99% — vége 16:00 (még 0:01)\nFizetés 23 nap múlva");
        QTest::addRow("before the start")
            << Moment(2026, 3, 10, 6, 0) << false << false << false
            << QStringLiteral("Kelvator\nMunkanap: 0% — vége 16:00 (még 10:00)\nFizetés 23 nap múlva");
        QTest::addRow("working day at the end")
            << Moment(2026, 3, 10, 16, 0) << false << false << false
            << QStringLiteral("Kelvator\nMunkanap vége: 16:00\nFizetés 23 nap múlva");
        QTest::addRow("working day in the evening")
            << Moment(2026, 3, 10, 23, 59, 59) << false << false << false
            << QStringLiteral("Kelvator\nMunkanap vége: 16:00\nFizetés 23 nap múlva");
        QTest::addRow("Friday with its own hours")
            << Moment(2026, 3, 13, 12, 0) << false << true << false
            << QStringLiteral("Kelvator\nMunkanap: 83% — vége 13:00 (még 1:00)\nFizetés 20 nap múlva");
        QTest::addRow("Friday with its own hours, after")
            << Moment(2026, 3, 13, 13, 30) << false << true << false
            << QStringLiteral("Kelvator\nMunkanap vége: 13:00\nFizetés 20 nap múlva");
        QTest::addRow("Friday, hours per weekday off")
            << Moment(2026, 3, 13, 13, 30) << false << false << false
            << QStringLiteral("Kelvator\nMunkanap: 72% — vége 16:00 (még 2:30)\nFizetés 20 nap múlva");
        // 1 May 2026 is a Friday; payday (Saturday the 2nd) moves back past it to Thursday.
        QTest::addRow("holiday with the calendar on")
            << Moment(2026, 5, 1, 10, 0) << true << false << false
            << QStringLiteral(
                   "Kelvator\nMa nincs munkanap\nMunkaszüneti napra esne a fizetésnap, ezért előtte volt.");
        QTest::addRow("holiday with the calendar off")
            << Moment(2026, 5, 1, 10, 0) << false << false << false
            << QStringLiteral("Kelvator\nMunkanap: 33% — vége 16:00 (még 6:00)\nMa van a fizetés.");
        QTest::addRow("Saturday") << Moment(2026, 3, 14, 10, 0) << false << false << false
                                  << QStringLiteral("Kelvator\nMa nincs munkanap\nFizetés 19 nap múlva");
        // March 2026: 22 working days of 9 hours; by 12:35 on the 10th 6 days and 5:35.
        QTest::addRow("pay shown") << Moment(2026, 3, 10, 12, 35, 10) << false << false << true
                                   << QStringLiteral("Kelvator\nMunkanap: 62% — vége 16:00 (még 3:25)\n"
                                                     "Fizetés 23 nap múlva\nEddig: 90 278 Ft");
        QTest::addRow("pay shown, month not begun")
            << Moment(2026, 3, 2, 6, 0) << false << false << true
            << QStringLiteral("Kelvator\nMunkanap: 0% — vége 16:00 (még "
                              "10:00)\nMa van a fizetés.\nEddig: 0 Ft");
    }
    void tooltip()
    {
        QFETCH(QDateTime, now);
        QFETCH(bool, calendarOn);
        QFETCH(bool, weekdayHours);
        QFETCH(bool, payShown);
        QFETCH(QString, tip);
        WorkCalendarModel calendar;
        calendar.Apply(calendarOn, CalendarEntries{}, weekdayHours, ShortFridays());
        Settings settings;
        settings.monthlySalary = QStringLiteral("300000");
        settings.payShown = payShown;
        const Tick t = At(now, settings, calendar);
        QCOMPARE(TrayTipText(t.moment, t.work, settings, calendar), tip);
    }

    // Within a minute the text stands still, pay and all; the next minute moves it.
    void tooltipChangesOncePerMinute_data()
    {
        QTest::addColumn<QDateTime>("first");
        QTest::addColumn<QDateTime>("later");
        QTest::addColumn<bool>("same");
        QTest::addRow("same minute") << Moment(2026, 3, 10, 12, 35, 0) << Moment(2026, 3, 10, 12, 35, 59, 999)
                                     << true;
        QTest::addRow("next minute") << Moment(2026, 3, 10, 12, 35, 59, 999) << Moment(2026, 3, 10, 12, 36, 0)
                                     << false;
        QTest::addRow("the end's minute")
            << Moment(2026, 3, 10, 15, 59, 59, 999) << Moment(2026, 3, 10, 16, 0) << false;
        QTest::addRow("evening") << Moment(2026, 3, 10, 16, 0) << Moment(2026, 3, 10, 16, 0, 30) << true;
    }
    void tooltipChangesOncePerMinute()
    {
        QFETCH(QDateTime, first);
        QFETCH(QDateTime, later);
        QFETCH(bool, same);
        WorkCalendarModel calendar;
        Settings settings;
        settings.monthlySalary = QStringLiteral("300000");
        settings.payShown = true;
        const Tick a = At(first, settings, calendar);
        const Tick b = At(later, settings, calendar);
        QCOMPARE(TrayTipText(a.moment, a.work, settings, calendar) ==
                     TrayTipText(b.moment, b.work, settings, calendar),
                 same);
    }

    // A salary the page would refuse leaves the pay out rather than failing.
    void tooltipWithoutReadableSalary()
    {
        WorkCalendarModel calendar;
        Settings settings;
        settings.monthlySalary = QStringLiteral("sok");
        settings.payShown = true;
        const Tick t = At(Moment(2026, 3, 10, 12, 35), settings, calendar);
        QVERIFY(!TrayTipText(t.moment, t.work, settings, calendar).contains(QStringLiteral("Eddig")));
    }

    // ---- Live icon ------------------------------------------------------------------------------

    void iconState_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("permille");
        const auto plain = int(TrayIconKind::Plain);
        const auto progress = int(TrayIconKind::Progress);
        const auto lime = int(TrayIconKind::BlinkLime);
        const auto orange = int(TrayIconKind::BlinkOrange);
        QTest::addRow("before the start") << Moment(2026, 3, 10, 6, 59, 59) << plain << 0;
        QTest::addRow("at the start") << Moment(2026, 3, 10, 7, 0) << progress << 0;
        QTest::addRow("half way") << Moment(2026, 3, 10, 11, 30, 59) << progress << 500;
        QTest::addRow("last minute") << Moment(2026, 3, 10, 15, 59, 59) << progress << 998;
        QTest::addRow("the end's second") << Moment(2026, 3, 10, 16, 0, 0, 500) << lime << 0;
        QTest::addRow("a second later") << Moment(2026, 3, 10, 16, 0, 1) << orange << 0;
        QTest::addRow("the window's last second") << Moment(2026, 3, 10, 16, 0, 30) << lime << 0;
        QTest::addRow("after the window") << Moment(2026, 3, 10, 16, 0, 31) << plain << 0;
        QTest::addRow("Saturday") << Moment(2026, 3, 14, 11, 30) << plain << 0;
    }
    void iconState()
    {
        QFETCH(QDateTime, now);
        QFETCH(int, kind);
        QFETCH(int, permille);
        WorkCalendarModel calendar;
        const Tick t = At(now, Settings(), calendar);
        const TrayIconState s = TrayIconStateOf(t.moment, t.work);
        QCOMPARE(int(s.kind), kind);
        QCOMPARE(s.permille, permille);
    }

    // The state, and so the drawing, changes at most once a minute while the day runs.
    void iconStateStandsForAMinute()
    {
        WorkCalendarModel calendar;
        const Tick a = At(Moment(2026, 3, 10, 9, 12, 0), Settings(), calendar);
        const Tick b = At(Moment(2026, 3, 10, 9, 12, 59, 999), Settings(), calendar);
        const Tick c = At(Moment(2026, 3, 10, 9, 13, 0), Settings(), calendar);
        QCOMPARE(TrayIconStateOf(a.moment, a.work), TrayIconStateOf(b.moment, b.work));
        QVERIFY(TrayIconStateOf(b.moment, b.work) != TrayIconStateOf(c.moment, c.work));
    }

    void iconPixels_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<TrayIconState>("state");
        QTest::addColumn<QRgb>("right");
        QTest::addColumn<QRgb>("left");
        const QRgb orange = qRgb(255, 128, 0);
        const QRgb lime = qRgb(0, 255, 0);
        const QRgb white = qRgb(255, 255, 255);
        for (const int size : {16, 32}) {
            QTest::addRow("%d px, 0%%", size) << size << TrayProgressState(0) << white << white;
            QTest::addRow("%d px, 50%%", size) << size << TrayProgressState(0.5) << orange << white;
            QTest::addRow("%d px, 100%%", size) << size << TrayProgressState(1) << orange << orange;
            QTest::addRow("%d px, blink lime", size)
                << size << TrayIconState{TrayIconKind::BlinkLime, 0} << lime << lime;
            QTest::addRow("%d px, blink orange", size)
                << size << TrayIconState{TrayIconKind::BlinkOrange, 0} << orange << orange;
        }
    }
    void iconPixels()
    {
        QFETCH(int, size);
        QFETCH(TrayIconState, state);
        QFETCH(QRgb, right);
        QFETCH(QRgb, left);
        const QImage image = DrawTrayIcon(state, size, 1, QImage());
        QCOMPARE(image.size(), QSize(size, size));
        const int mid = size / 2;
        QCOMPARE(image.pixel(size * 3 / 4, mid), right);
        QCOMPARE(image.pixel(size / 4, mid), left);
        QCOMPARE(image.pixel(size * 3 / 4, size / 4), right);
        QCOMPARE(image.pixel(size * 3 / 4, size * 3 / 4), right);
        // Just beside the 12 o'clock line, where the fill starts.
        QCOMPARE(image.pixel(mid, size / 4), right);
        QCOMPARE(image.pixel(mid - 1, size / 4), left);
        // The corners stay clear, and the rim is drawn.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(size - 1, size - 1)), 0);
        for (const QRgb rim : {image.pixel(size - 1, mid), image.pixel(mid, 0), image.pixel(0, mid - 1)}) {
            QVERIFY2(qAlpha(rim) > 200 && qGray(rim) < 80, qPrintable(QString::number(rim, 16)));
        }
    }

    // Half the day fills exactly the right half: each fully orange pixel has a fully white one
    // opposite it, and nothing orange lies left of the line.
    void iconHalfFillsHalf_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<qreal>("ratio");
        for (const int size : {16, 22, 24, 32, 48}) {
            QTest::addRow("%d px", size) << size << 1.0;
            QTest::addRow("%d px at 2x", size) << size << 2.0;
        }
    }
    void iconHalfFillsHalf()
    {
        QFETCH(int, size);
        QFETCH(qreal, ratio);
        const QImage image = DrawTrayIcon(TrayProgressState(0.5), size, ratio, QImage());
        const int n = int(size * ratio);
        QCOMPARE(image.size(), QSize(n, n));
        QCOMPARE(image.devicePixelRatio(), ratio);
        const QRgb orange = qRgb(255, 128, 0);
        const QRgb white = qRgb(255, 255, 255);
        int filled = 0;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n / 2; ++x) {
                QVERIFY2(image.pixel(x, y) != orange, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                const bool whiteLeft = image.pixel(x, y) == white;
                const bool orangeRight = image.pixel(n - 1 - x, y) == orange;
                QVERIFY2(whiteLeft == orangeRight, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                filled += orangeRight ? 1 : 0;
            }
        }
        // Most of the half disc is solid colour, even at 16 px.
        QVERIFY2(filled * 4 > n * n / 2 * 3 * 3 / 4 / 2, qPrintable(QString::number(filled)));
    }

    // 2x is the size twice over, not a blown-up picture.
    void iconAtTwiceTheRatio()
    {
        const QImage twice = DrawTrayIcon(TrayProgressState(0.3), 16, 2, QImage());
        QImage big = DrawTrayIcon(TrayProgressState(0.3), 32, 1, QImage());
        big.setDevicePixelRatio(2);
        QCOMPARE(twice, big);
    }

    // Outside working hours the icon is the program's own.
    void iconPlainIsTheProgramIcon()
    {
        const QImage program = ProgramIconImage();
        QVERIFY(!program.isNull());
        const QImage plain = DrawTrayIcon(TrayIconState{}, 32, 1, program);
        QCOMPARE(plain.size(), QSize(32, 32));
        QVERIFY(qAlpha(plain.pixel(16, 16)) > 0);
        QCOMPARE(DrawTrayIcon(TrayIconState{}, 16, 1, QImage()).pixel(8, 8), qRgba(0, 0, 0, 0));
        const QIcon icon = MakeTrayIcon(TrayIconState{}, program);
        QCOMPARE(icon.pixmap(64).toImage().convertToFormat(QImage::Format_ARGB32),
                 QIcon(QStringLiteral(":/kelvator/kelvator.png"))
                     .pixmap(64)
                     .toImage()
                     .convertToFormat(QImage::Format_ARGB32));
    }

    void iconSizes()
    {
        const QIcon icon = MakeTrayIcon(TrayProgressState(0.25), QImage());
        QList<int> sizes;
        for (const QSize& s : icon.availableSizes())
            sizes << s.width();
        std::sort(sizes.begin(), sizes.end());
        QCOMPARE(sizes, (QList<int>{16, 22, 24, 32, 44, 48, 64, 96}));
        QCOMPARE(icon.pixmap(QSize(22, 22)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 DrawTrayIcon(TrayProgressState(0.25), 22, 1, QImage()));
    }

    // ---- Reminder -------------------------------------------------------------------------------

    void reminder_data()
    {
        QTest::addColumn<QList<QDateTime>>("ticks");
        QTest::addColumn<int>("onFrom"); // the first tick with the reminder switched on
        QTest::addColumn<int>("minutes");
        QTest::addColumn<bool>("calendarOn");
        QTest::addColumn<QStringList>("said"); // per tick, empty for nothing
        const QString ten = QStringLiteral("10 perc múlva vége a munkaidőnek (16:00)");
        const QString none;
        QTest::addRow("once at 15:50:00")
            << QList<QDateTime>{Moment(2026, 3, 10, 15, 49, 59, 800), Moment(2026, 3, 10, 15, 50),
                                Moment(2026, 3, 10, 15, 50, 0, 200), Moment(2026, 3, 10, 15, 55),
                                Moment(2026, 3, 10, 16, 30)}
            << 0 << 10 << false << QStringList{none, ten, none, none, none};
        QTest::addRow("again the next working day")
            << QList<QDateTime>{Moment(2026, 3, 13, 15, 49, 59), Moment(2026, 3, 13, 15, 50),
                                Moment(2026, 3, 14, 15, 49, 59), Moment(2026, 3, 14, 15, 50),
                                Moment(2026, 3, 16, 15, 49, 59), Moment(2026, 3, 16, 15, 50)}
            << 0 << 10 << false << QStringList{none, ten, none, none, none, ten};
        QTest::addRow("none on a Saturday")
            << QList<QDateTime>{Moment(2026, 3, 14, 8, 0), Moment(2026, 3, 14, 15, 50)} << 0 << 10 << false
            << QStringList{none, none};
        QTest::addRow("none on a holiday with the calendar on")
            << QList<QDateTime>{Moment(2026, 5, 1, 8, 0), Moment(2026, 5, 1, 15, 50)} << 0 << 10 << true
            << QStringList{none, none};
        QTest::addRow("first tick at 15:55")
            << QList<QDateTime>{Moment(2026, 3, 10, 15, 55), Moment(2026, 3, 10, 15, 55, 1)} << 0 << 10
            << false << QStringList{none, none};
        QTest::addRow("first tick at 15:50:00")
            << QList<QDateTime>{Moment(2026, 3, 10, 15, 50), Moment(2026, 3, 10, 15, 50, 1)} << 0 << 10
            << false << QStringList{none, none};
        QTest::addRow("switched off")
            << QList<QDateTime>{Moment(2026, 3, 10, 15, 49), Moment(2026, 3, 10, 15, 50)} << 99 << 10 << false
            << QStringList{none, none};
        QTest::addRow("switched on before the moment")
            << QList<QDateTime>{Moment(2026, 3, 10, 9, 0), Moment(2026, 3, 10, 15, 49),
                                Moment(2026, 3, 10, 15, 50)}
            << 1 << 10 << false << QStringList{none, none, ten};
        QTest::addRow("woken after the end")
            << QList<QDateTime>{Moment(2026, 3, 10, 15, 40), Moment(2026, 3, 10, 16, 5)} << 0 << 10 << false
            << QStringList{none, none};
        QTest::addRow("woken before the end")
            << QList<QDateTime>{Moment(2026, 3, 10, 15, 40), Moment(2026, 3, 10, 15, 57)} << 0 << 10 << false
            << QStringList{none, ten};
        QTest::addRow("half an hour")
            << QList<QDateTime>{Moment(2026, 3, 10, 15, 29, 59), Moment(2026, 3, 10, 15, 30)} << 0 << 30
            << false << QStringList{none, QStringLiteral("30 perc múlva vége a munkaidőnek (16:00)")};
        QTest::addRow("the clock set back")
            << QList<QDateTime>{Moment(2026, 3, 10, 15, 49), Moment(2026, 3, 10, 15, 50),
                                Moment(2026, 3, 10, 15, 0), Moment(2026, 3, 10, 15, 50)}
            << 0 << 10 << false << QStringList{none, ten, none, none};
    }
    void reminder()
    {
        QFETCH(QList<QDateTime>, ticks);
        QFETCH(int, onFrom);
        QFETCH(int, minutes);
        QFETCH(bool, calendarOn);
        QFETCH(QStringList, said);
        WorkCalendarModel calendar;
        calendar.SetCalendar(calendarOn, CalendarEntries{});
        TrayReminderState state;
        for (qsizetype i = 0; i < ticks.size(); ++i) {
            const Tick t = At(ticks[i], Settings(), calendar);
            const std::optional<QString> text =
                StepTrayReminder(state, t.moment, t.work, i >= onFrom, minutes);
            QCOMPARE(text.value_or(QString()), said[i]);
        }
    }

    // The day's own end with hours per weekday: Friday's comes at 13:00.
    void reminderOnAShortFriday()
    {
        WorkCalendarModel calendar;
        calendar.SetWeekdayHours(true, ShortFridays());
        TrayReminderState state;
        std::optional<QString> said;
        for (const QTime time : {QTime(12, 49, 59), QTime(12, 50), QTime(15, 49, 59), QTime(15, 50)}) {
            const Tick t = At(QDateTime(QDate(2026, 3, 13), time), Settings(), calendar);
            if (const auto text = StepTrayReminder(state, t.moment, t.work, true, 10)) {
                QVERIFY2(!said, qPrintable(*text));
                QCOMPARE(time, QTime(12, 50));
                said = text;
            }
        }
        QCOMPARE(said.value_or(QString()), QStringLiteral("10 perc múlva vége a munkaidőnek (13:00)"));
    }
};

QTEST_MAIN(TstTrayDay)
#include "tst_tray_day.moc"
