#include "yearcal/yeargrid_page.h"

#include "calendar/calendar_texts.h"
#include "calendar/numbermask.h"
#include "calendar/tdatetime.h"
#include "clocks/canvas.h"
#include "settings/settings_model.h"
#include "widgets/tpaintbox.h"
#include "widgets/tshape.h"
#include "widgets/widget_factory.h"
#include "worktime/schedule.h"
#include "worktime/workcalendar_model.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

#include <cstring>
#include <utility>

namespace kelvator {

namespace {
constexpr int kBlinkMs = 500;
} // namespace

YearGridPage::YearGridPage(Queries queries, const WorkCalendarModel& calendar, QWidget* parent)
    : QWidget(parent)
    , queries_(std::move(queries))
    , calendar_(calendar)
{
    setObjectName(QStringLiteral("TabSheet_EvesNaptar"));
    yearLabel_ = Place<QLabel>(this, "Label_EvesNaptarEv", 2, 2, 40, 16);
    yearLabel_->setFont(ArialPx(11, true));
    static constexpr std::array<const char16_t*, 12> kMonths{u"Jan.", u"Feb.", u"Már.", u"Ápr.",
                                                             u"Máj.", u"Jún.", u"Júl.", u"Aug.",
                                                             u"Sze.", u"Okt.", u"Nov.", u"Dec."};
    static constexpr std::array<int, 12> kMonthTops{38, 55, 72, 90, 107, 125, 142, 160, 177, 195, 212, 230};
    for (size_t m = 0; m < 12; ++m) {
        monthLabels_[m] =
            Place<QLabel>(this, QByteArray("Label_Honap" + QByteArray::number(int(m) + 1)).constData(), 4,
                          kMonthTops[m], 28, 14, QString::fromUtf16(kMonths[m]));
    }
    for (int d = 1; d <= 31; ++d) {
        const auto i = static_cast<size_t>(d - 1);
        const int left = 36 + (d - 1) * 12;
        dayTensLabels_[i] =
            Place<QLabel>(this, QByteArray("Label_NapTizes" + QByteArray::number(d)).constData(), left, 6, 10,
                          12, QString::number(d / 10));
        dayOnesLabels_[i] =
            Place<QLabel>(this, QByteArray("Label_NapEgyes" + QByteArray::number(d)).constData(), left, 17,
                          10, 12, QString::number(d % 10));
    }

    gridBox_ = Place<TPaintBox>(this, "Image_EvesNaptar", 32, 32, 385, 221);
    gridBox_->setAttribute(Qt::WA_OpaquePaintEvent); // its picture covers it whole
    gridBox_->onPaint = [this](QPainter& p) {
        if (image_.isNull())
            Redraw();
        p.drawImage(0, 0, image_);
    };
    gridBox_->setOnMouseMove([this](QPoint at) { PointerMoved(at); });
    gridBox_->onClick = [this] { Clicked(); };
    gridBox_->onRightClick = [this](QPoint at) { ContextMenu(at); };
    // The cells as the picture's size gives them; the dots keep their own size.
    const YearGrid sized = GridFor(gridBox_->width(), gridBox_->height());
    grid_.cellWidth = sized.cellWidth;
    grid_.cellHeight = sized.cellHeight;

    Place<QLabel>(this, "Label_Szinek", 8, 261, 40, 16, QStringLiteral("Színek:"));
    for (size_t code = 0; code < 10; ++code) {
        auto* swatch = Place<TShape>(
            this, QByteArray("Shape_EvesNaptarSzin" + QByteArray::number(int(code) + 2)).constData(),
            51 + 16 * static_cast<int>(code), 261, 15, 16);
        swatch->setBrushColor(kPaletteColours[code]);
        connect(swatch, &TShape::mouseDown, this, &YearGridPage::SwatchPressed);
        swatches_[code] = swatch;
    }
    Place<QLabel>(this, "Label_AktualisSzin", 246, 261, 74, 16, QStringLiteral("Aktuális szín:"));
    paintSwatch_ = Place<TShape>(this, "Shape_EvesNaptarAktualisSzin", 323, 261, 30, 16);
    paintSwatch_->setBrushColor(kOrange);
    auto* colouring = Place<QToolButton>(this, "SpeedButton_Modositas", 360, 258, 57, 22);
    colouring->setText(QStringLiteral("Színezés"));
    colouring->setCheckable(true);
    colouring->setToolTip(QStringLiteral("Ha le van nyomva, megváltoztatható a napok színe"));
    colouringButton_ = colouring;

    hoverDateLabel_ = Place<QLabel>(this, "Label_EvesNaptarKijeloltNap", 0, 284, 449, 18);
    hoverDateLabel_->setAlignment(Qt::AlignCenter); // in the page's own text size
    todayLabel_ = Place<QLabel>(this, "Label_EvesNaptarDatum", 32, 308, 200, 16);
    distanceLabel_ = Place<QLabel>(this, "Label_EvesNaptarIdoKulonbseg", 217, 308, 200, 16);
    distanceLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    dayKindLabel_ = Place<QLabel>(this, "Label_EvesNaptarNapFajta", 32, 328, 385, 18);
    dayKindLabel_->setAlignment(Qt::AlignCenter);
    dayKindLabel_->setFont(ArialPx(11, true));

    for (MonthColours& month : dayColours_)
        month.fill(kButtonFace);

    blinkTimer_ = new QTimer(this);
    blinkTimer_->setObjectName(QStringLiteral("Timer_AktualisNapVillogtatas"));
    blinkTimer_->setInterval(kBlinkMs);
    // Resumed in phase after a pause, so it must not be moved by the coarse timers' slack.
    blinkTimer_->setTimerType(Qt::PreciseTimer);
    connect(blinkTimer_, &QTimer::timeout, this, &YearGridPage::Blink);

    // A changed work calendar moves the dots at once; a grid not drawn yet is drawn when painted.
    connect(&calendar_, &WorkCalendarModel::changed, this, [this] {
        if (!image_.isNull())
            Redraw();
    });
}

void YearGridPage::ShowSettings(const Settings& s)
{
    paintSwatch_->setBrushColor(s.yearGridColour);
    dayColours_ = s.dayColours;
}

void YearGridPage::CollectSettings(Settings& s) const
{
    s.yearGridColour = paintSwatch_->brushColor();
    s.dayColours = dayColours_;
}

void YearGridPage::Refresh(const QDate& today)
{
    const QString text = QStringLiteral("Ma: ") + DateLabelText(today);
    if (todayLabel_->text() != text)
        todayLabel_->setText(text);
}

void YearGridPage::Shown()
{
    colouringButton_->setChecked(false);
    Redraw();
}

void YearGridPage::Redraw()
{
    // Drawn on request: whatever changed since, both blink states are drawn afresh.
    frames_ = {};
    ShowGrid();
}

void YearGridPage::ShowGrid()
{
    const QDate today = queries_.now().date();
    if (image_.size() != gridBox_->size()) {
        // The clearing rectangle leaves out the last column and row: start them clean.
        image_ = QImage(gridBox_->size(), QImage::Format_RGB32);
        image_.fill(ButtonFaceColour());
        frames_ = {};
    }
    // The blink only alternates today's frame: the pixels under it are kept for both states
    // until the day, a colour or the grid changes, so the timer costs next to nothing.
    const Frames::Key key{today,           dayColours_,      ButtonFaceColour().rgba(),
                          grid_.cellWidth, grid_.cellHeight, calendar_.Revision()};
    const bool sameGrid = frames_.key == key;
    if (!sameGrid)
        frames_ = Frames{key, BlinkFrameArea(grid_, today).intersected(image_.rect()), {}};
    const QRect& area = frames_.area;
    QImage& patch = frames_.patches[blinkOn_ ? 1 : 0];
    if (!patch.isNull()) {
        for (int y = 0; y < area.height(); ++y)
            std::memcpy(image_.scanLine(area.top() + y) + static_cast<ptrdiff_t>(area.left()) * 4,
                        patch.constScanLine(y), static_cast<size_t>(area.width()) * 4);
    } else {
        DrawYearGrid(image_, grid_, today.year(), dayColours_, blinkOn_, today,
                     [this](const QDate& d) { return !calendar_.Calendar().IsWorkingDay(d); });
        patch = image_.copy(area);
    }
    const QString year = FormatMask(today.year(), u"0000") + u'.';
    if (yearLabel_->text() != year)
        yearLabel_->setText(year);
    // Between the two kept pictures only today's frame differs.
    if (sameGrid)
        gridBox_->update(area);
    else
        gridBox_->update();
}

void YearGridPage::Blink()
{
    blinkOn_ = !blinkOn_;
    blinkToggledAt_ = queries_.steadyMs();
    // A resumed blink first waits out the rest of its half second.
    if (blinkTimer_->interval() != kBlinkMs)
        blinkTimer_->setInterval(kBlinkMs);
    ShowGrid();
}

void YearGridPage::StartBlink()
{
    blinkToggledAt_ = queries_.steadyMs();
    blinkTimer_->start();
    UpdateBlink();
}

void YearGridPage::UpdateBlink()
{
    // With the clock stopped (a test driving the window by hand) the blink is left alone too.
    if (!queries_.clockRunning())
        return;
    if (!queries_.inSight()) {
        blinkTimer_->stop();
        return;
    }
    if (blinkTimer_->isActive())
        return;
    // The changes missed while unseen, as the running timer would have made them.
    const qint64 since = qMax<qint64>(0, queries_.steadyMs() - blinkToggledAt_);
    const qint64 missed = since / kBlinkMs;
    if (missed % 2 != 0)
        blinkOn_ = !blinkOn_;
    blinkToggledAt_ += missed * kBlinkMs;
    ShowGrid();
    blinkTimer_->start(static_cast<int>(kBlinkMs - since % kBlinkMs));
}

void YearGridPage::SwatchPressed(TShape* swatch, Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        paintSwatch_->setBrushColor(swatch->brushColor());
}

void YearGridPage::PointerMoved(QPoint position)
{
    const QPoint cell = CellAt(grid_, position.x(), position.y());
    if (cell == hoveredCell_)
        return; // the texts change only when the pointer enters another cell
    hoveredCell_ = cell;
    const int month = cell.y();
    const int day = cell.x();
    const QDateTime now = queries_.now();
    const QDate today = now.date();
    if (month >= 1 && month <= 12 && day >= 1 && day <= 31 && QDate::isValid(today.year(), month, day)) {
        HighlightLabels(month, day);
        const QDate date(today.year(), month, day);
        hoverDateLabel_->setText(HoverDateText(date));
        // The day's kind on a line of its own: the date line is already as wide as the grid.
        dayKindLabel_->setText(calendar_.Enabled() ? calendar_.Calendar().Info(date).shortName : QString());
        distanceLabel_->setText(RelativeTimeText(false, true, ToDateTime(date, now.time()), ToDateTime(now)));
        selectedDay_ = QPoint(day, month);
    } else {
        HighlightLabels(0, 0);
        hoverDateLabel_->clear();
        distanceLabel_->clear();
        dayKindLabel_->clear();
        selectedDay_ = QPoint();
    }
}

void YearGridPage::Clicked()
{
    if (selectedDay_.isNull() || !colouringButton_->isChecked())
        return;
    quint32& colour = dayColours_[size_t(selectedDay_.y() - 1)][size_t(selectedDay_.x() - 1)];
    colour = ToggledDayColour(colour, paintSwatch_->brushColor());
    Redraw();
}

void YearGridPage::HighlightLabels(int month, int day)
{
    auto bold = [](QLabel* label, bool on) {
        if (label->font().bold() == on)
            return;
        QFont f = label->font();
        f.setBold(on);
        label->setFont(f);
    };
    for (size_t m = 0; m < 12; ++m)
        bold(monthLabels_[m], static_cast<int>(m) + 1 == month);
    for (size_t d = 0; d < 31; ++d) {
        bold(dayTensLabels_[d], static_cast<int>(d) + 1 == day);
        bold(dayOnesLabels_[d], static_cast<int>(d) + 1 == day);
    }
}

void YearGridPage::ContextMenu(QPoint position)
{
    if (!calendar_.Enabled())
        return;
    const QPoint cell = CellAt(grid_, position.x(), position.y());
    const int year = queries_.now().date().year();
    if (cell.y() < 1 || cell.y() > 12 || cell.x() < 1 || cell.x() > 31 ||
        !QDate::isValid(year, cell.y(), cell.x()))
        return;
    const QDate date(year, cell.y(), cell.x());
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopupMenu_EvesNaptar"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const std::array<std::pair<const char*, DayKind>, 3> choices{{{"Szabadnap", DayKind::UserRest},
                                                                  {"Munkanap", DayKind::UserWork},
                                                                  {"Naptár szerint", DayKind::Plain}}};
    for (const auto& [caption, kind] : choices) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        connect(action, &QAction::triggered, this, [this, date, k = kind] { ChooseDayKind(date, k); });
    }
    menu->popup(gridBox_->mapToGlobal(position));
}

void YearGridPage::ChooseDayKind(const QDate& date, DayKind kind)
{
    // The window applies it to the work calendar, whose change redraws the grid.
    Q_EMIT dayKindChosen(date, kind);
    // The hover text names the day's new kind at once.
    if (selectedDay_ == QPoint(date.day(), date.month())) {
        const QPoint cell = hoveredCell_;
        hoveredCell_ = QPoint();
        PointerMoved(QPoint((cell.x() - 1) * grid_.cellWidth + grid_.cellWidth / 2,
                            (cell.y() - 1) * grid_.cellHeight + grid_.cellHeight / 2));
    }
}

} // namespace kelvator
