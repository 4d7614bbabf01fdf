// The yearly calendar page: the year as a grid of days the user colours.
#include "app/form_main.h"

#include "app/tick_source.h"
#include "calendar/calendar_texts.h"
#include "calendar/numbermask.h"
#include "clocks/canvas.h"
#include "widgets/tpaintbox.h"
#include "widgets/tshape.h"
#include "widgets/widget_factory.h"
#include "yearcal/yearcal.h"

#include <QGuiApplication>
#include <QLabel>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>

#include <chrono>
#include <cstring>

using namespace kelvator;

void TForm_Main::BuildYearCalendarPage()
{
    QWidget* page = TabSheet_EvesNaptar;
    Label_EvesNaptarEv = Place<QLabel>(page, "Label_EvesNaptarEv", 2, 2, 40, 16);
    Label_EvesNaptarEv->setFont(ArialPx(11, true));
    static constexpr std::array<const char16_t*, 12> kMonths{u"Jan.", u"Feb.", u"Már.", u"Ápr.",
                                                             u"Máj.", u"Jún.", u"Júl.", u"Aug.",
                                                             u"Sze.", u"Okt.", u"Nov.", u"Dec."};
    static constexpr std::array<int, 12> kMonthTops{38, 55, 72, 90, 107, 125, 142, 160, 177, 195, 212, 230};
    for (size_t m = 0; m < 12; ++m) {
        Label_Honap[m] =
            Place<QLabel>(page, QByteArray("Label_Honap" + QByteArray::number(int(m) + 1)).constData(), 4,
                          kMonthTops[m], 28, 14, QString::fromUtf16(kMonths[m]));
    }
    for (int d = 1; d <= 31; ++d) {
        const auto i = static_cast<size_t>(d - 1);
        const int left = 36 + (d - 1) * 12;
        Label_NapTizes[i] =
            Place<QLabel>(page, QByteArray("Label_NapTizes" + QByteArray::number(d)).constData(), left, 6, 10,
                          12, QString::number(d / 10));
        Label_NapEgyes[i] =
            Place<QLabel>(page, QByteArray("Label_NapEgyes" + QByteArray::number(d)).constData(), left, 17,
                          10, 12, QString::number(d % 10));
    }

    Image_EvesNaptar = Place<TPaintBox>(page, "Image_EvesNaptar", 32, 32, 385, 221);
    Image_EvesNaptar->setAttribute(Qt::WA_OpaquePaintEvent); // its picture covers it whole
    Image_EvesNaptar->onPaint = [this](QPainter& p) {
        if (yearImage.isNull())
            DrawYearCalendar();
        p.drawImage(0, 0, yearImage);
    };
    Image_EvesNaptar->setOnMouseMove([this](QPoint at) { Image_EvesNaptarMouseMove(at); });
    Image_EvesNaptar->onClick = [this] { Image_EvesNaptarClick(); };
    Image_EvesNaptar->onRightClick = [this](QPoint at) { Image_EvesNaptarContextMenu(at); };

    Place<QLabel>(page, "Label_Szinek", 8, 261, 40, 16, QStringLiteral("Színek:"));
    for (size_t code = 0; code < 10; ++code) {
        auto* swatch = Place<TShape>(
            page, QByteArray("Shape_EvesNaptarSzin" + QByteArray::number(int(code) + 2)).constData(),
            51 + 16 * static_cast<int>(code), 261, 15, 16);
        swatch->setBrushColor(kPaletteColours[code]);
        connect(swatch, &TShape::mouseDown, this, &TForm_Main::Shape_EvesNaptarSzin1MouseDown);
        Shape_EvesNaptarSzin[code] = swatch;
    }
    Place<QLabel>(page, "Label_AktualisSzin", 246, 261, 74, 16, QStringLiteral("Aktuális szín:"));
    Shape_EvesNaptarAktualisSzin = Place<TShape>(page, "Shape_EvesNaptarAktualisSzin", 323, 261, 30, 16);
    Shape_EvesNaptarAktualisSzin->setBrushColor(kOrange);
    auto* colouring = Place<QToolButton>(page, "SpeedButton_Modositas", 360, 258, 57, 22);
    colouring->setText(QStringLiteral("Színezés"));
    colouring->setCheckable(true);
    colouring->setToolTip(QStringLiteral("Ha le van nyomva, megváltoztatható a napok színe"));
    SpeedButton_Modositas = colouring;

    Label_EvesNaptarKijeloltNap = Place<QLabel>(page, "Label_EvesNaptarKijeloltNap", 0, 284, 449, 18);
    Label_EvesNaptarKijeloltNap->setAlignment(Qt::AlignCenter); // in the page's own text size
    Label_EvesNaptarDatum = Place<QLabel>(page, "Label_EvesNaptarDatum", 32, 308, 200, 16);
    Label_EvesNaptarIdoKulonbseg = Place<QLabel>(page, "Label_EvesNaptarIdoKulonbseg", 217, 308, 200, 16);
    Label_EvesNaptarIdoKulonbseg->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Label_EvesNaptarNapFajta = Place<QLabel>(page, "Label_EvesNaptarNapFajta", 32, 328, 385, 18);
    Label_EvesNaptarNapFajta->setAlignment(Qt::AlignCenter);
    Label_EvesNaptarNapFajta->setFont(ArialPx(11, true));

    for (MonthColours& month : dayColours)
        month.fill(kButtonFace);
}

