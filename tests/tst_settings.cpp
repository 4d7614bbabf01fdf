#include "events_fixture.h"
#include "window_fixture.h"

#include "settings/inifile.h"
#include "settings/settings_location.h"
#include "settings/settings_page.h"
#include "settings/value_forms.h"
#include "stopwatch/stopwatch_page.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/tshape.h"
#include "yearcal/yeargrid_page.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>

#include <limits>
#include <sys/stat.h>

using namespace kelvator;
using kelvator::testing::Action;
using kelvator::testing::Control;
using kelvator::testing::Field;
using kelvator::testing::MainPage;
using kelvator::testing::MainTabs;
using kelvator::testing::OuterPages;
using kelvator::testing::TrayOf;
using kelvator::testing::Window;

namespace {
QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

const QDateTime kMoment(QDate(2024, 5, 7), QTime(20, 0));

// A window started on a settings file with the given text.
struct Started : testing::Window {
    explicit Started(const QByteArray& file)
        : Window(kMoment, file)
    {
    }
    QString Path() const { return SettingsPath(); }
};
} // namespace

class TstSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }

    void firstSaveMatchesTheGoldenFile()
    {
        QByteArray written;
        {
            Started s{QByteArray()};
            QVERIFY(s.form->SaveSettings());
            written = ReadAll(s.Path());
        }
        // After a deliberate change of the file, `kelvator_screens --first-save` writes a new one.
        const QByteArray golden = ReadAll(QStringLiteral(KELVATOR_TEST_DATA "/first_save.ini"));
        QCOMPARE(QString::fromLatin1(written), QString::fromLatin1(golden));
    }

    void iniKeepsTheLayout()
    {
        IniFile ini =
            IniFile::FromBytes("; a comment\r\n[Other]\r\nx = 1\r\n\r\n[Main]\r\nOld=2\r\n; note\r\n\r\n"
                               "[Tail]\r\nz=3\r\n");
        ini.SetValue(QStringLiteral("main"), QStringLiteral("old"), QStringLiteral("5"));
        ini.SetValue(QStringLiteral("Main"), QStringLiteral("New"), QStringLiteral("6"));
        ini.SetValue(QStringLiteral("Fresh"), QStringLiteral("k"), QStringLiteral("v"));
        QCOMPARE(
            QString::fromLatin1(ini.ToBytes()),
            QStringLiteral("; a comment\r\n[Other]\r\nx = 1\r\n\r\n[Main]\r\nold=5\r\n; note\r\nNew=6\r\n\r\n"
                           "[Tail]\r\nz=3\r\n[Fresh]\r\nk=v\r\n"));
    }

    void iniReadsValues_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("value");
        QTest::addRow("plain") << "k=abc"
                               << "abc";
        QTest::addRow("blanks") << "k =  abc  "
                                << "abc";
        QTest::addRow("double quotes") << "k=\"Szülinap \""
                                       << "Szülinap ";
        QTest::addRow("single quotes") << "k='x'"
                                       << "x";
        QTest::addRow("one quote kept") << "k=\"x"
                                        << "\"x";
        QTest::addRow("equals inside") << "k=a=b"
                                       << "a=b";
        QTest::addRow("key case") << "K=1"
                                  << "1";
        QTest::addRow("long value") << QStringLiteral("k=") + QString(3000, u'a') << QString(2047, u'a');
    }
    void iniReadsValues()
    {
        QFETCH(QString, line);
        QFETCH(QString, value);
        const IniFile ini = IniFile::FromBytes((QStringLiteral("[S]\n") + line + u'\n').toUtf8());
        QCOMPARE(ini.Value(QStringLiteral("s"), QStringLiteral("k")), std::optional<QString>(value));
        QVERIFY(!ini.Value(QStringLiteral("S"), QStringLiteral("missing")));
        QVERIFY(!ini.Value(QStringLiteral("T"), QStringLiteral("k")));
    }

    void wholeValuesOnRequest_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("value");
        QTest::addRow("long value") << QStringLiteral("k=") + QString(3000, u'a') << QString(3000, u'a');
        QTest::addRow("a list of days")
            << QStringLiteral("k=\"") + QStringLiteral("2026.01.05.;").repeated(400) + u'"'
            << QStringLiteral("2026.01.05.;").repeated(400);
        QTest::addRow("short value") << "k=abc"
                                     << "abc";
    }
    void wholeValuesOnRequest()
    {
        QFETCH(QString, line);
        QFETCH(QString, value);
        const IniFile ini =
            IniFile::FromBytes((QStringLiteral("[S]\r\n") + line + QStringLiteral("\r\n")).toUtf8());
        QCOMPARE(ini.Value(QStringLiteral("S"), QStringLiteral("k"), IniFile::kWholeValue),
                 std::optional<QString>(value));
        // Every other read keeps its limit.
        QCOMPARE(ini.Value(QStringLiteral("S"), QStringLiteral("k"))->size(),
                 qMin<qsizetype>(value.size(), IniFile::kMaxValueLength));
        // Written and read back, not a character lost.
        IniFile copy;
        copy.SetValue(QStringLiteral("S"), QStringLiteral("k"), value);
        QCOMPARE(IniFile::FromBytes(copy.ToBytes())
                     .Value(QStringLiteral("S"), QStringLiteral("k"), IniFile::kWholeValue),
                 std::optional<QString>(value));
    }

    void encodings()
    {
        // Windows-1250 bytes for "Stopper óra" and "ő".
        const IniFile cp = IniFile::FromBytes("[S]\r\nk=Stopper \xF3ra \xF5\r\n");
        QCOMPARE(*cp.Value(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("Stopper óra ő"));
        const IniFile utf = IniFile::FromBytes(QStringLiteral("[S]\nk=Stopper óra ő\n").toUtf8());
        QCOMPARE(*utf.Value(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("Stopper óra ő"));

        IniFile ini;
        ini.SetValue(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("Árvíztűrő €"));
        QCOMPARE(ini.ToBytes(), QByteArray("[S]\r\nk=\xC1rv\xEDzt\xFBr\xF5 \x80\r\n"));
        // A character the code page cannot hold makes the whole file UTF-8, losing nothing.
        ini.SetValue(QStringLiteral("S"), QStringLiteral("k2"), QStringLiteral("日本"));
        const IniFile back = IniFile::FromBytes(ini.ToBytes());
        QCOMPARE(*back.Value(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("Árvíztűrő €"));
        QCOMPARE(*back.Value(QStringLiteral("S"), QStringLiteral("k2")), QStringLiteral("日本"));
    }

    void integers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::addRow("decimal") << "42" << 42;
        QTest::addRow("negative") << "-16777201" << -16777201;
        QTest::addRow("hex") << "0x1F" << 31;
        QTest::addRow("hex capital") << "0X1f" << 31;
        QTest::addRow("bare 0x") << "0x" << 7;
        QTest::addRow("word") << "yes" << 7;
        QTest::addRow("empty") << "" << 7;
        QTest::addRow("fraction") << "1.5" << 7;
    }
    void integers()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(ReadIntValue(text, 7), value);
    }

    void booleans()
    {
        QCOMPARE(ReadBoolValue(QStringLiteral("2"), false), true);
        QCOMPARE(ReadBoolValue(QStringLiteral("0"), true), false);
        QCOMPARE(ReadBoolValue(QStringLiteral("yes"), false), false);
        QCOMPARE(ReadBoolValue(QStringLiteral("yes"), true), true);
        QCOMPARE(ReadBoolValue(std::nullopt, true), true);
    }

    void dateTimes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("moment");
        QTest::addRow("our form") << "2024.05.07. 20:15:30"
                                  << QDateTime(QDate(2024, 5, 7), QTime(20, 15, 30));
        QTest::addRow("midnight") << "2024.05.07." << QDateTime(QDate(2024, 5, 7), QTime(0, 0));
        QTest::addRow("regional") << "2024. 05. 07. 8:05:09" << QDateTime(QDate(2024, 5, 7), QTime(8, 5, 9));
        QTest::addRow("regional date") << "2024. 05. 07." << QDateTime(QDate(2024, 5, 7), QTime(0, 0));
        QTest::addRow("ISO") << "2024-05-07 20:15:30" << QDateTime(QDate(2024, 5, 7), QTime(20, 15, 30));
        QTest::addRow("ISO T") << "2024-05-07T20:15" << QDateTime(QDate(2024, 5, 7), QTime(20, 15));
        QTest::addRow("year 1") << "0001.01.01." << QDateTime(QDate(1, 1, 1), QTime(0, 0));
        QTest::addRow("no such day") << "2023.02.29." << QDateTime();
        QTest::addRow("no such hour") << "2023.02.01. 24:00:00" << QDateTime();
        QTest::addRow("garbage") << "tegnap" << QDateTime();
        QTest::addRow("empty") << "" << QDateTime();
    }
    void dateTimes()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, moment);
        const std::optional<TDateTime> parsed = ParseDateTimeText(text);
        QCOMPARE(parsed.has_value(), moment.isValid());
        if (parsed)
            QCOMPARE(ToQDateTime(*parsed), moment);
    }

    void dateTimeTextDropsFractions()
    {
        const TDateTime t = ToDateTime(QDate(2024, 5, 7), QTime(10, 15, 30, 700));
        QCOMPARE(DateTimeText(t), QStringLiteral("2024.05.07. 10:15:30"));
        QCOMPARE(DateTimeText(ToDateTime(QDate(2024, 5, 7))), QStringLiteral("2024.05.07."));
        QCOMPARE(ToQDateTime(*ParseDateTimeText(DateTimeText(t))),
                 QDateTime(QDate(2024, 5, 7), QTime(10, 15, 30)));
    }

    void dateTimeTextKeepsWallTimeInADaylightSavingGap()
    {
        // 02:30 does not exist in Budapest on 28 March 2027; a stored moment must not move.
        const QByteArray saved = qgetenv("TZ");
        const bool had = qEnvironmentVariableIsSet("TZ");
        qputenv("TZ", "Europe/Budapest");
        const TDateTime t = ToDateTime(QDate(2027, 3, 28), QTime(2, 30));
        const QString text = DateTimeText(t);
        if (had)
            qputenv("TZ", saved);
        else
            qunsetenv("TZ");
        QCOMPARE(text, QStringLiteral("2027.03.28. 02:30:00"));
        QCOMPARE(*ParseDateTimeText(text), t);
    }

    void palette()
    {
        QCOMPARE(PaletteCodeOfColour(0x00FF0000), 7);
        QCOMPARE(PaletteCodeOfColour(0x00123456), -1);
        QCOMPARE(ColourOfPaletteCode(5), quint32(33023));
        QCOMPARE(ColourOfPaletteCode(-1), kButtonFace);
        QCOMPARE(ColourOfPaletteCode(10), kButtonFace);
        MonthColours m = ParseMonthColours(QStringLiteral("7-x0"));
        QCOMPARE(m[0], quint32(0x00FF0000));
        QCOMPARE(m[1], kButtonFace);
        QCOMPARE(m[2], kButtonFace); // a foreign character is no colour
        QCOMPARE(m[3], quint32(0x000000FF));
        QCOMPARE(m[30], kButtonFace); // a short string leaves the rest uncoloured
        QCOMPARE(MonthColoursText(m), QStringLiteral("7--0") + QString(27, u'-'));
    }

    void loadingEdgeCases()
    {
        Started s(QByteArrayLiteral("[Beallitasok]\r\n"
                                    "ListBox_FizetesnapDatuma=5\r\n"
                                    "RadioGroup_HetvegiFizetes=7\r\n"
                                    "RadioGroup_MutatosOraKelvatorMegjelenites=-5\r\n"
                                    "CheckBox_12OrasKijelzes=yes\r\n"
                                    "CheckBox_IconAzOraMelle=2\r\n"
                                    "Edit_HaviFizetes= \"350000\" \r\n"
                                    "[Esemenyek]\r\n"
                                    "dtEsemeny1=2024.12.24.\r\n"
                                    "dtEsemeny2=nem dátum\r\n"
                                    "Label_EsemenyMegnevezes1=\"Karácsony \"\r\n"
                                    "[Main]\r\n"
                                    "PageControl_Main=0x3\r\n"
                                    "[Stopper]\r\n"
                                    "ListBox_StopperItemsCount=2\r\n"
                                    "ListBox_StopperItems0=Start: 8:00:00\r\n"
                                    "ListBox_StopperItems1=R1: 0:01:23\r\n"
                                    "ListBox_StopperItems2=Stop: régi sor\r\n"
                                    "[EvesNaptar]\r\n"
                                    "sNapokSzinei02=----------------------------777\r\n"));
        TForm_Main& f = *s.form;
        QCOMPARE(Control<QListWidget>(f, "ListBox_FizetesnapDatuma")->currentItem()->text(),
                 QStringLiteral("6"));
        QCOMPARE(Control<TRadioGroup>(f, "RadioGroup_HetvegiFizetes")->itemIndex(), 2);
        QCOMPARE(Control<TRadioGroup>(f, "RadioGroup_MutatosOraKelvatorMegjelenites")->itemIndex(), -1);
        QVERIFY(Control<QCheckBox>(f, "CheckBox_12OrasKijelzes")->isChecked());
        QVERIFY(Control<QCheckBox>(f, "CheckBox_IconAzOraMelle")->isChecked());
        QCOMPARE(Field(f, "Edit_HaviFizetes")->text(), QStringLiteral("350000"));
        QCOMPARE(ToQDateTime(testing::EventOf(f, 1).moment), QDateTime(QDate(2024, 12, 24), QTime(0, 0)));
        QCOMPARE(ToQDateTime(testing::EventOf(f, 2).moment), kMoment);
        QCOMPARE(ToQDateTime(testing::EventOf(f, 6).moment), kMoment);
        QCOMPARE(testing::EventOf(f, 1).name, QStringLiteral("Karácsony "));
        QCOMPARE(testing::EventOf(f, 2).name, QStringLiteral("A program első elindítása"));
        QCOMPARE(MainTabs(f)->currentWidget(), f.findChild<QWidget*>(QStringLiteral("TabSheet_Datumok")));
        const auto* laps = f.findChild<QListWidget*>(QStringLiteral("ListBox_Stopper"));
        QCOMPARE(laps->count(), 2);
        QCOMPARE(laps->item(1)->text(), QStringLiteral("R1: 0:01:23"));
        QCOMPARE(f.CollectSettings().dayColours[1][28], quint32(0x00FF0000));
        QCOMPARE(f.CollectSettings().dayColours[1][27], kButtonFace);
        QCOMPARE(f.findChild<QLineEdit*>(QStringLiteral("Edit_Stopper"))->text(),
                 QStringLiteral("Stopper óra"));
        QCOMPARE(f.findChild<TMonthCalendar*>(QStringLiteral("MonthCalendar_Datumok1"))->selectedDate(),
                 kMoment.date());
        QCOMPARE(f.findChild<QComboBox*>(QStringLiteral("ComboBox_DatumokLepeskoz2"))->currentIndex(), 0);
    }

    void shorterLapListLeavesOldLinesInTheFile()
    {
        Started s(QByteArrayLiteral("[Stopper]\r\nListBox_StopperItemsCount=3\r\nListBox_StopperItems0=a\r\n"
                                    "ListBox_StopperItems1=b\r\nListBox_StopperItems2=c\r\n"));
        delete s.form->findChild<QListWidget*>(QStringLiteral("ListBox_Stopper"))->takeItem(2);
        QVERIFY(s.form->SaveSettings());
        const IniFile ini = IniFile::Load(s.Path());
        QCOMPARE(*ini.Value(QStringLiteral("Stopper"), QStringLiteral("ListBox_StopperItemsCount")),
                 QStringLiteral("2"));
        QCOMPARE(*ini.Value(QStringLiteral("Stopper"), QStringLiteral("ListBox_StopperItems2")),
                 QStringLiteral("c"));
    }

    void foreignLinesSurviveASave()
    {
        Started s(QByteArrayLiteral(
            "; kézzel írt megjegyzés\r\n[Sajat]\r\nvalami=1\r\n[Main]\r\nPageControl_Main=1\r\n"
            "RegiKulcs=x\r\n"));
        QVERIFY(s.form->SaveSettings());
        const QString text = QString::fromUtf8(ReadAll(s.Path()).replace('\xE9', "é").replace('\xED', "í"));
        QVERIFY(
            text.startsWith(QStringLiteral("; kézzel írt megjegyzés\r\n[Sajat]\r\nvalami=1\r\n[Main]\r\n")));
        QVERIFY(text.contains(QStringLiteral("RegiKulcs=x\r\n")));
    }

    void roundTripKeepsEverything()
    {
        QByteArray first;
        QByteArray second;
        {
            Started s{QByteArray()};
            TForm_Main& f = *s.form;
            testing::ChangeEvent(f, 3,
                                 [](EventSettings& e) { e.name = QStringLiteral("Nyaralás – Őrség 日本"); });
            testing::ChangeEvent(f, 3, [](EventSettings& e) {
                e.moment = ToDateTime(QDate(2025, 7, 1), QTime(6, 30, 15, 900));
            });
            testing::ChangeEvent(f, 5, [](EventSettings& e) { e.visible = false; });
            auto* yearGrid = f.findChild<YearGridPage*>(QStringLiteral("TabSheet_EvesNaptar"));
            Settings coloured;
            yearGrid->CollectSettings(coloured);
            coloured.dayColours[0][0] = 0x00004080;
            yearGrid->ShowSettings(coloured);
            f.findChild<TShape*>(QStringLiteral("Shape_EvesNaptarAktualisSzin"))->setBrushColor(0x00C080FF);
            auto* stopwatch = f.findChild<StopwatchPage*>(QStringLiteral("TabSheet_Stopper"));
            Settings stored;
            stopwatch->CollectSettings(stored);
            stored.laps.append(QStringLiteral("Start: Du. 1:05:09"));
            stored.stopwatchState = 1;
            stopwatch->ShowSettings(stored);
            f.findChild<QComboBox*>(QStringLiteral("ComboBox_DatumokLepeskoz1"))->setCurrentIndex(98);
            f.findChild<TMonthCalendar*>(QStringLiteral("MonthCalendar_Datumok2"))
                ->setSelectedDate(QDate(1999, 12, 31));
            Field(f, "Edit_HaviFizetes")->setText(QStringLiteral("-12"));
            f.findChild<QTabWidget*>(QStringLiteral("PageControl_NagyOraTipus"))->setCurrentIndex(0);
            QVERIFY(f.SaveSettings());
            first = ReadAll(s.Path());
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kelvator.ini"));
        WriteAll(path, first);
        {
            testing::FakePlatform fake;
            fake.now = kMoment;
            TForm_Main f(fake.Make(path));
            QCOMPARE(testing::EventOf(f, 3).name, QStringLiteral("Nyaralás – Őrség 日本"));
            QCOMPARE(ToQDateTime(testing::EventOf(f, 3).moment),
                     QDateTime(QDate(2025, 7, 1), QTime(6, 30, 15)));
            QVERIFY(!testing::EventOf(f, 5).visible);
            QCOMPARE(f.CollectSettings().dayColours[0][0], quint32(0x00004080));
            QCOMPARE(f.findChild<TShape*>(QStringLiteral("Shape_EvesNaptarAktualisSzin"))->brushColor(),
                     quint32(0x00C080FF));
            Settings stored;
            f.findChild<StopwatchPage*>(QStringLiteral("TabSheet_Stopper"))->CollectSettings(stored);
            QCOMPARE(stored.stopwatchState, 1);
            QCOMPARE(f.findChild<QComboBox*>(QStringLiteral("ComboBox_DatumokLepeskoz1"))->currentText(),
                     QStringLiteral("99"));
            QCOMPARE(f.findChild<TMonthCalendar*>(QStringLiteral("MonthCalendar_Datumok2"))->selectedDate(),
                     QDate(1999, 12, 31));
            QCOMPARE(Field(f, "Edit_HaviFizetes")->text(), QStringLiteral("-12"));
            QCOMPARE(f.findChild<QTabWidget*>(QStringLiteral("PageControl_NagyOraTipus"))->currentIndex(), 0);
            QVERIFY(f.SaveSettings());
            second = ReadAll(path);
        }
        QCOMPARE(second, first);
    }

    void unusableValuesFallBackToDefaults_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addRow("hour 25") << QByteArray("Edit_MIKOra=25") << "Edit_MIKOra"
                                 << "07";
        QTest::addRow("minute word") << QByteArray("Edit_MIVPerc=fél") << "Edit_MIVPerc"
                                     << "00";
        QTest::addRow("salary empty") << QByteArray("Edit_HaviFizetes=") << "Edit_HaviFizetes"
                                      << "0";
        QTest::addRow("break length") << QByteArray("Edit_SzunetHossz2=sok") << "Edit_SzunetHossz2"
                                      << "30";
        QTest::addRow("end before start") << QByteArray("Edit_MIKOra=17\r\nEdit_MIKPerc=30") << "Edit_MIKOra"
                                          << "07";
        QTest::addRow("good value kept") << QByteArray("Edit_MIKOra=6") << "Edit_MIKOra"
                                         << "6";
    }
    void unusableValuesFallBackToDefaults()
    {
        QFETCH(QByteArray, lines);
        QFETCH(QString, field);
        QFETCH(QString, text);
        Started s("[Beallitasok]\r\n" + lines + "\r\n");
        QCOMPARE(s.form->findChild<QLineEdit*>(field)->text(), text);
    }

    void damagedFilesNeverStopTheProgram()
    {
        QByteArray base;
        {
            Started s{QByteArray()};
            QVERIFY(s.form->SaveSettings());
            base = ReadAll(s.Path());
        }
        QRandomGenerator rng(20241208);
        for (int round = 0; round < 60; ++round) {
            QByteArray damaged = base;
            const int edits = 1 + rng.bounded(40);
            for (int e = 0; e < edits && !damaged.isEmpty(); ++e) {
                const int at = rng.bounded(damaged.size());
                switch (rng.bounded(4)) {
                case 0:
                    damaged[at] = static_cast<char>(rng.bounded(256));
                    break;
                case 1:
                    damaged.remove(at, rng.bounded(20));
                    break;
                case 2:
                    damaged.insert(at, QByteArray(rng.bounded(1, 5), "=[]\"\n-0x9"[rng.bounded(10)]));
                    break;
                default:
                    damaged.insert(at, QByteArray::number(rng.bounded(-100000, 100000)));
                }
            }
            Started s(damaged);
            s.form->Timer1Timer();
            QVERIFY(s.form->SaveSettings());
            const QByteArray once = ReadAll(s.Path());
            s.form->LoadSettings();
            QVERIFY(s.form->SaveSettings());
            QCOMPARE(ReadAll(s.Path()), once);
        }
    }

    void unwritableFileKeepsThePageOpen()
    {
        QTemporaryDir dir;
        WriteAll(dir.filePath(QStringLiteral("blocker")), "not a folder");
        const QString path = dir.filePath(QStringLiteral("blocker/kelvator.ini"));
        testing::FakePlatform fake;
        TForm_Main f(fake.Make(path));
        f.Menu_BeallitasokClick();
        Control<QPushButton>(f, "Button_BeallitasokOK")->click();
        QCOMPARE(fake.errors, QStringList{QStringLiteral("Unable to write to ") + path});
        QCOMPARE(OuterPages(f)->currentWidget(), Control<QWidget>(f, "TabSheet_Beallitasok"));
    }

    void okChecks_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("payday");
        QTest::addColumn<QString>("error");
        QTest::addRow("equal times") << "07:00"
                                     << "07:00" << 0
                                     << "A kelvator vége legyen nagyobb,\r\nmint a kelvator kezdete.";
        QTest::addRow("one minute") << "07:00"
                                    << "07:01" << 0 << "";
        QTest::addRow("no payday rule")
            << "07:00"
            << "16:00" << -1 << "Be kell jelölni, mi történik,\r\nha a fizetésnap hétvégére esik.";
        QTest::addRow("empty minute") << "07:"
                                      << "16:00" << 0 << "'' is not a valid integer value";
    }
    void okChecks()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(int, payday);
        QFETCH(QString, error);
        Window w;
        TForm_Main& f = *w.form;
        MainTabs(f)->setCurrentWidget(f.findChild<QWidget*>(QStringLiteral("TabSheet_Datumok")));
        f.Menu_BeallitasokClick();
        Field(f, "Edit_MIKOra")->setText(start.section(u':', 0, 0));
        Field(f, "Edit_MIKPerc")->setText(start.section(u':', 1, 1));
        Field(f, "Edit_MIVOra")->setText(end.section(u':', 0, 0));
        Field(f, "Edit_MIVPerc")->setText(end.section(u':', 1, 1));
        Control<TRadioGroup>(f, "RadioGroup_HetvegiFizetes")->setItemIndex(payday);
        Control<QPushButton>(f, "Button_BeallitasokOK")->click();
        if (error.isEmpty()) {
            QVERIFY(w.fake.errors.isEmpty());
            QCOMPARE(OuterPages(f)->currentWidget(), MainPage(f));
            QCOMPARE(MainTabs(f)->currentWidget(), f.findChild<QWidget*>(QStringLiteral("TabSheet_Datumok")));
            QVERIFY(Action(f, "Menu_Beallitasok")->isEnabled());
            QVERIFY(QFile::exists(w.SettingsPath()));
        } else {
            QCOMPARE(w.fake.errors, QStringList{error});
            QCOMPARE(OuterPages(f)->currentWidget(), Control<QWidget>(f, "TabSheet_Beallitasok"));
            QVERIFY(!Action(f, "Menu_Beallitasok")->isEnabled());
            QVERIFY(!QFile::exists(w.SettingsPath()));
        }
    }

    void fieldChecksOnLeaving_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        const QString hour = QStringLiteral("A beírt óra érték hibás.\r\n0–23 a jó érték.");
        const QString minute = QStringLiteral("A beírt perc érték hibás.\r\n0–59 a jó érték.");
        QTest::addRow("hour 24") << "Edit_MIKOra"
                                 << "24" << hour;
        QTest::addRow("hour 23") << "Edit_MIKOra"
                                 << "23"
                                 << "";
        QTest::addRow("hour -1") << "Edit_MIVOra"
                                 << "-1" << hour;
        QTest::addRow("hour empty") << "Edit_SzunetOra2"
                                    << "" << hour;
        QTest::addRow("minute 60") << "Edit_MIKPerc"
                                   << "60" << minute;
        QTest::addRow("minute 59") << "Edit_MIVPerc"
                                   << "59"
                                   << "";
        QTest::addRow("minute 7") << "Edit_SzunetPerc3"
                                  << "7"
                                  << "";
        QTest::addRow("salary empty") << "Edit_HaviFizetes"
                                      << ""
                                      << "A havi fizetés hibás.";
        QTest::addRow("salary 0") << "Edit_HaviFizetes"
                                  << "0"
                                  << "";
        QTest::addRow("salary negative") << "Edit_HaviFizetes"
                                         << "-500"
                                         << "";
        QTest::addRow("break length 99") << "Edit_SzunetHossz1"
                                         << "99"
                                         << "";
        QTest::addRow("break length empty") << "Edit_SzunetHossz1"
                                            << ""
                                            << "";
    }
    void fieldChecksOnLeaving()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, error);
        Window w;
        w.form->show();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        w.form->Menu_BeallitasokClick();
        auto* edit = w.form->findChild<QLineEdit*>(field);
        edit->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), edit);
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Tab);
        if (error.isEmpty()) {
            QVERIFY(w.fake.errors.isEmpty());
            QCOMPARE(edit->text(), text);
            QVERIFY(QApplication::focusWidget() != edit);
        } else {
            QCOMPARE(w.fake.errors, QStringList{error});
            QVERIFY(edit->text().isEmpty());
            QCOMPARE(QApplication::focusWidget(), edit);
        }
    }

    void tabOrder_data()
    {
        QTest::addColumn<int>("chosen"); // the item chosen in each radio group
        QTest::addRow("first items") << 0;
        QTest::addRow("last items") << 2;
    }
    void tabOrder()
    {
        QFETCH(int, chosen);
        Window w;
        TForm_Main& f = *w.form;
        for (TRadioGroup* group : {Control<TRadioGroup>(f, "RadioGroup_HetvegiFizetes"),
                                   Control<TRadioGroup>(f, "RadioGroup_MutatosOraKelvatorMegjelenites"),
                                   Control<TRadioGroup>(f, "RadioGroup_HangjelzesKelvatorVegen")})
            group->setItemIndex(chosen);
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.Menu_BeallitasokClick();
        QTRY_COMPARE(QApplication::focusWidget(), Control<QPushButton>(f, "Button_BeallitasokOK"));
        const QList<QWidget*> expected{
            Field(f, "Edit_MIKOra"),
            Field(f, "Edit_MIKPerc"),
            Field(f, "Edit_MIVOra"),
            Field(f, "Edit_MIVPerc"),
            Control<QListWidget>(f, "ListBox_FizetesnapDatuma"),
            Control<TRadioGroup>(f, "RadioGroup_HetvegiFizetes")->button(chosen),
            Field(f, "Edit_HaviFizetes"),
            Control<QCheckBox>(f, "CheckBox_IconAzOraMelle"),
            Control<QCheckBox>(f, "CheckBox_IconkentIndul"),
            Control<TRadioGroup>(f, "RadioGroup_MutatosOraKelvatorMegjelenites")->button(chosen),
            Control<QCheckBox>(f, "CheckBox_12OrasKijelzes"),
            Control<TRadioGroup>(f, "RadioGroup_HangjelzesKelvatorVegen")->button(chosen),
            Control<QPushButton>(f, "Button_BeallitasokMIVFile"),
            Control<QPushButton>(f, "Button_BeallitasokMIVHangStop"),
            Control<QCheckBox>(f, "CheckBox_BeallitasOrankentiHangjelzes"),
            Control<QCheckBox>(f, "CheckBox_Szunet1"),
            Field(f, "Edit_SzunetOra1"),
            Field(f, "Edit_SzunetPerc1"),
            Field(f, "Edit_SzunetHossz1"),
            Control<QCheckBox>(f, "CheckBox_Szunet2"),
            Field(f, "Edit_SzunetOra2"),
            Field(f, "Edit_SzunetPerc2"),
            Field(f, "Edit_SzunetHossz2"),
            Control<QCheckBox>(f, "CheckBox_Szunet3"),
            Field(f, "Edit_SzunetOra3"),
            Field(f, "Edit_SzunetPerc3"),
            Field(f, "Edit_SzunetHossz3"),
            Control<QPushButton>(f, "Button_Munkarend"),
            Control<QPushButton>(f, "Button_BeallitasokOK")};
        auto name = [](const QWidget* w) {
            return w ? w->parentWidget()->objectName() + u'/' + w->objectName() + u'/' +
                           (qobject_cast<const QAbstractButton*>(w)
                                ? qobject_cast<const QAbstractButton*>(w)->text()
                                : QString())
                     : QStringLiteral("none");
        };
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(name(QApplication::focusWidget()), name(next));
        }
        // Backwards the same way.
        for (qsizetype i = expected.size() - 2; i >= 0; --i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(name(QApplication::focusWidget()), name(expected[i]));
        }
        // Arrow keys move between the items of a group and choose; Tab leaves it from there.
        TRadioGroup* payday = Control<TRadioGroup>(f, "RadioGroup_HetvegiFizetes");
        payday->button(chosen)->setFocus();
        QTest::keyClick(payday->button(chosen), chosen == 0 ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(payday->itemIndex(), 1);
        QCOMPARE(QApplication::focusWidget(), payday->button(1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Field(f, "Edit_HaviFizetes"));
        QVERIFY(w.fake.errors.isEmpty());
    }

    void closingWithAnEmptiedFieldSavesItsLastGoodValue()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kelvator.ini"));
        {
            testing::FakePlatform fake;
            TForm_Main f(fake.Make(path));
            Field(f, "Edit_MIVOra")->setText(QStringLiteral("15"));
            f.Menu_BeallitasokClick();
            Control<QPushButton>(f, "Button_BeallitasokOK")->click(); // 15 is now the checked value
            f.Menu_BeallitasokClick();
            Field(f, "Edit_MIVOra")->clear();
            Field(f, "Edit_MIKPerc")->setText(QStringLiteral("75"));
        }
        const IniFile ini = IniFile::Load(path);
        QCOMPARE(*ini.Value(QStringLiteral("Beallitasok"), QStringLiteral("Edit_MIVOra")),
                 QStringLiteral("15"));
        QCOMPARE(*ini.Value(QStringLiteral("Beallitasok"), QStringLiteral("Edit_MIKPerc")),
                 QStringLiteral("00"));
    }

    void overLongValuesTakeTheDefault_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("fallback");
        QTest::addRow("salary of eight digits") << "Edit_HaviFizetes"
                                                << "12345678"
                                                << "0";
        QTest::addRow("hour of three digits") << "Edit_MIVOra"
                                              << "175"
                                              << "16";
        QTest::addRow("break of three digits") << "Edit_SzunetHossz1"
                                               << "120"
                                               << "30";
        QTest::addRow("salary that fits") << "Edit_HaviFizetes"
                                          << "1234567"
                                          << "1234567";
    }
    void overLongValuesTakeTheDefault()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, fallback);
        Started s(
            (QStringLiteral("[Beallitasok]\r\n") + key + u'=' + value + QStringLiteral("\r\n")).toLatin1());
        QCOMPARE(s.form->findChild<QLineEdit*>(key)->text(), fallback);
        QVERIFY(s.form->SaveSettings());
        QCOMPARE(*IniFile::Load(s.Path()).Value(QStringLiteral("Beallitasok"), key), fallback);
    }

    void unicodeAndOldMacFilesAreRead_data()
    {
        const QString text =
            QStringLiteral("; megjegyzés\n[Esemenyek]\nLabel_EsemenyMegnevezes1=Őszi szünet – 日本\n"
                           "[Beallitasok]\nEdit_MIKOra=06\nEdit_HaviFizetes=350000\n");
        QTest::addColumn<QByteArray>("file");
        const QString crlf = QString(text).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        QByteArray le("\xFF\xFE");
        le.append(reinterpret_cast<const char*>(crlf.utf16()), crlf.size() * 2);
        QTest::addRow("UTF-16 LE") << le;
        QByteArray be("\xFE\xFF");
        for (QChar c : text) {
            be.append(static_cast<char>(c.unicode() >> 8));
            be.append(static_cast<char>(c.unicode() & 0xFF));
        }
        QTest::addRow("UTF-16 BE") << be;
        QTest::addRow("CR line ends") << ("\xEF\xBB\xBF" + text.toUtf8().replace('\n', '\r'));
    }
    void unicodeAndOldMacFilesAreRead()
    {
        QFETCH(QByteArray, file);
        for (int run = 0; run < 2; ++run) { // as written by the user, then as saved by the program
            Started s(file);
            QVERIFY(s.fake.errors.isEmpty());
            QCOMPARE(testing::EventOf(*s.form, 1).name, QStringLiteral("Őszi szünet – 日本"));
            QCOMPARE(Field(*s.form, "Edit_MIKOra")->text(), QStringLiteral("06"));
            QCOMPARE(Field(*s.form, "Edit_HaviFizetes")->text(), QStringLiteral("350000"));
            QVERIFY(s.form->SaveSettings());
            const QByteArray saved = ReadAll(s.Path());
            QCOMPARE(saved.left(2), file.left(2)); // the file keeps its form
            file = saved;
        }
    }

    void aResetFileIsCopiedFirst()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kelvator.ini"));
        const QString backup = path + QStringLiteral(".bak");
        for (const QByteArray& damaged :
             {QByteArray("\x00\x01garbage\x00\xFF", 12), QByteArray("second one\r\n")}) {
            WriteAll(path, damaged);
            testing::FakePlatform fake;
            TForm_Main f(fake.Make(path));
            QCOMPARE(fake.errors.size(), 1);
            QVERIFY(fake.errors[0].contains(backup));
            QCOMPARE(ReadAll(backup), damaged); // one copy, replaced by the next
            QCOMPARE(Field(f, "Edit_MIKOra")->text(), QStringLiteral("07"));
        }
        // A file of the program's own, or one of comments only, is not copied.
        QFile::remove(backup);
        for (const QByteArray& fine :
             {QByteArray("[Main]\r\nPageControl_Main=1\r\n"), QByteArray("; csak megjegyzés\r\n")}) {
            WriteAll(path, fine);
            testing::FakePlatform fake;
            TForm_Main f(fake.Make(path));
            QVERIFY(fake.errors.isEmpty());
            QVERIFY(!QFile::exists(backup));
        }
    }

    void encodingIsDecidedLineByLine_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("value");
        QTest::addRow("Windows-1250 that is valid UTF-8")
            << QByteArray("k=AUT\xD3\x96VIZSGA") << QStringLiteral("AUTÓ–VIZSGA");
        QTest::addRow("UTF-8 among Windows-1250 lines")
            << QByteArray("k=\xC5\x90rs\xC3\xA9g \xE2\x80\x93 x") << QStringLiteral("Őrség – x");
        QTest::addRow("bytes Windows-1250 lacks")
            << QByteArray("k=a\x81\x98z") << QStringLiteral("a\uFFFD\uFFFDz");
        QTest::addRow("CJK in UTF-8") << QByteArray("k=\xE6\x97\xA5\xE6\x9C\xAC") << QStringLiteral("日本");
    }
    void encodingIsDecidedLineByLine()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, value);
        const QByteArray file = "[S]\r\nk0=Stopper \xF3ra\r\n" + line + "\r\n";
        IniFile ini = IniFile::FromBytes(file);
        QCOMPARE(*ini.Value(QStringLiteral("S"), QStringLiteral("k0")), QStringLiteral("Stopper óra"));
        QCOMPARE(*ini.Value(QStringLiteral("S"), QStringLiteral("k")), value);

        // Untouched and rewritten with the same text, the lines keep their bytes.
        ini.SetValue(QStringLiteral("S"), QStringLiteral("k"), value);
        ini.SetValue(QStringLiteral("S"), QStringLiteral("n"), QStringLiteral("új"));
        QCOMPARE(ini.ToBytes(), file + "n=\xFAj\r\n");

        // A value the code page cannot hold makes the file UTF-8, marked so; every line still
        // reads the same.
        ini.SetValue(QStringLiteral("S"), QStringLiteral("n"), QStringLiteral("Ελλάδα"));
        const QByteArray utf8 = ini.ToBytes();
        QVERIFY(utf8.startsWith("\xEF\xBB\xBF[S]\r\nk0=Stopper \xF3ra\r\n"));
        const IniFile back = IniFile::FromBytes(utf8);
        QCOMPARE(*back.Value(QStringLiteral("S"), QStringLiteral("k0")), QStringLiteral("Stopper óra"));
        QCOMPARE(*back.Value(QStringLiteral("S"), QStringLiteral("k")), value);
        QCOMPARE(*back.Value(QStringLiteral("S"), QStringLiteral("n")), QStringLiteral("Ελλάδα"));
        QCOMPARE(back.ToBytes(), utf8);
    }

    void foreignLinesKeepTheirBytes()
    {
        const QByteArray foreign = "; \x81\x83\x88 idegen sor \xC5\x90\r\n[Sajat]\r\nx=\x90\x98\r\n";
        Started s(foreign + "[Esemenyek]\r\nLabel_EsemenyMegnevezes2=\xC5\x90rs\xC3\xA9g\r\n");
        QCOMPARE(testing::EventOf(*s.form, 2).name, QStringLiteral("Őrség"));
        testing::ChangeEvent(*s.form, 1,
                             [](EventSettings& e) { e.name = QStringLiteral("Καλά Χριστούγεννα"); });
        QVERIFY(s.form->SaveSettings());
        const QByteArray saved = ReadAll(s.Path());
        QVERIFY(saved.startsWith(QByteArray(QByteArray("\xEF\xBB\xBF") + foreign)));
        Started again(saved);
        QCOMPARE(testing::EventOf(*again.form, 1).name, QStringLiteral("Καλά Χριστούγεννα"));
        QCOMPARE(testing::EventOf(*again.form, 2).name, QStringLiteral("Őrség"));
        QVERIFY(again.form->SaveSettings());
        QCOMPARE(ReadAll(again.Path()), saved);
    }

    void onlyRegularFilesOfSaneSizeAreRead_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addRow("FIFO") << "fifo";
        QTest::addRow("huge sparse file") << "huge";
        QTest::addRow("folder") << "folder";
    }
    void onlyRegularFilesOfSaneSizeAreRead()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kelvator.ini"));
        if (kind == u"fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == u"huge") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[Beallitasok]\r\nEdit_MIKOra=06\r\n");
            QVERIFY(f.resize(kMaxSettingsFileSize * 16));
        } else {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("kelvator.ini")));
        }
        const QFileInfo before(path);
        testing::FakePlatform fake;
        TForm_Main f(fake.Make(path));
        QCOMPARE(fake.errors.size(), 1); // said once
        QVERIFY(fake.errors[0].contains(path));
        QCOMPARE(Field(f, "Edit_MIKOra")->text(), QStringLiteral("07"));
        f.Menu_BeallitasokClick();
        Control<QPushButton>(f, "Button_BeallitasokOK")->click(); // leaves the page without writing
        QCOMPARE(OuterPages(f)->currentWidget(), MainPage(f));
        QVERIFY(f.SaveSettings());
        QCOMPARE(fake.errors.size(), 1);
        const QFileInfo after(path);
        QCOMPARE(after.isFile(), before.isFile());
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after.lastModified(), before.lastModified());
    }

    void settingsLocation_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("carryFrom");
        const QString cfg = QStringLiteral("/home/u/.config/kelvator/kelvator.ini");
        QTest::addRow("own folder") << "/home/u/kv/build/kelvator" << true << QStringList{}
                                    << "/home/u/kv/build/kelvator.ini"
                                    << "";
        QTest::addRow("read-only folder, file beside")
            << "/home/u/kv/kelvator" << false << QStringList{QStringLiteral("/home/u/kv/kelvator.ini")} << cfg
            << "/home/u/kv/kelvator.ini";
        QTest::addRow("read-only folder, both files")
            << "/home/u/kv/kelvator" << false << QStringList{QStringLiteral("/home/u/kv/kelvator.ini"), cfg}
            << cfg << "";
        QTest::addRow("read-only folder, no file")
            << "/home/u/kv/kelvator" << false << QStringList{} << cfg << "";
        QTest::addRow("installed by root under /opt")
            << "/opt/kv/bin/kelvator" << true << QStringList{} << cfg << "";
        QTest::addRow("installed package") << "/usr/bin/kelvator" << true << QStringList{} << cfg << "";
        QTest::addRow("user's bin folder")
            << "/home/u/.local/bin/kelvator" << true << QStringList{} << cfg << "";
        QTest::addRow("build folder named like a prefix")
            << "/home/u/usr/kelvator" << true << QStringList{} << "/home/u/usr/kelvator.ini"
            << "";
    }
    void settingsLocation()
    {
        QFETCH(QString, program);
        QFETCH(bool, writable);
        QFETCH(QStringList, existing);
        QFETCH(QString, path);
        QFETCH(QString, carryFrom);
        SettingsPlaces places;
        places.programPath = program;
        places.configFolder = QStringLiteral("/home/u/.config/kelvator");
        places.folderWritable = [&](const QString&) { return writable; };
        places.fileExists = [&](const QString& file) { return existing.contains(file); };
        const SettingsLocation where = ChooseSettingsLocation(places);
        QCOMPARE(where.path, path);
        QCOMPARE(where.carryFrom, carryFrom);
    }

    void startInTrayFlagFollowsTheSetting()
    {
        Started s(QByteArrayLiteral("[Beallitasok]\r\nCheckBox_IconkentIndul=1\r\n"));
        QVERIFY(TrayOf(*s.form).StartsInTray());
    }

    // The page alone: a field counts while it passes its check, else with the value last taken (at
    // load, on leaving the field, or by OK); every change is announced.
    void pageCountsTheLastTakenValue()
    {
        QStringList errors;
        SettingsPage page([&errors](const QString& text) { errors << text; });
        page.ShowSettings(Settings{});
        page.FixLoadedFields();
        QSignalSpy changed(&page, &SettingsPage::changed);
        QLineEdit* start = Field(page, "Edit_MIKOra");
        auto counted = [&page] {
            Settings s;
            page.CollectSettings(s);
            return s.workStartHour;
        };
        start->setText(QStringLiteral("8"));
        QCOMPARE(counted(), QStringLiteral("8"));
        start->setText(QStringLiteral("30")); // refused, and not yet said
        QCOMPARE(counted(), QStringLiteral("07"));
        QCOMPARE(changed.count(), 2);
        QVERIFY(errors.isEmpty());

        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(start, &leave);
        QCOMPARE(errors, QStringList{QStringLiteral("A beírt óra érték hibás.\r\n0–23 a jó érték.")});
        QVERIFY(start->text().isEmpty());
        QCOMPARE(counted(), QStringLiteral("07"));
        QCOMPARE(changed.count(), 3);

        // Another window or a popup taking the focus for a while is not leaving the field.
        start->setText(QStringLiteral("24"));
        QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(start, &away);
        QCOMPARE(errors.size(), 1);
        QCOMPARE(start->text(), QStringLiteral("24"));

        // A good value taken on leaving is what a refused one falls back to from then on.
        start->setText(QStringLiteral("09"));
        QApplication::sendEvent(start, &leave);
        start->setText(QStringLiteral("99"));
        QCOMPARE(counted(), QStringLiteral("09"));
        QCOMPARE(errors.size(), 1);
    }

    void pageOkOnlyForAWholeDay_data()
    {
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("weekendPayday");
        QTest::addColumn<QString>("error");
        QTest::addRow("good") << "17" << 0 << QString();
        QTest::addRow("ends at the start")
            << "07" << 0 << "A kelvator vége legyen nagyobb,\r\nmint a kelvator kezdete.";
        QTest::addRow("not a number") << "x" << 0 << "'x' is not a valid integer value";
        QTest::addRow("no weekend rule")
            << "17" << -1 << "Be kell jelölni, mi történik,\r\nha a fizetésnap hétvégére esik.";
    }
    void pageOkOnlyForAWholeDay()
    {
        QFETCH(QString, end);
        QFETCH(int, weekendPayday);
        QFETCH(QString, error);
        QStringList errors;
        SettingsPage page([&errors](const QString& text) { errors << text; });
        Settings shown;
        shown.weekendPayday = weekendPayday;
        page.ShowSettings(shown);
        page.FixLoadedFields();
        QSignalSpy ok(&page, &SettingsPage::okClicked);
        Field(page, "Edit_MIVOra")->setText(end);
        Control<QPushButton>(page, "Button_BeallitasokOK")->click();
        QCOMPARE(errors.value(0), error);
        QCOMPARE(ok.count(), error.isEmpty() ? 1 : 0);
        // What OK took is what a refused value then falls back to.
        Field(page, "Edit_MIVOra")->setText(QStringLiteral("99"));
        Settings s;
        page.CollectSettings(s);
        QCOMPARE(s.workEndHour, error.isEmpty() ? end : QStringLiteral("16"));
    }

    // The tick counts with what the page holds as it is edited, before OK, and a refused value
    // with the one last taken.
    void theTickFollowsThePageBeforeOk_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("workEnd");
        QTest::addRow("hour") << "Edit_MIVOra"
                              << "17" << 17 * 3600;
        QTest::addRow("refused hour") << "Edit_MIVOra"
                                      << "25" << 16 * 3600;
        QTest::addRow("emptied hour") << "Edit_MIVOra"
                                      << "" << 16 * 3600;
        QTest::addRow("minute") << "Edit_MIVPerc"
                                << "45" << 16 * 3600 + 45 * 60;
        QTest::addRow("refused minute") << "Edit_MIVPerc"
                                        << "60" << 16 * 3600;
    }
    void theTickFollowsThePageBeforeOk()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(int, workEnd);
        Window w(QDateTime(QDate(2024, 5, 7), QTime(14, 0)));
        TForm_Main& f = *w.form;
        Field(f, field.toLatin1().constData())->setText(text);
        w.TickAt(QTime(14, 0, 1));
        QCOMPARE(f.Snapshot().schedule.workEnd, workEnd);
    }

    void clocksAndPaydayFollowThePageBeforeOk()
    {
        Window w(QDateTime(QDate(2024, 5, 7), QTime(14, 0)));
        TForm_Main& f = *w.form;
        const auto afternoonShown = [&f] {
            return f.findChild<QLabel*>(QStringLiteral("Label_DelutanSzoveg"))
                ->isVisibleTo(f.findChild<QFrame*>(QStringLiteral("Panel1")));
        };
        w.TickAt(QTime(14, 0, 1));
        QVERIFY(afternoonShown());
        QCOMPARE(f.Snapshot().payday.payday, QDate(2024, 5, 31)); // 2 June, a Sunday: the Friday before
        Control<QCheckBox>(f, "CheckBox_12OrasKijelzes")->setChecked(false);
        Control<QListWidget>(f, "ListBox_FizetesnapDatuma")->setCurrentRow(24); // the 25th, a Saturday
        w.TickAt(QTime(14, 0, 2));
        QVERIFY(!afternoonShown());
        QCOMPARE(f.Snapshot().payday.payday, QDate(2024, 5, 24));
    }
};

QTEST_MAIN(TstSettings)
#include "tst_settings.moc"
