// The settings model and its key table, without a window.
#include "settings/inifile.h"
#include "settings/settings_model.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace kelvator;

namespace {

// A line's key with its "=", or the whole line for a section's header.
QByteArray KeyOf(const QByteArray& line)
{
    return line.contains('=') ? line.left(line.indexOf('=') + 1) : line.trimmed();
}

const TDateTime kNow = ToDateTime(QDate(2024, 5, 7), QTime(20, 0));

Settings Read(const QByteArray& file, Settings settings = Settings())
{
    ReadSettings(IniFile::FromBytes(file), kNow, settings);
    return settings;
}

QByteArray Written(const Settings& settings, const QByteArray& file = QByteArray())
{
    IniFile ini = IniFile::FromBytes(file);
    WriteSettings(settings, ini);
    return ini.ToBytes();
}

} // namespace

class TstSettingsModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Nothing in the file: every default, and every moment at the start.
    void anEmptyFileGivesTheDefaults()
    {
        const Settings s = Read(QByteArray());
        Settings expected;
        for (EventSettings& e : expected.events)
            e.moment = kNow;
        expected.leftDate = expected.rightDate = DateOf(kNow);
        expected.stopwatchStart = expected.stopwatchStop = kNow;
        QCOMPARE(s, expected);
        QCOMPARE(s.dayColours[11][30], kButtonFace);
        QCOMPARE(s.breaks[2].length, QStringLiteral("60"));
    }

    void indexesOutsideTheirChoices_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>(
            "field"); // 0 payday row, 1 weekend payday, 2 small clock, 3 main tab, 4 left step, 5 big clock
        QTest::addRow("payday row 40")
            << QByteArray("[Beallitasok]\r\nListBox_FizetesnapDatuma=40") << 1 << 0;
        QTest::addRow("payday row -1")
            << QByteArray("[Beallitasok]\r\nListBox_FizetesnapDatuma=-1") << 1 << 0;
        QTest::addRow("last payday row")
            << QByteArray("[Beallitasok]\r\nListBox_FizetesnapDatuma=27") << 27 << 0;
        QTest::addRow("radio above") << QByteArray("[Beallitasok]\r\nRadioGroup_HetvegiFizetes=7") << 2 << 1;
        QTest::addRow("radio below") << QByteArray(
                                            "[Beallitasok]\r\nRadioGroup_MutatosOraKelvatorMegjelenites=-5")
                                     << -1 << 2;
        QTest::addRow("radio none") << QByteArray(
                                           "[Beallitasok]\r\nRadioGroup_MutatosOraKelvatorMegjelenites=-1")
                                    << -1 << 2;
        QTest::addRow("tab in hex") << QByteArray("[Main]\r\nPageControl_Main=0x3") << 3 << 3;
        QTest::addRow("tab beyond keeps") << QByteArray("[Main]\r\nPageControl_Main=7") << 5 << 3;
        QTest::addRow("tab word keeps default")
            << QByteArray("[Main]\r\nPageControl_NagyOraTipus=x") << 1 << 5;
        QTest::addRow("step beyond") << QByteArray("[Datumok]\r\nComboBox_DatumokLepeskoz1=99") << -1 << 4;
        QTest::addRow("last step") << QByteArray("[Datumok]\r\nComboBox_DatumokLepeskoz1=98") << 98 << 4;
    }
    void indexesOutsideTheirChoices()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, expected);
        QFETCH(int, field);
        Settings before;
        before.mainTab = 5; // what a tab index outside the tabs keeps
        const Settings s = Read(line + "\r\n", before);
        const std::array<int, 6> values{s.paydayRow, s.weekendPayday, s.smallClockShown,
                                        s.mainTab,   s.leftStep,      s.bigClockTab};
        QCOMPARE(values[size_t(field)], expected);
    }

    void textsLongerThanTheirFieldsTakeTheDefault_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("salary");
        QTest::addRow("three-digit hour") << QByteArray("Edit_MIKOra=007") << "07"
                                          << "0";
        QTest::addRow("two-digit hour kept") << QByteArray("Edit_MIKOra=25") << "25"
                                             << "0";
        QTest::addRow("eight-digit salary") << QByteArray("Edit_HaviFizetes=12345678") << "07"
                                            << "0";
        QTest::addRow("seven-digit salary kept") << QByteArray("Edit_HaviFizetes=1234567") << "07"
                                                 << "1234567";
    }
    void textsLongerThanTheirFieldsTakeTheDefault()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, hour);
        QFETCH(QString, salary);
        const Settings s = Read("[Beallitasok]\r\n" + line + "\r\n");
        QCOMPARE(s.workStartHour, hour);
        QCOMPARE(s.monthlySalary, salary);
    }

    void lapCountReadsOnlyTheLinesThatExist_data()
    {
        QTest::addColumn<QByteArray>("count");
        QTest::addColumn<QStringList>("laps");
        QTest::addRow("largest count")
            << QByteArray("2147483647")
            << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral(""), QStringLiteral("d")};
        QTest::addRow("count one beyond")
            << QByteArray("5")
            << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral(""), QStringLiteral("d")};
        QTest::addRow("count within the lines")
            << QByteArray("2") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
        QTest::addRow("count ending in a gap")
            << QByteArray("3") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
        QTest::addRow("negative count") << QByteArray("-4") << QStringList{};
    }
    void lapCountReadsOnlyTheLinesThatExist()
    {
        QFETCH(QByteArray, count);
        QFETCH(QStringList, laps);
        const Settings s =
            Read("[Stopper]\r\nListBox_StopperItemsCount=" + count +
                 "\r\nListBox_StopperItems0=a\r\nListBox_StopperItems1=b\r\nListBox_StopperItems3=d\r\n");
        QCOMPARE(s.laps, laps);
    }

    // Whatever the settings hold comes back from the file as it was.
    void writingThenReadingGivesTheSameSettings()
    {
        Settings s = Read(QByteArray());
        s.yearGridColour = 0x00C080FF;
        s.dayColours[0][0] = 0x00004080;
        s.paydayRow = 27;
        s.workEndHour = QStringLiteral("x");
        s.weekendPayday = -1;
        s.twelveHourClock = false;
        s.workEndSoundFile = QStringLiteral("/zene/vége – 日本.mp3");
        s.payShown = true;
        s.mainTab = 6;
        s.bigClockTab = 0;
        s.events[2] = {false, ToDateTime(QDate(2025, 7, 1), QTime(6, 30, 15)), QStringLiteral("Nyaralás"),
                       false, true};
        s.leftDate = QDate(1999, 12, 31);
        s.rightStep = -1;
        s.stopwatchName = QString();
        s.stopwatchState = 2;
        s.stopwatchLap = 3;
        s.laps = QStringList{QStringLiteral("Start: Du. 1:05:09"), QString(), QStringLiteral("R1: 0:00:01")};
        s.hourlyNotice = true;
        s.breaks[2] = {true, QStringLiteral("12"), QStringLiteral("05"), QStringLiteral("45")};
        const QByteArray file = Written(s);
        QCOMPARE(Read(file), s);
        // A second save over the first changes no byte.
        QCOMPARE(Written(Read(file), file), file);
    }

    // The keys of a first save come in the order the file has always had.
    void aFirstSaveWritesTheGoldenFilesKeysInOrder()
    {
        QFile golden(QStringLiteral(KELVATOR_TEST_DATA "/first_save.ini"));
        QVERIFY(golden.open(QIODevice::ReadOnly));
        QList<QByteArray> expected;
        for (const QByteArray& line : golden.readAll().split('\n')) {
            if (!line.startsWith("[Idobelyeg]") && !line.startsWith("IniFileUtolsoMentes") &&
                !line.trimmed().isEmpty())
                expected << KeyOf(line);
        }
        QList<QByteArray> written;
        for (const QByteArray& line : Written(Read(QByteArray())).split('\n')) {
            if (!line.trimmed().isEmpty())
                written << KeyOf(line);
        }
        QCOMPARE(written, expected);
    }

    void theModelSaysWhenSomethingChanged()
    {
        SettingsModel model;
        QSignalSpy changed(&model, &SettingsModel::changed);
        model.Set(Settings());
        QCOMPARE(changed.count(), 0);
        Settings s;
        s.events[5].visible = false;
        model.Set(s);
        QCOMPARE(changed.count(), 1);
        QVERIFY(!model.Get().events[5].visible);
        model.Set(s);
        QCOMPARE(changed.count(), 1);
    }

    void onlyFilesWithTheProgramsSectionsHoldSettings_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("holds");
        QTest::addRow("empty") << QByteArray() << false;
        QTest::addRow("foreign") << QByteArray("[Sajat]\r\nx=1\r\n") << false;
        QTest::addRow("stopwatch only") << QByteArray("[Stopper]\r\n") << true;
        QTest::addRow("work calendar only") << QByteArray("[Munkarend]\r\nx=1\r\n") << true;
        QTest::addRow("time stamp only") << QByteArray("[Idobelyeg]\r\n") << true;
    }
    void onlyFilesWithTheProgramsSectionsHoldSettings()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, holds);
        QCOMPARE(HoldsSettings(IniFile::FromBytes(file)), holds);
    }
};

QTEST_GUILESS_MAIN(TstSettingsModel)
#include "tst_settings_model.moc"
