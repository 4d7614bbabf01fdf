#include "app/form_main.h"
#include "app/screen_fit.h"
#include "app/tick_source.h"
#include "app/tray_control.h"
#include "app/work_end_signal.h"

#include "about/about_page.h"
#include "calendar/numbermask.h"
#include "datecalc/datecalc_page.h"
#include "events/event_editor_page.h"
#include "events/events_page.h"
#include "exit/exit_page.h"
#include "notice/notice_page.h"
#include "settings/settings_page.h"
#include "stopwatch/stopwatch_page.h"
#include "widgets/mbargraph.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/tpaintbox.h"
#include "widgets/tshape.h"
#include "worktime/workcalendar_page.h"
#include "worktime/workend.h"
#include "worktime/worktime_page.h"
#include "yearcal/yearcal.h"
#include "yearcal/yeargrid_page.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyleOptionGroupBox>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>

using namespace kelvator;

namespace {
// Group box captions sit on the frame line, as the layout's positions inside the boxes expect.
class CaptionOnFrameStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override
    {
        if (control != CC_GroupBox)
            return QProxyStyle::subControlRect(control, option, sub, widget);
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        const QFontMetrics fm = widget ? widget->fontMetrics() : option->fontMetrics;
        const int textWidth = box && !box->text.isEmpty() ? fm.horizontalAdvance(box->text) + 4 : 0;
        const QRect r = option->rect;
        const int lineY = fm.height() / 2;
        switch (sub) {
        case SC_GroupBoxFrame:
            return r.adjusted(0, lineY, 0, 0);
        case SC_GroupBoxLabel:
            return QRect(r.left() + 6, r.top(), textWidth, fm.height());
        case SC_GroupBoxContents:
            return r.adjusted(1, fm.height(), -1, -1);
        default:
            return QProxyStyle::subControlRect(control, option, sub, widget);
        }
    }
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override
    {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (control != CC_GroupBox || !box) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QRect frame = subControlRect(control, option, SC_GroupBoxFrame, widget);
        const QRect label = subControlRect(control, option, SC_GroupBoxLabel, widget);
        painter->save();
        QRegion outside(option->rect);
        if (!box->text.isEmpty())
            outside -= label;
        painter->setClipRegion(outside);
        painter->setPen(option->palette.color(QPalette::Mid));
        painter->drawRect(frame.adjusted(0, 0, -1, -1));
        painter->setPen(option->palette.color(QPalette::Light));
        painter->drawRect(frame.adjusted(1, 1, -2, -2).intersected(frame));
        painter->restore();
        if (!box->text.isEmpty()) {
            painter->setPen(option->palette.color(QPalette::WindowText));
            painter->drawText(label, Qt::AlignCenter | Qt::TextSingleLine, box->text);
        }
    }
};
} // namespace

// The artwork lives in a static library, whose resources must be registered by hand.
// Q_INIT_RESOURCE declares a global function, so this stays outside any namespace.
static void InitResources()
{
    Q_INIT_RESOURCE(kelvator);
}

TForm_Main::TForm_Main(Platform platform, QWidget* parent)
    : QMainWindow(parent)
    , platform_(std::move(platform))
{
    InitResources();
    BuildWindow();
    workTimePage_->ShowWorkEnd(workEndSignal_->BarColour());
    startUpFlag_ = true;
    hourlyNoticeFlag_ = false;
    // Minimising sends the window to the tray (changeEvent).
    settingsLoadedFlag_ = false;
    LoadSettings();
    workTimePage_->SelectDay(platform_.now().date());
    dateCalcPage_->Refresh();
    Timer1Timer();
    workEndSignal_->OpenSoundFile(settingsModel_.Get().workEndSoundFile);
    startUpFlag_ = false;
    tickSource_->Start();
    yearGridPage_->StartBlink();
}

TForm_Main::~TForm_Main()
{
    qApp->removeEventFilter(this);
    SaveSettings();
}

