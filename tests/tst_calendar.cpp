#include "calendar/calendar_texts.h"
#include "calendar/numbermask.h"
#include "calendar/tdatetime.h"
#include "calendar/wall_clock.h"

#include <QLocale>
#include <QTest>

#include <cstdlib>
#include <ctime>
#include <limits>

using namespace kelvator;

class TstCalendar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }

    void masks_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("text");
        QTest::addRow("0 pads nothing") << 7.0 << "0"
                                        << "7";
        QTest::addRow("0 half up") << 2.5 << "0"
                                   << "3";
        QTest::addRow("0 half away from zero") << -2.5 << "0"
                                               << "-3";
        QTest::addRow("0 small negative is 0") << -0.4 << "0"
                                               << "0";
        QTest::addRow("00 pads") << 5.0 << "00"
                                 << "05";
        QTest::addRow("00 longer") << 123.0 << "00"
                                   << "123";
        QTest::addRow("0000 year") << 2016.0 << "0000"
                                   << "2016";
        QTest::addRow("0000 early year") << 33.0 << "0000"
                                         << "0033";
        QTest::addRow("0.0 comma") << 12.04 << "0.0"
                                   << "12,0";
        QTest::addRow("0.0 half") << 0.25 << "0.0"
                                  << "0,3";
        QTest::addRow("0.00 decimal half") << 2.675 << "0.00"
                                           << "2,68";
        QTest::addRow("0.00 rounds up to whole") << 0.9995 << "0.00"
                                                 << "1,00";
        QTest::addRow("0.000") << 1.0005 << "0.000"
                               << "1,001";
        QTest::addRow("0.0000") << -3.14159 << "0.0000"
                                << "-3,1416";
        QTest::addRow("# ### ##0 zero") << 0.0 << "# ### ##0"
                                        << "  0";
        QTest::addRow("# ### ##0 short") << 45.0 << "# ### ##0"
                                         << "  45";
        QTest::addRow("# ### ##0 six") << 123456.0 << "# ### ##0"
                                       << " 123 456";
        QTest::addRow("# ### ##0 seven") << 1234567.0 << "# ### ##0"
                                         << "1 234 567";
        QTest::addRow("# ### ##0 eight") << 12345678.0 << "# ### ##0"
                                         << "12 345 678";
        QTest::addRow("# ### ##0 rounds") << 1499.5 << "# ### ##0"
                                          << " 1 500";
        QTest::addRow("# ### ##0 negative") << -45.0 << "# ### ##0"
                                            << "-  45";
        QTest::addRow("### ##0 three") << 850.0 << "### ##0"
                                       << " 850";
        QTest::addRow("### ##0 four") << 1500.0 << "### ##0"
                                      << "1 500";
        QTest::addRow("literal tail") << 3.0 << "0 nap"
                                      << "3 nap";
        QTest::addRow("# fraction drops zeros") << 1.5 << "0.##"
                                                << "1,5";
        QTest::addRow("# fraction drops point") << 2.0 << "0.##"
                                                << "2";
    }
    void masks()
    {
        QFETCH(double, value);
        QFETCH(QString, mask);
        QFETCH(QString, text);
        QCOMPARE(FormatMask(value, mask), text);
    }

    void maskRoundingDiffersFromPixelRounding()
    {
        QCOMPARE(FormatMask(0.5, u"0"), QStringLiteral("1"));
        QCOMPARE(RoundHalfEven(0.5), 0);
        QCOMPARE(FormatMask(191.5, u"0"), QStringLiteral("192"));
        QCOMPARE(RoundHalfEven(191.5), 192);
        QCOMPARE(RoundHalfEven(24.5), 24);
        QCOMPARE(RoundHalfEven(-25.5), -26);
    }

    void maskUsesTheLocaleDecimalPoint()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(FormatMask(1.25, u"0.00"), QStringLiteral("1.25"));
        QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
        QCOMPARE(FormatMask(1.25, u"0.00"), QStringLiteral("1,25"));
    }

    void dateTimeRoundTrip_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<double>("value");
        QTest::addRow("base") << QDateTime(QDate(1899, 12, 30), QTime(0, 0)) << 0.0;
        QTest::addRow("noon before base") << QDateTime(QDate(1899, 12, 29), QTime(12, 0)) << -0.5;
        QTest::addRow("2016") << QDateTime(QDate(2016, 8, 1), QTime(18, 0)) << 42583.75;
        QTest::addRow("year 1") << QDateTime(QDate(1, 1, 1), QTime(0, 0)) << -693593.0;
        QTest::addRow("year 9999") << QDateTime(QDate(9999, 12, 31), QTime(6, 0)) << 2958465.25;
    }
    void dateTimeRoundTrip()
    {
        QFETCH(QDateTime, moment);
        QFETCH(double, value);
        QCOMPARE(ToDateTime(moment), value);
        QCOMPARE(ToQDateTime(value), moment);
    }

    void timeOfDayRoundsToTheMillisecond()
    {
        // A value a hair below midnight belongs to the next day, not to 23:59:59.999.
        const double almost = 42584.0 - 1e-12;
        QCOMPARE(DateOf(almost), QDate(2016, 8, 2));
        QCOMPARE(TimeOf(almost), QTime(0, 0));
        const double third = ToDateTime(QDate(2016, 8, 1), QTime(8, 0));
        QCOMPARE(TimeOf(third), QTime(8, 0));
        QVERIFY(!DateOf(std::numeric_limits<double>::quiet_NaN()).isValid());
        QVERIFY(!DateOf(1e12).isValid());
    }

    // A zone that springs forward at 10 000 s after the epoch: +1 h before, +2 h from then.
    void wallClock_data()
    {
        QTest::addColumn<qint64>("utcMs");
        QTest::addColumn<QDateTime>("wall");
        const QDate epoch(1970, 1, 1);
        QTest::addRow("milliseconds kept") << qint64(1234) << QDateTime(epoch, QTime(1, 0, 1, 234));
        QTest::addRow("last moment before the change")
            << qint64(9'999'999) << QDateTime(epoch, QTime(3, 46, 39, 999));
        QTest::addRow("first moment after it") << qint64(10'000'000) << QDateTime(epoch, QTime(4, 46, 40));
        QTest::addRow("before the epoch")
            << qint64(-1) << QDateTime(QDate(1970, 1, 1), QTime(0, 59, 59, 999));
    }
    void wallClock()
    {
        QFETCH(qint64, utcMs);
        QFETCH(QDateTime, wall);
        WallClock clock([](qint64 second) { return second < 10'000 ? 3600 : 7200; });
        const QDateTime now = clock.At(utcMs);
        QCOMPARE(now.date(), wall.date());
        QCOMPARE(now.time(), wall.time());
        QCOMPARE(now.toMSecsSinceEpoch(), utcMs);
    }

    void wallClockLooksUpTheRulesOncePerSecond()
    {
        QList<qint64> asked;
        WallClock clock([&asked](qint64 second) {
            asked << second;
            return 0;
        });
        for (qint64 ms : {5000, 5200, 5999, 6000, 6400, 4999})
            clock.At(ms);
        QCOMPARE(asked, (QList<qint64>{5, 6, 4}));
    }

    void systemOffsetFollowsTheTimeZone()
    {
        const QByteArray saved = qgetenv("TZ");
        const bool had = qEnvironmentVariableIsSet("TZ");
        const qint64 summer = QDateTime(QDate(2026, 7, 1), QTime(12, 0), Qt::UTC).toSecsSinceEpoch();
        const qint64 winter = QDateTime(QDate(2026, 12, 9), QTime(12, 0), Qt::UTC).toSecsSinceEpoch();
        qputenv("TZ", "Europe/Budapest");
        QCOMPARE(SystemUtcOffset(summer), 7200);
        QCOMPARE(SystemUtcOffset(winter), 3600);
        // A zone changed while the program runs is noticed at the next look-up.
        qputenv("TZ", "UTC");
        QCOMPARE(SystemUtcOffset(summer), 0);
        if (had)
            qputenv("TZ", saved);
        else
            qunsetenv("TZ");
        tzset();
        // The real clock agrees with Qt's own local time.
        WallClock clock;
        const QDateTime ours = clock.Now();
        const QDateTime qts = QDateTime::currentDateTime();
        QVERIFY(qAbs(ours.secsTo(qts)) <= 1);
        QCOMPARE(ours.offsetFromUtc(), qts.offsetFromUtc());
    }

    void monthShift_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<int>("months");
        QTest::addColumn<QDate>("to");
        QTest::addRow("31 Mar back one") << QDate(2023, 3, 31) << -1 << QDate(2023, 2, 28);
        QTest::addRow("31 Mar back one, leap") << QDate(2024, 3, 31) << -1 << QDate(2024, 2, 29);
        QTest::addRow("31 Jan forward one") << QDate(2023, 1, 31) << 1 << QDate(2023, 2, 28);
        QTest::addRow("29 Feb forward 12") << QDate(2024, 2, 29) << 12 << QDate(2025, 2, 28);
        QTest::addRow("across years back") << QDate(2024, 1, 15) << -13 << QDate(2022, 12, 15);
        QTest::addRow("clamped at year 1") << QDate(1, 3, 10) << -5 << QDate(1, 1, 1);
        QTest::addRow("clamped at 9999") << QDate(9999, 10, 10) << 5 << QDate(9999, 12, 31);
        QTest::addRow("far back") << QDate(2024, 1, 1) << -100000 << QDate(1, 1, 1);
    }
    void monthShift()
    {
        QFETCH(QDate, from);
        QFETCH(int, months);
        QFETCH(QDate, to);
        QCOMPARE(ShiftMonths(from, months), to);
        const TDateTime shifted = ShiftMonths(ToDateTime(from, QTime(15, 30)), months);
        QCOMPARE(ToQDateTime(shifted), QDateTime(to, QTime(15, 30)));
    }

    void isoWeeks_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("week");
        QTest::addColumn<int>("weeksInYear");
        QTest::addRow("1 Jan 2016 belongs to 2015") << QDate(2016, 1, 1) << 53 << 52;
        QTest::addRow("1 Aug 2016") << QDate(2016, 8, 1) << 31 << 52;
        QTest::addRow("2015 starts Thursday") << QDate(2015, 6, 1) << 23 << 53;
        QTest::addRow("2020 leap, starts Wednesday") << QDate(2020, 12, 31) << 53 << 53;
        QTest::addRow("2024 starts Monday") << QDate(2024, 12, 30) << 1 << 52;
    }
    void isoWeeks()
    {
        QFETCH(QDate, date);
        QFETCH(int, week);
        QFETCH(int, weeksInYear);
        QCOMPARE(IsoWeekNumber(date), week);
        QCOMPARE(IsoWeeksInYear(date.year()), weeksInYear);
    }

    void names()
    {
        const QStringList days{QStringLiteral("Hétfő"),   QStringLiteral("Kedd"),
                               QStringLiteral("Szerda"),  QStringLiteral("Csütörtök"),
                               QStringLiteral("Péntek"),  QStringLiteral("Szombat"),
                               QStringLiteral("Vasárnap")};
        for (int i = 0; i < 7; ++i)
            QCOMPARE(WeekdayName(QDate(2024, 5, 6).addDays(i)), days[i]);
        QCOMPARE(MonthName(1), QStringLiteral("Január"));
        QCOMPARE(MonthName(8), QStringLiteral("Augusztus"));
        QCOMPARE(MonthName(12), QStringLiteral("December"));
        QCOMPARE(MonthName(0), QString());
        QCOMPARE(MonthName(13), QString());
    }

    void relativeTime_data()
    {
        QTest::addColumn<bool>("timeCounts");
        QTest::addColumn<bool>("daysOnly");
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("text");
        const QTime noon(12, 0);
        QTest::addRow("a year") << false << false << QDateTime(QDate(2025, 5, 7), noon)
                                << "1,00 év múlva lesz.";
        QTest::addRow("364 days") << false << false << QDateTime(QDate(2025, 5, 6), noon)
                                  << "12,0 hónap múlva lesz.";
        QTest::addRow("30 days") << false << false << QDateTime(QDate(2024, 6, 6), noon)
                                 << "30 nap múlva lesz.";
        QTest::addRow("31 days") << false << false << QDateTime(QDate(2024, 6, 7), noon)
                                 << "1,0 hónap múlva lesz.";
        QTest::addRow("past 30 days")
            << false << false << QDateTime(QDate(2024, 4, 7), noon) << "Azóta eltelt: 30 nap.";
        QTest::addRow("today") << false << false << QDateTime(QDate(2024, 5, 7), QTime(3, 0))
                               << "Ez a mai nap.";
        QTest::addRow("days only") << false << true << QDateTime(QDate(2025, 5, 7), noon)
                                   << "365 nap múlva lesz.";
        QTest::addRow("12 hours") << true << false << QDateTime(QDate(2024, 5, 8), QTime(8, 0))
                                  << "12,0 óra múlva lesz.";
        QTest::addRow("30 seconds ago") << true << false << QDateTime(QDate(2024, 5, 7), QTime(19, 59, 30))
                                        << "Azóta eltelt: 30 másodperc.";
        QTest::addRow("now") << true << false << QDateTime(QDate(2024, 5, 7), QTime(20, 0)) << "Most van.";
        QTest::addRow("0.9995 s counts as one")
            << true << false << QDateTime(QDate(2024, 5, 7), QTime(20, 0, 0, 999))
            << "1 másodperc múlva lesz.";
        QTest::addRow("half a second is now")
            << true << false << QDateTime(QDate(2024, 5, 7), QTime(20, 0, 0, 500)) << "Most van.";
        QTest::addRow("minutes") << true << false << QDateTime(QDate(2024, 5, 7), QTime(20, 1, 30))
                                 << "1,5 perc múlva lesz.";
        QTest::addRow("days with time")
            << true << false << QDateTime(QDate(2024, 5, 9), QTime(8, 0)) << "1,5 nap múlva lesz.";
        QTest::addRow("years past") << false << false << QDateTime(QDate(2014, 5, 7), noon)
                                    << "Azóta eltelt: 10,00 év.";
    }
    void relativeTime()
    {
        QFETCH(bool, timeCounts);
        QFETCH(bool, daysOnly);
        QFETCH(QDateTime, moment);
        QFETCH(QString, text);
        const TDateTime now = ToDateTime(QDateTime(QDate(2024, 5, 7), QTime(20, 0)));
        QCOMPARE(RelativeTimeText(timeCounts, daysOnly, ToDateTime(moment), now), text);
    }

    void relativeTimeOfNonFiniteMoment()
    {
        const TDateTime now = ToDateTime(QDateTime(QDate(2024, 5, 7), QTime(20, 0)));
        QCOMPARE(RelativeTimeText(true, false, std::numeric_limits<double>::quiet_NaN(), now),
                 QStringLiteral("Azóta eltelt idő ismeretlen."));
        QCOMPARE(RelativeTimeText(false, true, std::numeric_limits<double>::infinity(), now),
                 QStringLiteral("Azóta eltelt idő ismeretlen."));
    }

    void dateDifference_data()
    {
        QTest::addColumn<bool>("timeCounts");
        QTest::addColumn<bool>("withSign");
        QTest::addColumn<QDateTime>("first");
        QTest::addColumn<QDateTime>("second");
        QTest::addColumn<QString>("text");
        auto d = [](int y, int m, int day, QTime t = QTime(0, 0)) { return QDateTime(QDate(y, m, day), t); };
        QTest::addRow("signed forward")
            << false << true << d(2023, 1, 15) << d(2024, 3, 20) << "+ 1 év, 2 hónap, 5 nap";
        QTest::addRow("signed back") << false << true << d(2024, 3, 20) << d(2023, 1, 15)
                                     << "- 1 év, 2 hónap, 5 nap";
        QTest::addRow("365 days") << false << false << d(2021, 3, 1) << d(2022, 3, 1) << "11 hónap, 31 nap";
        QTest::addRow("366 days") << false << false << d(2023, 3, 1) << d(2024, 3, 1)
                                  << "1 év, 0 hónap, 0 nap";
        QTest::addRow("end of January")
            << false << false << d(2023, 1, 31) << d(2023, 3, 30) << "1 hónap, 28 nap";
        QTest::addRow("month borrow")
            << false << false << d(2023, 7, 1) << d(2023, 8, 31) << "1 hónap, 29 nap";
        QTest::addRow("same date") << false << true << d(2023, 7, 1, QTime(8, 0))
                                   << d(2023, 7, 1, QTime(20, 0)) << "0 nap";
        QTest::addRow("equal moments")
            << true << true << d(2024, 5, 7, QTime(20, 0)) << d(2024, 5, 7, QTime(20, 0)) << "+ 0:00";
        QTest::addRow("with time, negative") << true << true << d(2024, 5, 10, QTime(8, 0))
                                             << d(2024, 5, 7, QTime(20, 0)) << "- 2 nap   12:00";
        QTest::addRow("New Year's Eve")
            << false << false << d(2016, 8, 1, QTime(11, 30)) << d(2016, 12, 31) << "4 hónap, 30 nap";
        QTest::addRow("one day") << false << false << d(2016, 12, 30) << d(2016, 12, 31) << "1 nap";
        // Thirds of a day must not fall a minute short.
        QTest::addRow("whole hours") << true << false << d(2024, 5, 7, QTime(8, 0))
                                     << d(2024, 5, 9, QTime(18, 0)) << "2 nap   10:00";
        QTest::addRow("minutes padded")
            << true << false << d(2024, 5, 7, QTime(8, 0)) << d(2024, 5, 7, QTime(9, 5, 59)) << "1:05";
    }
    void dateDifference()
    {
        QFETCH(bool, timeCounts);
        QFETCH(bool, withSign);
        QFETCH(QDateTime, first);
        QFETCH(QDateTime, second);
        QFETCH(QString, text);
        QCOMPARE(DateDifferenceText(timeCounts, withSign, ToDateTime(first), ToDateTime(second)), text);
    }

    void dateDifferenceAtTheEndsOfTheRange()
    {
        const TDateTime first = ToDateTime(QDate(1, 1, 1));
        const TDateTime last = ToDateTime(QDate(9999, 12, 31));
        QCOMPARE(DateDifferenceText(false, true, first, last), QStringLiteral("+ 9998 év, 11 hónap, 30 nap"));
        QCOMPARE(DateDifferenceText(false, true, last, first), QStringLiteral("- 9998 év, 11 hónap, 30 nap"));
    }
};

QTEST_GUILESS_MAIN(TstCalendar)
#include "tst_calendar.moc"