void TForm_Main::DrawYearCalendar()
{
    // Drawn on request: whatever changed since, both blink states are drawn afresh.
    yearFrames_ = {};
    ShowYearCalendar();
}

void TForm_Main::ShowYearCalendar()
{
    const QDate today = platform_.now().date();
    if (yearImage.size() != Image_EvesNaptar->size()) {
        // The clearing rectangle leaves out the last column and row: start them clean.
        yearImage = QImage(Image_EvesNaptar->size(), QImage::Format_RGB32);
        yearImage.fill(ButtonFaceColour());
        yearFrames_ = {};
    }
    YearGrid grid;
    grid.cellWidth = yearGridCellWidth;
    grid.cellHeight = yearGridCellHeight;
    // The blink only alternates today's frame: the pixels under it are kept for both states
    // until the day, a colour or the grid changes, so the timer costs next to nothing.
    const YearFrames::Key key{today,          dayColours,      ButtonFaceColour().rgba(),
                              grid.cellWidth, grid.cellHeight, calendarModel_.Revision()};
    const bool sameGrid = yearFrames_.key == key;
    if (!sameGrid)
        yearFrames_ = YearFrames{key, BlinkFrameArea(grid, today).intersected(yearImage.rect()), {}};
    const QRect& area = yearFrames_.area;
    QImage& patch = yearFrames_.patches[yearBlinkFlag ? 1 : 0];
    if (!patch.isNull()) {
        for (int y = 0; y < area.height(); ++y)
            std::memcpy(yearImage.scanLine(area.top() + y) + static_cast<ptrdiff_t>(area.left()) * 4,
                        patch.constScanLine(y), static_cast<size_t>(area.width()) * 4);
    } else {
        DrawYearGrid(yearImage, grid, today.year(), dayColours, yearBlinkFlag, today,
                     [this](const QDate& d) { return !calendarModel_.Calendar().IsWorkingDay(d); });
        patch = yearImage.copy(area);
    }
    const QString year = FormatMask(today.year(), u"0000") + u'.';
    if (Label_EvesNaptarEv->text() != year)
        Label_EvesNaptarEv->setText(year);
    // Between the two kept pictures only today's frame differs.
    if (sameGrid)
        Image_EvesNaptar->update(area);
    else
        Image_EvesNaptar->update();
}

