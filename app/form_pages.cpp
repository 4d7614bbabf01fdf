#include "app/form_main.h"

#include "alarms/alarms_page.h"
#include "app/tick_source.h"
#include "clocks/big_clock_page.h"
#include "datecalc/datecalc_page.h"
#include "events/event_editor_page.h"
#include "events/events_page.h"
#include "stopwatch/stopwatch_page.h"
#include "widgets/mbargraph.h"
#include "widgets/tshape.h"
#include "widgets/widget_factory.h"
#include "yearcal/yeargrid_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <chrono>

using namespace kelvator;

namespace {

// Narrower tab padding than the desktop style's, so that every caption fits.
class CompactTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return 12;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QLineEdit* SmallEdit(QWidget* parent, const char* name, int left, int top, int maxLength, int width = 22)
{
    auto* e = Place<QLineEdit>(parent, name, left, top, width, 19);
    e->setMaxLength(maxLength);
    return e;
}

} // namespace

void TForm_Main::BuildMainPage()
{
    PageControl_Main = Place<QTabWidget>(TabSheet_Main, "PageControl_Main", 0, 0, 518, 391);
    auto addTab = [this](const char* name, const QString& caption) {
        auto* tab = new QWidget(PageControl_Main);
        tab->setObjectName(QString::fromLatin1(name));
        PageControl_Main->addTab(tab, caption);
        return tab;
    };
    TabSheet_Kelvator = addTab("TabSheet_Kelvator", QStringLiteral("Kelvator"));
    eventsPage_ = new EventsPage([this] { return platform_.now(); }, PageControl_Main);
    PageControl_Main->addTab(eventsPage_, QStringLiteral("Események"));
    connect(eventsPage_, &EventsPage::editRequested, this, [this](int slot) {
        ShowOuterPage(eventEditorPage_);
        SetMainMenuEnabled(false);
        eventEditorPage_->Open(slot, eventsPage_->Event(slot));
        SaveSettings();
    });
    connect(eventsPage_, &EventsPage::saveRequested, this, [this] { SaveSettings(); });
    // Not while the settings are being loaded into the page.
    connect(eventsPage_, &EventsPage::visibilityChanged, this, [this] {
        if (settingsLoadedFlag)
            SaveSettings();
    });
    bigClockPage_ = new BigClockPage(clockFace_, PageControl_Main);
    PageControl_Main->addTab(bigClockPage_, QStringLiteral("Nagy óra"));
    connect(bigClockPage_, &BigClockPage::kindChanged, this, &TForm_Main::Timer1Timer);
    dateCalcPage_ = new DateCalcPage([this] { return platform_.now(); }, PageControl_Main);
    PageControl_Main->addTab(dateCalcPage_, QStringLiteral("Dátumok"));
    stopwatchPage_ =
        new StopwatchPage({.now = [this] { return platform_.now(); },
                           .twelveHourClock = [this] { return CheckBox_12OrasKijelzes->isChecked(); },
                           .outOfSight = [this] { return WindowOutOfSight(); }},
                          PageControl_Main);
    PageControl_Main->addTab(stopwatchPage_, QStringLiteral("Stopper óra"));
    yearGridPage_ = new YearGridPage(
        {.now = [this] { return platform_.now(); },
         .steadyMs =
             [] {
                 using namespace std::chrono;
                 return qint64(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
             },
         .inSight =
             [this] {
                 return isVisible() && !isMinimized() && PageControl1->currentWidget() == TabSheet_Main &&
                        PageControl_Main->currentWidget() == yearGridPage_;
             },
         .clockRunning = [this] { return tickSource_ && tickSource_->Timer()->isActive(); }},
        calendarModel_, PageControl_Main);
    PageControl_Main->addTab(yearGridPage_, QStringLiteral("Éves naptár"));
    connect(yearGridPage_, &YearGridPage::dayKindChosen, this, [this](const QDate& date, DayKind kind) {
        calendarModel_.SetDay(date, kind);
        // Like every other change the user makes on a page, it reaches the file at once.
        SaveSettings();
    });
    alarmsPage_ = new AlarmsPage(PageControl_Main);
    PageControl_Main->addTab(alarmsPage_, QStringLiteral("Napi riasztások"));
    connect(PageControl_Main, &QTabWidget::currentChanged, this, &TForm_Main::PageControl_MainChange);
    // Seven captions share 518 pixels, as they did on the narrower native tabs.
    PageControl_Main->setUsesScrollButtons(false);
    auto* compact = new CompactTabStyle;
    compact->setParent(PageControl_Main);
    PageControl_Main->tabBar()->setStyle(compact);

    BuildWorkTimePage();
    WireClockFace();
    ShowDateCalcWorkCalendar();
    stopwatchPage_->SetDialArtwork(clockFace_.Artwork());
}

void TForm_Main::ShowDateCalcWorkCalendar()
{
    // Both tests ask the model when they are used, so they follow a calendar changed later.
    dateCalcPage_->ShowWorkCalendar(
        [this](const QDate& d) { return calendarModel_.Calendar().IsWorkingDay(d); }, DaysOffTest(),
        int(calendarModel_.Revision()));
}

void TForm_Main::CreateDaySquares()
{
    for (int k = 1; k <= 31; ++k) {
        auto* square = new TShape(TabSheet_Kelvator);
        square->setObjectName(QStringLiteral("Shape_Nap%1").arg(k));
        square->setTag(k);
        square->setGeometry(118 + 9 * k, 264, 10, 17);
        square->setPenColor(0x00000000);
        square->setKind(TShape::Kind::Rectangle);
        square->hide();
        connect(square, &TShape::mouseDown, this, &TForm_Main::Shape_FizetesnapMouseDown);
        DaySquares[static_cast<size_t>(k - 1)] = square;
    }
}

void TForm_Main::BuildSettingsPage()
{
    QWidget* page = TabSheet_Beallitasok;

    Caption(page, QStringLiteral("Kelvator kezdete:"), 8, 10);
    Edit_MIKOra = SmallEdit(page, "Edit_MIKOra", 104, 8, 2);
    Caption(page, QStringLiteral(" : "), 127, 10);
    Edit_MIKPerc = SmallEdit(page, "Edit_MIKPerc", 140, 8, 2);
    Caption(page, QStringLiteral("óra"), 106, 28);
    Caption(page, QStringLiteral("perc"), 140, 28);

    Caption(page, QStringLiteral("Kelvator vége:"), 8, 50);
    Edit_MIVOra = SmallEdit(page, "Edit_MIVOra", 104, 48, 2);
    Caption(page, QStringLiteral(" : "), 127, 50);
    Edit_MIVPerc = SmallEdit(page, "Edit_MIVPerc", 140, 48, 2);
    Caption(page, QStringLiteral("óra"), 106, 68);
    Caption(page, QStringLiteral("perc"), 140, 68);

    Edit_MIKOra->setText(QStringLiteral("07"));
    Edit_MIKPerc->setText(QStringLiteral("00"));
    Edit_MIVOra->setText(QStringLiteral("16"));
    Edit_MIVPerc->setText(QStringLiteral("00"));

    Caption(page, QStringLiteral("Fizetésnap dátuma:"), 8, 88);
    ListBox_FizetesnapDatuma = Place<QListWidget>(page, "ListBox_FizetesnapDatuma", 8, 103, 118, 96);
    for (int i = 1; i <= 27; ++i)
        ListBox_FizetesnapDatuma->addItem(QString::number(i));
    ListBox_FizetesnapDatuma->addItem(QStringLiteral("Hónap utolsó napja"));

    RadioGroup_HetvegiFizetes = Place<TRadioGroup>(
        page, "RadioGroup_HetvegiFizetes", 132, 88, 172, 70, QStringLiteral("Ha a fizetésnap hétvégére esik"),
        QStringList{QStringLiteral("Fizetés pénteken"), QStringLiteral("Fizetés hétfőn"),
                    QStringLiteral("Fizetés az adott napon")});

    ListBox_FizetesnapDatuma->setCurrentRow(1);
    RadioGroup_HetvegiFizetes->setItemIndex(0);

    Caption(page, QStringLiteral("Havi fizetés:"), 132, 170);
    Edit_HaviFizetes = SmallEdit(page, "Edit_HaviFizetes", 200, 168, 7, 60);
    Edit_HaviFizetes->setText(QStringLiteral("0"));
    Caption(page, QStringLiteral("Ft."), 264, 170);

    auto* breaks =
        Place<QGroupBox>(page, "GroupBox_Szunet", 8, 206, 296, 104, QStringLiteral("Szünet (pl. ebédidő)"));
    for (int i = 0; i < 3; ++i) {
        const int top = 18 + i * 24;
        const auto n = static_cast<size_t>(i);
        const QByteArray suffix = QByteArray::number(i + 1);
        CheckBox_Szunet[n] = Place<QCheckBox>(breaks, QByteArray("CheckBox_Szunet" + suffix).constData(), 8,
                                              top, 60, 19, QStringLiteral("Mutat"));
        Edit_SzunetOra[n] = SmallEdit(breaks, QByteArray("Edit_SzunetOra" + suffix).constData(), 72, top, 2);
        Caption(breaks, QStringLiteral(" : "), 95, top + 2);
        Edit_SzunetPerc[n] =
            SmallEdit(breaks, QByteArray("Edit_SzunetPerc" + suffix).constData(), 108, top, 2);
        Caption(breaks, QStringLiteral("hossz"), 150, top + 2);
        Edit_SzunetHossz[n] =
            SmallEdit(breaks, QByteArray("Edit_SzunetHossz" + suffix).constData(), 180, top, 2);
        Caption(breaks, QStringLiteral("perc"), 206, top + 2);
    }
    Caption(breaks, QStringLiteral("óra"), 74, 88);
    const char* breakDefaults[3][3] = {{"09", "30", "30"}, {"13", "30", "30"}, {"11", "00", "60"}};
    for (size_t i = 0; i < 3; ++i) {
        CheckBox_Szunet[i]->setChecked(i < 2);
        Edit_SzunetOra[i]->setText(QString::fromLatin1(breakDefaults[i][0]));
        Edit_SzunetPerc[i]->setText(QString::fromLatin1(breakDefaults[i][1]));
        Edit_SzunetHossz[i]->setText(QString::fromLatin1(breakDefaults[i][2]));
    }
    Caption(breaks, QStringLiteral("perc"), 108, 88);

    RadioGroup_HangjelzesKelvatorVegen = Place<TRadioGroup>(
        page, "RadioGroup_HangjelzesKelvatorVegen", 312, 4, 198, 66, QStringLiteral("Kelvator végén hang"),
        QStringList{QStringLiteral("Nincs hangjelzés"), QStringLiteral("Alaplapi hangszóró"),
                    QStringLiteral("MP3 vagy WAV file")});
    Button_BeallitasokMIVFile = Place<QPushButton>(page, "Button_BeallitasokMIVFile", 312, 74, 198, 23,
                                                   QStringLiteral("Hang fájl kiválasztása"));
    Button_BeallitasokMIVHangStop = Place<QPushButton>(page, "Button_BeallitasokMIVHangStop", 312, 100, 198,
                                                       23, QStringLiteral("Hang lejátszás"));
    RadioGroup_MutatosOraKelvatorMegjelenites =
        Place<TRadioGroup>(page, "RadioGroup_MutatosOraKelvatorMegjelenites", 312, 130, 198, 66,
                           QStringLiteral("Kelvator és szünet megjelenítés"),
                           QStringList{QStringLiteral("Munkanapokon egész nap"),
                                       QStringLiteral("Csak a kelvator alatt"), QStringLiteral("Soha")});
    CheckBox_12OrasKijelzes = Place<QCheckBox>(page, "CheckBox_12OrasKijelzes", 314, 202, 196, 19,
                                               QStringLiteral("12 órás kijelzés"));
    CheckBox_12OrasKijelzes->setChecked(true);
    RadioGroup_HangjelzesKelvatorVegen->setItemIndex(0);
    RadioGroup_MutatosOraKelvatorMegjelenites->setItemIndex(1);
    Button_BeallitasokOK =
        Place<QPushButton>(page, "Button_BeallitasokOK", 435, 282, 75, 25, QStringLiteral("OK"));

    CheckBox_BeallitasOrankentiHangjelzes =
        Place<QCheckBox>(page, "CheckBox_BeallitasOrankentiHangjelzes", 8, 318, 502, 19,
                         QStringLiteral("Minden egész órakor hangjezés és figyelmeztető felirat"));
    CheckBox_IconAzOraMelle = Place<QCheckBox>(
        page, "CheckBox_IconAzOraMelle", 8, 340, 502, 19,
        QStringLiteral("Bezárás (X vagy Alt+F4) helyett ikonként elhelyezés a tálcán, az óra mellett"));
    CheckBox_IconkentIndul =
        Place<QCheckBox>(page, "CheckBox_IconkentIndul", 8, 362, 502, 19,
                         QStringLiteral("Indításakor csak tálcán, az óra mellett jelenik meg ikonként"));

    // The page's tab order, OK first. A radio group is not in the chain itself: its items
    // are, and only the chosen one is a tab stop.
    QList<QWidget*> order;
    for (QWidget* w : std::initializer_list<QWidget*>{
             Button_BeallitasokOK, Edit_MIKOra, Edit_MIKPerc, Edit_MIVOra, Edit_MIVPerc,
             ListBox_FizetesnapDatuma, RadioGroup_HetvegiFizetes, Edit_HaviFizetes, CheckBox_IconAzOraMelle,
             CheckBox_IconkentIndul, RadioGroup_MutatosOraKelvatorMegjelenites, CheckBox_12OrasKijelzes,
             RadioGroup_HangjelzesKelvatorVegen, Button_BeallitasokMIVFile, Button_BeallitasokMIVHangStop,
             CheckBox_BeallitasOrankentiHangjelzes}) {
        if (auto* group = qobject_cast<TRadioGroup*>(w)) {
            for (int i = 0; i < group->count(); ++i)
                order << group->button(i);
        } else {
            order << w;
        }
    }
    for (size_t i = 0; i < 3; ++i)
        order << CheckBox_Szunet[i] << Edit_SzunetOra[i] << Edit_SzunetPerc[i] << Edit_SzunetHossz[i];
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(Button_BeallitasokOK, &QPushButton::clicked, this, &TForm_Main::Button_BeallitasokOKClick);
    connect(Button_BeallitasokMIVFile, &QPushButton::clicked, this,
            &TForm_Main::Button_BeallitasokMIVFileClick);
    connect(Button_BeallitasokMIVHangStop, &QPushButton::clicked, this,
            &TForm_Main::Button_BeallitasokMIVHangStopClick);
    connect(RadioGroup_HangjelzesKelvatorVegen, &TRadioGroup::clicked, this,
            &TForm_Main::RadioGroup_HangjelzesKelvatorVegenClick);
    SetUpFieldChecks();
}
