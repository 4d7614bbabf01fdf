#pragma once

#include "events/events_page.h"

#include <QObject>

#include <functional>

namespace kelvator::testing {

// The events page of a window.
inline EventsPage& EventsOf(const QObject& window)
{
    auto* page = window.findChild<EventsPage*>(QStringLiteral("TabSheet_Esemenyek"));
    if (!page)
        qFatal("no events page");
    return *page;
}

// Slot 1-6's event.
inline const EventSettings& EventOf(const QObject& window, int slot)
{
    return EventsOf(window).Event(slot);
}

// Changes slot 1-6's event as loading the settings would: the list is not redrawn.
inline void ChangeEvent(const QObject& window, int slot, const std::function<void(EventSettings&)>& change)
{
    EventSettings event = EventOf(window, slot);
    change(event);
    EventsOf(window).SetEvent(slot, event);
}

} // namespace kelvator::testing
