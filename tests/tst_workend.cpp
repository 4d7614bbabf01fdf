// The work-end signal second by second, the sound choices and the real sound player.
#include "window_fixture.h"
#include "worktime_fixture.h"

#include "platform/real_platform.h"
#include "widgets/mbargraph.h"
#include "widgets/tshape.h"
#include "worktime/workend.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <numbers>

using namespace kelvator;
using kelvator::testing::Control;
using kelvator::testing::SignalOf;
using kelvator::testing::Window;

namespace {
// A short 16-bit mono PCM WAV: a tenth of a second of a 880 Hz tone.
QByteArray ToneWav()
{
    constexpr int rate = 22050;
    constexpr int samples = rate / 10;
    QByteArray data;
    for (int i = 0; i < samples; ++i) {
        const auto v = static_cast<qint16>(8000 * std::sin(2 * std::numbers::pi * 880 * i / rate));
        data.append(static_cast<char>(v & 0xFF));
        data.append(static_cast<char>((v >> 8) & 0xFF));
    }
    auto le32 = [](quint32 v) {
        QByteArray b(4, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    auto le16 = [](quint16 v) {
        QByteArray b(2, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    QByteArray wav = "RIFF" + le32(36 + static_cast<quint32>(data.size())) + "WAVEfmt " + le32(16) + le16(1) +
                     le16(1) + le32(rate) + le32(rate * 2) + le16(2) + le16(16) + "data" +
                     le32(static_cast<quint32>(data.size())) + data;
    return wav;
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

using kelvator::testing::WorkTimeControl;

class TstWorkEnd : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        Q_INIT_RESOURCE(kelvator);
        QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    }

    void workEndSignalSecondBySecond()
    {
        // 15:59:59 to 16:10:01, one tick per second, with the sound file chosen.
        const int end = 16 * 3600;
        quint32 colour = kDayBarOrange;
        bool blink = false;
        bool idle = true;
        int previous = end - 2;
        int starts = 0;
        QList<bool> limeSeconds;
        for (int s = end - 1; s <= end + 601; ++s) {
            const WorkEndStep step =
                StepWorkEnd(s, end, previous, colour, blink, WorkEndSound::File, true, idle);
            colour = step.barColour;
            blink = step.blinkFlag;
            if (step.startSound) {
                ++starts;
                idle = false;
            }
            if (step.rearm)
                idle = true;
            if (s >= end && s <= end + 30)
                limeSeconds << (colour == kDayBarLime);
            if (s == end + 599)
                QVERIFY(!idle);
            if (s == end + 600)
                QVERIFY(idle);
            previous = s;
        }
        QCOMPARE(starts, 1);
        QCOMPARE(limeSeconds.size(), 31);
        for (int i = 0; i < limeSeconds.size(); ++i)
            QCOMPARE(limeSeconds[i], i % 2 == 0); // lime first, then alternating
        QCOMPARE(colour, kDayBarOrange);
        QVERIFY(!blink);
    }

    void workEndInTheWindow_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<int>("plays");
        QTest::addRow("nothing") << 0 << 0 << 0;
        QTest::addRow("beep") << 1 << 31 << 0;
        QTest::addRow("sound file") << 2 << 0 << 1;
    }
    void workEndInTheWindow()
    {
        QFETCH(int, choice);
        QFETCH(int, beeps);
        QFETCH(int, plays);
        Window w(QDateTime(QDate(2024, 5, 8), QTime(15, 59)));
        TForm_Main& f = *w.form;
        Control<TRadioGroup>(f, "RadioGroup_HangjelzesKelvatorVegen")->setItemIndex(choice);
        SignalOf(f).OpenSoundFile(QStringLiteral("/zene/vege.mp3"));
        int limeTicks = 0;
        for (QTime t(15, 59, 58); t <= QTime(16, 10, 1); t = t.addMSecs(200)) {
            w.TickAt(t);
            if (WorkTimeControl<TMBarGraph>(f, "MBarGraph_Munakanap")->MBGPlusColorAt1() == kDayBarLime) {
                ++limeTicks;
                QVERIFY(SignalOf(f).Blinking());
            }
            if (t == QTime(16, 0, 0))
                QCOMPARE(WorkTimeControl<TMBarGraph>(f, "MBarGraph_Munakanap")->MBGValue(), 1.0);
        }
        QCOMPARE(limeTicks, 16 * 5); // 16 lime seconds of five ticks each
        QCOMPARE(w.fake.beeps, beeps);
        QCOMPARE(w.fake.sound->calls.count(QStringLiteral("Play")), plays);
        QCOMPARE(WorkTimeControl<TMBarGraph>(f, "MBarGraph_Munakanap")->MBGPlusColorAt1(), kDayBarOrange);
        QVERIFY(SignalOf(f).PlayerIdle()); // re-armed from 16:10:00
        QCOMPARE(Control<QPushButton>(f, "Button_BeallitasokMIVHangStop")->text(),
                 QStringLiteral("Hang lejátszás"));
    }

    void weekendHasNoSignal()
    {
        Window w(QDateTime(QDate(2024, 5, 11), QTime(15, 59)));
        Control<TRadioGroup>(*w.form, "RadioGroup_HangjelzesKelvatorVegen")->setItemIndex(1);
        for (int s = 0; s < 10; ++s)
            w.TickAt(QTime(16, 0, s));
        QCOMPARE(w.fake.beeps, 0);
        QCOMPARE(WorkTimeControl<TMBarGraph>(*w.form, "MBarGraph_Munakanap")->MBGPlusColorAt1(),
                 kDayBarOrange);
    }

    void settingsPageHoldsTheSignalBack()
    {
        Window w(QDateTime(QDate(2024, 5, 8), QTime(15, 59)));
        TForm_Main& f = *w.form;
        Control<TRadioGroup>(f, "RadioGroup_HangjelzesKelvatorVegen")->setItemIndex(1);
        f.Menu_BeallitasokClick();
        for (int s = 0; s <= 20; ++s)
            w.TickAt(QTime(16, 0, s));
        QCOMPARE(w.fake.beeps, 0);
        Control<QPushButton>(f, "Button_BeallitasokOK")->click();
        for (int s = 21; s <= 40; ++s)
            w.TickAt(QTime(16, 0, s));
        QCOMPARE(w.fake.beeps, 10); // what is left of the window: 16:00:21 to 16:00:30
    }

    void hourlyNoticeTakesTheWindowAtWorkEnd()
    {
        Window w(QDateTime(QDate(2024, 5, 8), QTime(15, 59)));
        TForm_Main& f = *w.form;
        Control<TRadioGroup>(f, "RadioGroup_HangjelzesKelvatorVegen")->setItemIndex(1);
        Control<QCheckBox>(f, "CheckBox_BeallitasOrankentiHangjelzes")->setChecked(true);
        for (int s = 0; s <= 4; ++s)
            w.TickAt(QTime(16, 0, s));
        const int noticeBeeps = w.fake.beeps; // the notice's own, one a second
        QCOMPARE(noticeBeeps, 4);
        QVERIFY(WorkTimeControl<TMBarGraph>(f, "MBarGraph_Munakanap")->MBGPlusColorAt1() == kDayBarOrange);
        f.findChild<QPushButton*>(QStringLiteral("Button_FigyelemAllapotNyugtazasa"))->click();
        for (int s = 5; s <= 40; ++s)
            w.TickAt(QTime(16, 0, s));
        QCOMPARE(w.fake.beeps - noticeBeeps, 26); // 16:00:05 to 16:00:30
    }

    void testPlaybackIsMarkedIdleOutsideTheWindow()
    {
        Window w(QDateTime(QDate(2024, 5, 8), QTime(10, 0)));
        TForm_Main& f = *w.form;
        SignalOf(f).OpenSoundFile(QStringLiteral("/zene/vege.mp3"));
        w.fake.sound->calls.clear();
        Control<QPushButton>(f, "Button_BeallitasokMIVHangStop")->click();
        QCOMPARE(Control<QPushButton>(f, "Button_BeallitasokMIVHangStop")->text(),
                 QStringLiteral("Hang lejátszás STOP"));
        QVERIFY(Control<QPushButton>(f, "Button_BeallitasokMIVHangStop")->font().bold());
        w.TickAt(QTime(10, 0, 1)); // the sound goes on, the button says idle
        QCOMPARE(Control<QPushButton>(f, "Button_BeallitasokMIVHangStop")->text(),
                 QStringLiteral("Hang lejátszás"));
        QVERIFY(!Control<QPushButton>(f, "Button_BeallitasokMIVHangStop")->font().bold());
        Control<QPushButton>(f, "Button_BeallitasokMIVHangStop")
            ->click(); // plays again from the start instead of stopping
        QCOMPARE(w.fake.sound->calls, (QStringList{QStringLiteral("Rewind"), QStringLiteral("Play"),
                                                   QStringLiteral("Rewind"), QStringLiteral("Play")}));
    }

    void choosingAFilePlaysItAtOnce()
    {
        Window w;
        TForm_Main& f = *w.form;
        SignalOf(f).OpenSoundFile(QStringLiteral("/zene/vege.mp3"));
        Control<QPushButton>(f, "Button_BeallitasokMIVHangStop")->click(); // playing
        w.fake.sound->calls.clear();
        w.fake.chosenFile = QStringLiteral("/zene/uj.mp3");
        Control<QPushButton>(f, "Button_BeallitasokMIVFile")->click();
        QCOMPARE(f.CollectSettings().workEndSoundFile, QStringLiteral("/zene/uj.mp3"));
        QCOMPARE(w.fake.sound->calls, (QStringList{QStringLiteral("Stop"), QStringLiteral("Close"),
                                                   QStringLiteral("Open /zene/uj.mp3"),
                                                   QStringLiteral("Rewind"), QStringLiteral("Play")}));
        QVERIFY(!SignalOf(f).PlayerIdle());

        // Picking "no sound" stops it; picking the file choice again plays nothing.
        Control<TRadioGroup>(f, "RadioGroup_HangjelzesKelvatorVegen")->button(0)->click();
        QVERIFY(SignalOf(f).PlayerIdle());
        QCOMPARE(w.fake.sound->calls.last(), QStringLiteral("Stop"));
        const qsizetype calls = w.fake.sound->calls.size();
        Control<TRadioGroup>(f, "RadioGroup_HangjelzesKelvatorVegen")->button(2)->click();
        QCOMPARE(w.fake.sound->calls.size(), calls);
    }

    void cancelledDialogChangesNothing()
    {
        Window w;
        Settings settings = w.form->CollectSettings();
        settings.workEndSoundFile = QStringLiteral("/zene/regi.wav");
        w.form->ShowSettings(settings);
        Control<QPushButton>(*w.form, "Button_BeallitasokMIVFile")->click();
        QCOMPARE(w.form->CollectSettings().workEndSoundFile, QStringLiteral("/zene/regi.wav"));
        QVERIFY(w.fake.sound->calls.isEmpty());
    }

    void failingPlayerLeavesTheFlags()
    {
        Window w;
        w.fake.sound->fail = true;
        Control<QPushButton>(*w.form, "Button_BeallitasokMIVHangStop")->click();
        QVERIFY(SignalOf(*w.form).PlayerIdle());
        QVERIFY(w.fake.errors.isEmpty());
    }

    void realPlayerAnswersForEachFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("plays");
        QTest::addRow("wav") << "csengo.wav" << ToneWav() << true;
        QTest::addRow("mp3") << "csengo.mp3" << ReadFile(QStringLiteral(KELVATOR_TEST_DATA "/tone.mp3"))
                             << true;
        QTest::addRow("text named mp3")
            << "nem_hang.mp3" << QByteArray("ez nem hang, csak sz\xC3\xB6veg\n") << false;
        QTest::addRow("empty wav") << "ures.wav" << QByteArray() << false;
    }
    void realPlayerAnswersForEachFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, plays);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QCOMPARE(f.write(bytes), bytes.size());
        }
        const Platform real = MakeRealPlatform();
        SoundPlayer& player = *real.sound;
        QElapsedTimer clock;
        clock.start();
        // A file that is no sound is refused when it is opened.
        const bool opened = player.Open(path);
        const bool played = opened && player.Rewind() && player.Play();
        if (plays) {
            QVERIFY(opened);
            QVERIFY(played);
            QVERIFY(player.Stop());
            QVERIFY(player.Rewind());
        } else {
            QVERIFY(!opened);
            QVERIFY(!played);
        }
        player.Close();
        QVERIFY(clock.elapsed() < 10000); // none of the calls waits for the sound
    }

    void realPlayerRefusesWhatIsNotThere()
    {
        QTemporaryDir dir;
        const Platform real = MakeRealPlatform();
        SoundPlayer& player = *real.sound;
        QVERIFY(!player.Open(dir.filePath(QStringLiteral("nincs.mp3"))));
        QVERIFY(!player.Play());
        QVERIFY(!player.Open(dir.path())); // a folder
        QVERIFY(!player.Open(QString()));
    }
};

QTEST_MAIN(TstWorkEnd)
#include "tst_workend.moc"
