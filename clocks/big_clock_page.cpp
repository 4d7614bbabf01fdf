#include "clocks/big_clock_page.h"

#include "calendar/calendar_texts.h"
#include "calendar/numbermask.h"
#include "clocks/clock_face.h"
#include "settings/settings_model.h"
#include "widgets/mbargraph.h"
#include "widgets/tpaintbox.h"
#include "widgets/tshape.h"
#include "widgets/widget_factory.h"

#include <QFrame>
#include <QLabel>
#include <QSignalBlocker>
#include <QTabWidget>

namespace kelvator {

BigClockPage::BigClockPage(ClockFace& face, QWidget* parent)
    : QWidget(parent)
    , face_(face)
{
    setObjectName(QStringLiteral("TabSheet_NagyOra"));
    kinds_ = Place<QTabWidget>(this, "PageControl_NagyOraTipus", 4, 4, 425, 321);
    digitalTab_ = new QWidget(kinds_);
    digitalTab_->setObjectName(QStringLiteral("TabSheet_DigitalisOra"));
    kinds_->addTab(digitalTab_, QStringLiteral("Számkijelzős óra"));
    analogTab_ = new QWidget(kinds_);
    analogTab_->setObjectName(QStringLiteral("TabSheet_AnalogOra"));
    kinds_->addTab(analogTab_, QStringLiteral("Mutatós óra"));
    kinds_->setCurrentWidget(analogTab_);
    connect(kinds_, &QTabWidget::currentChanged, this, &BigClockPage::kindChanged);

    QWidget* digital = digitalTab_;
    digitalDate_ = TextLabel(digital, "Label_NagyDigitalisOraDatum", 16, 2, 385, 34, QString(), ArialPx(29),
                             Qt::AlignHCenter);
    digitalPanel_ = KhakiPanel(digital, "Panel2", 16, 36, 385, 185);
    digitalAfternoon_ = TextLabel(digitalPanel_, "Label_NagyDigitalisOraDelutanSzoveg", 8, 6, 120, 24,
                                  QStringLiteral("DÉLUTÁN"), ArialPx(19, true), Qt::AlignLeft);
    digitalAfternoon_->hide();
    digitalTime_ = TextLabel(digitalPanel_, "Label_NagyDigitalisOraIdo", 2, 36, 272, 112,
                             QStringLiteral("00:00"), ArialPx(96), Qt::AlignRight);
    digitalSecond_ = TextLabel(digitalPanel_, "Label_NagyDigitalisOraMasodperc", 278, 62, 100, 76,
                               QStringLiteral("00"), ArialPx(64), Qt::AlignLeft);
    digitalWeekNumber_ = TextLabel(digital, "Label_ANagyDigitalisOraEvHete", 16, 222, 76, 44,
                                   QStringLiteral("99"), ArialPx(37, true), Qt::AlignRight);
    digitalWeeksInYear_ = TextLabel(digital, "Label_NagyDigitalisOraEvHete", 94, 234, 160, 26, QString(),
                                    ArialPx(19), Qt::AlignLeft);
    digitalYearBar_ = ProgressBar(digital, "MBarGraph_NagyDigitalisOraATeljesEv", 10, 264, 398, kYellowBar);
    // Close under the bar, so that the descenders stay above the page's lower frame.
    digitalDayOfYear_ = TextLabel(digital, "Label_NagyDigitalisOraEvNapja", 10, 280, 300, 14, QString(),
                                  ArialPx(11), Qt::AlignLeft);

    QWidget* analog = analogTab_;
    faceBox_ = Place<TPaintBox>(analog, "PaintBox_MutatosOra", 8, 12, 280, 280);
    faceBox_->setAttribute(Qt::WA_OpaquePaintEvent); // its picture covers it whole
    faceBox_->onPaint = [this](QPainter& p) {
        face_.UpdateIfStale();
        p.drawImage(0, 0, face_.Image());
    };
    connect(&face_, &ClockFace::changed, this, &BigClockPage::ShowFaceChange);
    analogYear_ =
        TextLabel(analog, "Label_NagyMutatosOraEv", 290, 8, 124, 20, QString(), ArialPx(16), Qt::AlignRight);
    analogMonthDay_ = TextLabel(analog, "Label_NagyMutatosOraHonapNap", 290, 30, 124, 20, QString(),
                                ArialPx(16, true), Qt::AlignHCenter);
    analogWeekday_ = TextLabel(analog, "Label_NagyMutatosOraHetNapja", 290, 52, 124, 20, QString(),
                               ArialPx(16), Qt::AlignRight);
    analogWeekNumber_ = TextLabel(analog, "Label_ANagyMutatosOraEvHete", 288, 100, 50, 44,
                                  QStringLiteral("99"), ArialPx(37, true), Qt::AlignRight);
    analogWeeksInYear_ = TextLabel(analog, "Label_NagyMutatosOraEvHete", 340, 114, 76, 22, QString(),
                                   ArialPx(16), Qt::AlignLeft);
    analogYearBar_ = ProgressBar(analog, "MBarGraph_NagyMutatosOraATeljesEv", 290, 250, 126, kYellowBar);
    analogDayOfYear_ = TextLabel(analog, "Label_NagyMutatosOraEvNapja", 290, 270, 126, 16, QString(),
                                 ArialPx(11), Qt::AlignRight);
}

void BigClockPage::ShowSettings(const Settings& settings)
{
    const QSignalBlocker quiet(kinds_);
    kinds_->setCurrentIndex(settings.bigClockTab);
}

void BigClockPage::CollectSettings(Settings& settings) const
{
    settings.bigClockTab = kinds_->currentIndex();
}

bool BigClockPage::AnalogShown() const
{
    return kinds_->currentWidget() == analogTab_;
}

void BigClockPage::ShowTexts(const BigClockTexts& t)
{
    if (kinds_->currentWidget() == digitalTab_) {
        SetText(digitalDate_, t.date);
        SetText(digitalTime_, t.time.hourMinute);
        SetShown(digitalAfternoon_, t.time.afternoon);
        SetText(digitalSecond_, t.time.second);
        SetText(digitalDayOfYear_, t.newYearsEve.LabelText());
        digitalYearBar_->setMBGValue(t.yearProgress);
        SetText(digitalWeekNumber_, t.weekNumber);
        SetText(digitalWeeksInYear_, t.weeksInYear);
    } else if (AnalogShown()) {
        SetText(analogYear_, FormatMask(t.today.year(), u"0000") + u'.');
        SetText(analogMonthDay_, MonthName(t.today.month()) + u' ' + FormatMask(t.today.day(), u"0") + u'.');
        SetText(analogWeekday_, t.weekday);
        SetText(analogDayOfYear_, t.newYearsEve.isToday ? QStringLiteral("Szilveszter")
                                                        : QStringLiteral("Még: ") + t.newYearsEve.distance);
        analogYearBar_->setMBGValue(t.yearProgress);
        SetText(analogWeekNumber_, t.weekNumber);
        SetText(analogWeeksInYear_, t.weeksInYear);
    }
}

void BigClockPage::ShowFaceChange(const QRect& area)
{
    faceBox_->update(area & faceBox_->rect());
}

} // namespace kelvator
