#include "events/events_page.h"

#include "calendar/calendar_texts.h"
#include "calendar/numbermask.h"
#include "calendar/tdatetime.h"
#include "widgets/widget_factory.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <utility>

namespace kelvator {

namespace {
QByteArray Numbered(const char* name, size_t i)
{
    return QByteArray(name) + QByteArray::number(static_cast<int>(i) + 1);
}

// "2024.05.07." and, when the time of day counts, "   20:00".
QString EventCaption(TDateTime moment, bool timeCounts)
{
    const QTime time = TimeOf(moment);
    QString text = DateText(DateOf(moment));
    if (timeCounts)
        text +=
            QStringLiteral("   ") + FormatMask(time.hour(), u"00") + u':' + FormatMask(time.minute(), u"00");
    return text;
}

size_t Index(int slot)
{
    Q_ASSERT(slot >= 1 && slot <= EventsPage::kSlots);
    return static_cast<size_t>(slot - 1);
}
} // namespace

EventsPage::EventsPage(std::function<QDateTime()> clock, QWidget* parent)
    : QWidget(parent)
    , clock_(std::move(clock))
{
    setObjectName(QStringLiteral("TabSheet_Esemenyek"));
    static constexpr std::array<int, kSlots> kBoxTops{8, 60, 113, 166, 219, 272};
    static constexpr std::array<int, kSlots> kCheckTops{14, 66, 119, 172, 225, 278};
    for (size_t i = 0; i < kSlots; ++i) {
        boxes_[i] = Place<QGroupBox>(this, Numbered("GroupBox_Esemeny", i).constData(), 0, kBoxTops[i], 385,
                                     53, QString::number(i + 1) + u'.');
        names_[i] = Place<QLabel>(boxes_[i], Numbered("Label_EsemenyMegnevezes", i).constData(), 16, 11, 329,
                                  18, events_[i].name);
        names_[i]->setTextFormat(Qt::PlainText); // a name is never markup
        names_[i]->setFont(ArialPx(15, true));
        distances_[i] = Place<QLabel>(boxes_[i], Numbered("Label_EsemenyMikorLesz", i).constData(), 16, 30,
                                      329, 18, QStringLiteral("Ekkor lesz / volt."));
        distances_[i]->setFont(ArialPx(15, true));
        editButtons_[i] = Place<QPushButton>(boxes_[i], Numbered("Button_EsemenyBeallitas", i).constData(),
                                             360, 16, 17, 17, QStringLiteral("..."));
        editButtons_[i]->setToolTip(
            QStringLiteral("Ide kattintva megadhatja az esemény megnevezését és időpontját"));
        const int slot = static_cast<int>(i) + 1;
        connect(editButtons_[i], &QPushButton::clicked, this, [this, slot] { Q_EMIT editRequested(slot); });

        visibleBoxes_[i] = Place<QCheckBox>(this, Numbered("CheckBox_EsemenyLathato", i).constData(), 386,
                                            kCheckTops[i], 17, 17);
        visibleBoxes_[i]->setToolTip(QStringLiteral("Az esemény akkor látható, ha itt be van jelölve."));
        visibleBoxes_[i]->setChecked(events_[i].visible);
        // The box is the flag as the user sees it; however it is changed, the event follows.
        connect(visibleBoxes_[i], &QCheckBox::toggled, this,
                [this, i](bool checked) { events_[i].visible = checked; });
        connect(visibleBoxes_[i], &QCheckBox::clicked, this, [this] {
            Refresh(clock_());
            Q_EMIT visibilityChanged();
        });
    }
    static constexpr std::array<int, kSlots - 1> kSwapTops{55, 108, 161, 214, 266};
    for (size_t i = 0; i < kSlots - 1; ++i) {
        swapButtons_[i] =
            Place<QPushButton>(this, Numbered("Button_EsemenyCsere", i).constData(), i == 0 ? 404 : 403,
                               kSwapTops[i], i == 0 ? 20 : 21, i == 4 ? 18 : 17, QStringLiteral("II"));
        swapButtons_[i]->setToolTip(QStringLiteral("A két esemény sorrend felcserélése"));
        connect(swapButtons_[i], &QPushButton::clicked, this,
                [this, i] { SwapClicked(static_cast<int>(i) + 1); });
    }
}

void EventsPage::ShowSettings(const Settings& settings)
{
    for (int slot = 1; slot <= kSlots; ++slot)
        SetEvent(slot, settings.events[Index(slot)]);
}

void EventsPage::CollectSettings(Settings& settings) const
{
    settings.events = events_;
}

const EventSettings& EventsPage::Event(int slot) const
{
    return events_[Index(slot)];
}

void EventsPage::SetEvent(int slot, const EventSettings& event)
{
    const size_t i = Index(slot);
    events_[i] = event;
    names_[i]->setText(event.name);
    visibleBoxes_[i]->setChecked(event.visible);
}

void EventsPage::Refresh(const QDateTime& now)
{
    const TDateTime nowValue = ToDateTime(now);
    for (size_t i = 0; i < kSlots; ++i) {
        const EventSettings& event = events_[i];
        if (!event.visible)
            continue;
        const QString distance = DateDifferenceText(event.timeOfDayCounts, true, event.moment, nowValue);
        if (distances_[i]->text() != distance)
            distances_[i]->setText(distance);
        const QString caption = EventCaption(event.moment, event.timeOfDayCounts);
        if (boxes_[i]->title() != caption)
            boxes_[i]->setTitle(caption);
    }
    for (size_t i = 0; i < kSlots; ++i) {
        const bool visible = events_[i].visible;
        if (boxes_[i]->isVisibleTo(this) != visible)
            boxes_[i]->setVisible(visible);
    }
    for (size_t i = 0; i < kSlots - 1; ++i) {
        bool laterVisible = false;
        for (size_t k = i + 1; k < kSlots; ++k)
            laterVisible = laterVisible || events_[k].visible;
        const bool shown = events_[i].visible && laterVisible;
        if (swapButtons_[i]->isVisibleTo(this) != shown)
            swapButtons_[i]->setVisible(shown);
    }
    for (int n = 1; n < kSlots; ++n) {
        if (swapButtons_[Index(n)]->isVisibleTo(this))
            StretchSwapButton(n);
    }
}

std::vector<int> EventsPage::TurnPhasesMs() const
{
    std::vector<int> phases;
    for (const EventSettings& event : events_) {
        if (event.visible && event.timeOfDayCounts)
            phases.push_back(TimeOf(event.moment).msec());
    }
    return phases;
}

void EventsPage::StretchSwapButton(int n)
{
    QPushButton* button = swapButtons_[Index(n)];
    for (auto k = static_cast<size_t>(n); k < kSlots; ++k) {
        if (!events_[k].visible)
            continue;
        // From the bottom of its own box down into the next visible one, over hidden ones.
        const int height = boxes_[k]->y() - button->y() + 17;
        if (button->height() != height)
            button->resize(button->width(), height);
        return;
    }
}

// The show-in-days and visible flags stay with their places.
void EventsPage::SwapEvents(int a, int b)
{
    EventSettings& first = events_[Index(a)];
    EventSettings& second = events_[Index(b)];
    std::swap(first.name, second.name);
    std::swap(first.timeOfDayCounts, second.timeOfDayCounts);
    std::swap(first.moment, second.moment);
    names_[Index(a)]->setText(first.name);
    names_[Index(b)]->setText(second.name);
    Refresh(clock_());
}

void EventsPage::SwapClicked(int n)
{
    for (int k = n + 1; k <= kSlots; ++k) {
        if (events_[Index(k)].visible) {
            SwapEvents(n, k);
            break;
        }
    }
    Q_EMIT saveRequested();
}

} // namespace kelvator