void TForm_Main::BuildWindow()
{
    setObjectName(QStringLiteral("Form_Main"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/kelvator/kelvator.png")));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    setFont(font);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    Menu_Bezaras = MainMenu1->addAction(QStringLiteral("Kilépés"));
    Menu_Bezaras->setObjectName(QStringLiteral("Menu_Bezaras"));
    Menu_Beallitasok = MainMenu1->addAction(QStringLiteral("Beállítások"));
    Menu_Beallitasok->setObjectName(QStringLiteral("Menu_Beallitasok"));
    Menu_Nevjegy = MainMenu1->addAction(QStringLiteral("Névjegy"));
    Menu_Nevjegy->setObjectName(QStringLiteral("Menu_Nevjegy"));
    setMenuBar(MainMenu1);
    connect(Menu_Bezaras, &QAction::triggered, this, &TForm_Main::Menu_BezarasClick);
    connect(Menu_Beallitasok, &QAction::triggered, this, &TForm_Main::Menu_BeallitasokClick);
    connect(Menu_Nevjegy, &QAction::triggered, this, [this] {
        ShowOuterPage(aboutPage_);
        aboutPage_->FocusDefaultButton();
        SetMainMenuEnabled(false);
    });

    tray_ = new TrayControl(platform_, *this);
    connect(tray_, &TrayControl::exitRequested, this, &QWidget::close);
    connect(tray_, &TrayControl::dayWanted, this, &TForm_Main::Timer1Timer);
    connect(&traySettingsModel_, &TraySettingsModel::changed, this,
            [this] { tray_->SetOptions(traySettingsModel_.Get()); });

    PageControl1 = new QStackedWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setFixedSize(518, 391);
    setCentralWidget(PageControl1);
    auto addPage = [this](const char* name) {
        auto* page = new QWidget(PageControl1);
        page->setObjectName(QString::fromLatin1(name));
        PageControl1->addWidget(page);
        return page;
    };
    TabSheet_Main = addPage("TabSheet_Main");
    settingsPage_ = new SettingsPage([this](const QString& text) { ShowError(text); }, PageControl1);
    PageControl1->addWidget(settingsPage_);
    aboutPage_ = new AboutPage(PageControl1);
    PageControl1->addWidget(aboutPage_);
    exitPage_ = new ExitPage(PageControl1);
    PageControl1->addWidget(exitPage_);
    eventEditorPage_ = new EventEditorPage([this] { return platform_.now(); }, PageControl1);
    PageControl1->addWidget(eventEditorPage_);
    noticePage_ = new NoticePage(PageControl1);
    PageControl1->addWidget(noticePage_);
    workCalendarPage_ = new WorkCalendarPage(
        calendarModel_, {[this](const QString& text) { ShowError(text); }, [this] { return SaveSettings(); }},
        PageControl1);
    PageControl1->addWidget(workCalendarPage_);
    connect(PageControl1, &QStackedWidget::currentChanged, this, [this] { Timer1Timer(); });
    connect(aboutPage_, &AboutPage::done, this, &TForm_Main::ReturnToMainPage);
    connect(exitPage_, &ExitPage::back, this, &TForm_Main::ReturnToMainPage);
    connect(exitPage_, &ExitPage::sendToTray, this, [this] {
        ReturnToMainPage();
        tray_->SendToTray();
    });
    // Through the tray state, so that the close request that follows passes.
    connect(exitPage_, &ExitPage::exitProgram, this, [this] {
        ReturnToMainPage();
        tray_->SendToTray();
        tray_->Exit();
    });
    connect(noticePage_, &NoticePage::acknowledged, this, [this] {
        hourlyNoticeFlag_ = false;
        noticeAcknowledgedFlag_ = true;
        ShowOuterPage(TabSheet_Main);
        SetMainMenuEnabled(true);
    });
    // Back from the event editor to the list, which shows the event as it now is.
    auto leaveEventEditor = [this] {
        ReturnToMainPage();
        eventsPage_->Refresh(platform_.now());
    };
    connect(eventEditorPage_, &EventEditorPage::accepted, this,
            [this, leaveEventEditor](int slot, const EventSettings& event) {
                eventsPage_->SetEvent(slot, event);
                leaveEventEditor();
            });
    connect(eventEditorPage_, &EventEditorPage::cancelled, this, leaveEventEditor);

    BuildMainPage();
    WireSettingsPage();
    ShowOuterPage(TabSheet_Main);
    auto* groupStyle = new CaptionOnFrameStyle;
    groupStyle->setParent(this);
    for (QGroupBox* box : findChildren<QGroupBox*>())
        box->setStyle(groupStyle);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    layout()->activate();
    move(623, 278);
    KeepOnScreen();

    MakeTickSource();
    tickSource_->IgnoreTimerEvents(yearGridPage_->BlinkTimer());
    // Keyboard preview: the window sees Escape before the focused control.
    qApp->installEventFilter(this);
}

void TForm_Main::KeepOnScreen()
{
    QScreen* target = QGuiApplication::screenAt(pos());
    if (!target)
        target = screen();
    if (!target)
        return;
    const QRect fitted = FitOnScreen(frameGeometry(), target->availableGeometry());
    if (fitted.topLeft() != pos())
        move(fitted.topLeft());
}

void TForm_Main::ShowOuterPage(QWidget* page)
{
    const QSignalBlocker blocker(PageControl1);
    PageControl1->setCurrentWidget(page);
    yearGridPage_->UpdateBlink();
}

void TForm_Main::SetMainMenuEnabled(bool enabled)
{
    Menu_Bezaras->setEnabled(enabled);
    Menu_Beallitasok->setEnabled(enabled);
    Menu_Nevjegy->setEnabled(enabled);
}

void TForm_Main::Menu_BeallitasokClick()
{
    ShowOuterPage(settingsPage_);
    settingsPage_->FocusDefaultButton();
    SetMainMenuEnabled(false);
}

void TForm_Main::ReturnToMainPage()
{
    ShowOuterPage(TabSheet_Main);
    SetMainMenuEnabled(true);
}

void TForm_Main::HandleEscape()
{
    // The page's cancel button takes Escape first; then the window's own handler.
    QWidget* page = PageControl1->currentWidget();
    if (page == exitPage_) {
        exitPage_->Cancel();
        return;
    }
    if (page == eventEditorPage_) {
        eventEditorPage_->Cancel();
        return;
    }
    if (page == workCalendarPage_) {
        workCalendarPage_->Cancel();
        return;
    }
    if (page == TabSheet_Main && !tray_->InTray())
        close();
    if (page == aboutPage_)
        ReturnToMainPage();
}

bool TForm_Main::eventFilter(QObject* watched, QEvent* event)
{
    tickSource_->NoteInput(watched, event);
    if (!frameCheckedOnScreen_ && event->type() == QEvent::Expose && watched == windowHandle() &&
        windowHandle()->isExposed()) {
        // A window manager frames the window before it is first exposed: now its frame counts too.
        frameCheckedOnScreen_ = true;
        KeepOnScreen();
    }
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = static_cast<QWidget*>(watched);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && widget->window() == this) {
            HandleEscape();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm_Main::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT closed();
}

void TForm_Main::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The window's first appearance is where it may go straight to the tray.
    tray_->WindowShown();
    yearGridPage_->UpdateBlink();
}

void TForm_Main::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    yearGridPage_->UpdateBlink();
}

void TForm_Main::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    yearGridPage_->UpdateBlink();
    tray_->WindowStateChanged();
}

// ---- Steps filled in by the features that own them ---------------------------------------
