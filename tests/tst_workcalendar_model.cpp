// The work-calendar model without a window: what it reads, writes and announces.
#include "settings/inifile.h"
#include "worktime/workcalendar_model.h"

#include <QSignalSpy>
#include <QTest>

using namespace kelvator;

namespace {
WeekdayHours ShortFridays()
{
    WeekdayHours hours;
    hours.fill(DaySpan{7 * 3600, 16 * 3600});
    hours[4] = DaySpan{7 * 3600, 13 * 3600};
    return hours;
}
} // namespace

class TstWorkCalendarModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each change counts once and is announced once, whatever it changes.
    void everyChangeCountsOnce()
    {
        WorkCalendarModel model;
        QSignalSpy changed(&model, &WorkCalendarModel::changed);
        model.Apply(true, CalendarEntries{}, true, ShortFridays());
        model.SetDay(QDate(2026, 12, 29), DayKind::UserRest);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(model.Revision(), 2u);
        QVERIFY(!model.Calendar().IsWorkingDay(QDate(2026, 12, 29)));
        QCOMPARE(model.Entries().rest, QStringList{QStringLiteral("2026.12.29.")});
        QVERIFY(model.WeekdayHoursInUse());
    }

    // Friday's own hours count only while the box is ticked; the rows stay for the next time.
    void weekdayHoursApplyOnlyWhileTicked_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<int>("fridayEnd");
        QTest::addRow("ticked") << true << 13 * 3600;
        QTest::addRow("unticked") << false << 16 * 3600;
    }
    void weekdayHoursApplyOnlyWhileTicked()
    {
        QFETCH(bool, ticked);
        QFETCH(int, fridayEnd);
        WorkCalendarModel model;
        model.SetWeekdayHours(ticked, ShortFridays());
        WorkSchedule base;
        base.workStart = 7 * 3600;
        base.workEnd = 16 * 3600;
        QCOMPARE(model.Pattern(base).spanOf(QDate(2026, 12, 11)).end, fridayEnd);
        QVERIFY(model.Hours().has_value());
    }

    void readingReportsWhatItCannotUse_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QString>("reported");
        QTest::addRow("all readable")
            << QByteArray("CheckBox_Unnepnapok=1\r\nsSzabadnapok=2026.12.29.\r\n") << QString();
        QTest::addRow("box in words")
            << QByteArray("CheckBox_Unnepnapok=igen\r\n") << QStringLiteral("CheckBox_Unnepnapok: „igen”");
        QTest::addRow("day in ISO form")
            << QByteArray("sSzabadnapok=2026-12-23\r\n") << QStringLiteral("sSzabadnapok: „2026-12-23”");
        QTest::addRow("hours unreadable")
            << QByteArray("sNapiMunkaido=07:00-13:30\r\n") << QStringLiteral("sNapiMunkaido: „07:00-13:30”");
    }
    void readingReportsWhatItCannotUse()
    {
        QFETCH(QByteArray, section);
        QFETCH(QString, reported);
        WorkCalendarModel model;
        const QString notice = model.Read(IniFile::FromBytes("[Munkarend]\r\n" + section));
        if (reported.isEmpty())
            QCOMPARE(notice, QString());
        else
            QVERIFY2(notice.contains(reported), qPrintable(notice));
    }

    // What was read and not changed is written back as it stood, in whatever form it had.
    void writingBackWhatWasReadChangesNoByte_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addRow("no section") << QByteArray("[Main]\r\nPageControl_Main=1\r\n");
        QTest::addRow("another form of one") << QByteArray("[Munkarend]\r\nCheckBox_Unnepnapok= 0x1 \r\n");
        QTest::addRow("unreadable entries")
            << QByteArray("[Munkarend]\r\nsSzabadnapok=2026-12-23;2026.12.31.\r\nsNapiMunkaido=x\r\nCheckBox_"
                          "NapiMunkaido=1\r\n");
    }
    void writingBackWhatWasReadChangesNoByte()
    {
        QFETCH(QByteArray, file);
        WorkCalendarModel model;
        model.Read(IniFile::FromBytes(file));
        IniFile ini = IniFile::FromBytes(file);
        model.Write(ini);
        QCOMPARE(ini.ToBytes(), file);
    }
};

QTEST_GUILESS_MAIN(TstWorkCalendarModel)
#include "tst_workcalendar_model.moc"