namespace {
constexpr int kYearBlinkMs = 500;

qint64 SteadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

void TForm_Main::Timer_AktualisNapVillogtatasTimer()
{
    yearBlinkFlag = !yearBlinkFlag;
    yearBlinkToggledAt_ = SteadyMs();
    // A resumed blink first waits out the rest of its half second.
    if (Timer_AktualisNapVillogtatas->interval() != kYearBlinkMs)
        Timer_AktualisNapVillogtatas->setInterval(kYearBlinkMs);
    ShowYearCalendar();
}

void TForm_Main::StartYearBlink()
{
    yearBlinkToggledAt_ = SteadyMs();
    Timer_AktualisNapVillogtatas->start();
    UpdateYearBlink();
}

bool TForm_Main::YearGridInSight() const
{
    return isVisible() && !isMinimized() && PageControl1->currentWidget() == TabSheet_Main &&
           PageControl_Main->currentWidget() == TabSheet_EvesNaptar;
}

void TForm_Main::UpdateYearBlink()
{
    // With the clock stopped (a test driving the window by hand) the blink is left alone too.
    if (!tickSource_ || !tickSource_->Timer()->isActive())
        return;
    QTimer* blink = Timer_AktualisNapVillogtatas;
    if (!YearGridInSight()) {
        blink->stop();
        return;
    }
    if (blink->isActive())
        return;
    // The changes missed while unseen, as the running timer would have made them.
    const qint64 since = qMax<qint64>(0, SteadyMs() - yearBlinkToggledAt_);
    const qint64 missed = since / kYearBlinkMs;
    if (missed % 2 != 0)
        yearBlinkFlag = !yearBlinkFlag;
    yearBlinkToggledAt_ += missed * kYearBlinkMs;
    ShowYearCalendar();
    blink->start(static_cast<int>(kYearBlinkMs - since % kYearBlinkMs));
}

void TForm_Main::Shape_EvesNaptarSzin1MouseDown(TShape* shape, Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        Shape_EvesNaptarAktualisSzin->setBrushColor(shape->brushColor());
}

void TForm_Main::Image_EvesNaptarMouseMove(QPoint position)
{
    YearGrid grid;
    grid.cellWidth = yearGridCellWidth;
    grid.cellHeight = yearGridCellHeight;
    const QPoint cell = CellAt(grid, position.x(), position.y());
    if (cell == hoveredCell)
        return; // the texts change only when the pointer enters another cell
    hoveredCell = cell;
    const int month = cell.y();
    const int day = cell.x();
    const QDate today = platform_.now().date();
    if (month >= 1 && month <= 12 && day >= 1 && day <= 31 && QDate::isValid(today.year(), month, day)) {
        HighlightCalendarLabels(month, day);
        const QDate date(today.year(), month, day);
        Label_EvesNaptarKijeloltNap->setText(HoverDateText(date));
        // The day's kind on a line of its own: the date line is already as wide as the grid.
        Label_EvesNaptarNapFajta->setText(
            calendarModel_.Enabled() ? calendarModel_.Calendar().Info(date).shortName : QString());
        Label_EvesNaptarIdoKulonbseg->setText(RelativeTimeText(
            false, true, ToDateTime(date, platform_.now().time()), ToDateTime(platform_.now())));
        selectedDay = QPoint(day, month);
    } else {
        HighlightCalendarLabels(0, 0);
        Label_EvesNaptarKijeloltNap->clear();
        Label_EvesNaptarIdoKulonbseg->clear();
        Label_EvesNaptarNapFajta->clear();
        selectedDay = QPoint();
    }
}

void TForm_Main::Image_EvesNaptarClick()
{
    if (selectedDay.isNull() || !SpeedButton_Modositas->isChecked())
        return;
    quint32& colour = dayColours[size_t(selectedDay.y() - 1)][size_t(selectedDay.x() - 1)];
    colour = ToggledDayColour(colour, Shape_EvesNaptarAktualisSzin->brushColor());
    DrawYearCalendar();
}

void TForm_Main::HighlightCalendarLabels(int month, int day)
{
    auto bold = [](QLabel* label, bool on) {
        if (label->font().bold() == on)
            return;
        QFont f = label->font();
        f.setBold(on);
        label->setFont(f);
    };
    for (size_t m = 0; m < 12; ++m)
        bold(Label_Honap[m], static_cast<int>(m) + 1 == month);
    for (size_t d = 0; d < 31; ++d) {
        bold(Label_NapTizes[d], static_cast<int>(d) + 1 == day);
        bold(Label_NapEgyes[d], static_cast<int>(d) + 1 == day);
    }
}
