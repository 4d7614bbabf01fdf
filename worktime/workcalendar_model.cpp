#include "worktime/workcalendar_model.h"

#include "settings/inifile.h"
#include "settings/value_forms.h"

#include <QStringList>

#include <array>
#include <vector>

namespace kelvator {

namespace {

const QString kMunkarend = QStringLiteral("Munkarend");

// A few entries of one key and how many more: a long list must not fill the screen.
constexpr size_t kNoticeEntriesPerKey = 10;

void NoteEntries(QStringList& notes, const QString& key, const std::vector<SkippedEntry>& skipped)
{
    for (size_t i = 0; i < skipped.size() && i < kNoticeEntriesPerKey; ++i)
        notes << key + QStringLiteral(": „") + skipped[i].entry + QStringLiteral("” – ") + skipped[i].reason;
    if (skipped.size() > kNoticeEntriesPerKey)
        notes << key + QStringLiteral(": … és még %1 ilyen bejegyzés.")
                           .arg(skipped.size() - kNoticeEntriesPerKey);
}

} // namespace

void WorkCalendarModel::Changed()
{
    ++revision_;
    Q_EMIT changed();
}

void WorkCalendarModel::SetCalendar(bool enabled, const CalendarEntries& entries)
{
    entries_ = entries;
    calendar_ = WorkCalendar(enabled, entries_);
    Changed();
}

void WorkCalendarModel::SetDay(const QDate& date, DayKind kind)
{
    SetCalendar(calendar_.enabled(), WithUserDay(entries_, date, kind));
}

void WorkCalendarModel::SetWeekdayHours(bool on, const std::optional<WeekdayHours>& hours)
{
    Apply(calendar_.enabled(), entries_, on, hours);
}

void WorkCalendarModel::Apply(bool enabled, const CalendarEntries& entries, bool hoursOn,
                              const std::optional<WeekdayHours>& hours)
{
    entries_ = entries;
    calendar_ = WorkCalendar(enabled, entries_);
    hoursOn_ = hoursOn;
    if (hours) {
        hours_ = hours;
        hoursText_ = kelvator::WeekdayHoursText(*hours);
    }
    Changed();
}

WorkPattern WorkCalendarModel::Pattern(const WorkSchedule& base) const
{
    if (!calendar_.enabled() && !WeekdayHoursInUse())
        return PlainPattern(base);
    return MakePattern(calendar_, base, WeekdayHoursInUse() ? hours_ : std::nullopt);
}

QString WorkCalendarModel::Read(const IniFile& ini)
{
    // The lists grow with every day of leave: they are read whole.
    auto value = [&ini](const char* key) {
        return ini.Value(kMunkarend, QString::fromLatin1(key), IniFile::kWholeValue);
    };
    auto text = [&value](const char* key) { return value(key).value_or(QString()); };
    QStringList notes;
    // A box the file holds in some other form counts as unticked, and the file keeps the form.
    auto box = [&](const char* key) {
        const std::optional<QString> stored = value(key);
        if (stored && !stored->isEmpty() && !ParseIntValue(*stored))
            notes << QString::fromLatin1(key) + QStringLiteral(": „") + *stored +
                         QStringLiteral("” – Nem 0 vagy 1, ezért kikapcsoltnak számít.");
        return ReadBoolValue(stored, false);
    };
    entries_.rest = SplitEntries(text("sSzabadnapok"));
    entries_.work = SplitEntries(text("sMunkanapok"));
    entries_.pairs = SplitEntries(text("sAthelyezesek"));
    calendar_ = WorkCalendar(box("CheckBox_Unnepnapok"), entries_);
    const SkippedEntries skipped = FindSkippedEntries(entries_);
    NoteEntries(notes, QStringLiteral("sSzabadnapok"), skipped.rest);
    NoteEntries(notes, QStringLiteral("sMunkanapok"), skipped.work);
    NoteEntries(notes, QStringLiteral("sAthelyezesek"), skipped.pairs);
    hoursOn_ = box("CheckBox_NapiMunkaido");
    hoursText_ = text("sNapiMunkaido");
    // A value that cannot be read is left in the file; the settings page's hours apply.
    hours_ = ParseWeekdayHours(hoursText_);
    if (!hours_ && !hoursText_.isEmpty())
        notes << QStringLiteral("sNapiMunkaido: „") + hoursText_ +
                     QStringLiteral("” – Nem öt óó:pp-óó:pp munkaidő pontosvesszővel elválasztva, ezért a "
                                    "Beállítások munkaideje érvényes.");
    Changed();
    if (notes.isEmpty())
        return {};
    return QStringLiteral("A beállítások fájljának [Munkarend] részében van, amit a program nem "
                          "értett. Ezeket nem veszi figyelembe, de a fájlban változatlanul "
                          "megőrzi:\r\n\r\n") +
           notes.join(QStringLiteral("\r\n"));
}

void WorkCalendarModel::Write(IniFile& ini) const
{
    struct Key {
        QString name;
        QString value;
        bool box; // any stored text that reads as the same tick says the same
    };
    const std::array<Key, 6> keys{{
        {QStringLiteral("CheckBox_Unnepnapok"), BoolText(calendar_.enabled()), true},
        {QStringLiteral("sSzabadnapok"), JoinEntries(entries_.rest), false},
        {QStringLiteral("sMunkanapok"), JoinEntries(entries_.work), false},
        {QStringLiteral("sAthelyezesek"), JoinEntries(entries_.pairs), false},
        {QStringLiteral("CheckBox_NapiMunkaido"), BoolText(hoursOn_), true},
        {QStringLiteral("sNapiMunkaido"), hoursText_, false},
    }};
    // A stored form that reads the same is kept as the user wrote it.
    for (const Key& key : keys) {
        const QString stored = ini.Value(kMunkarend, key.name, IniFile::kWholeValue).value_or(QString());
        const bool same =
            key.box ? ReadBoolValue(stored, false) == ReadBoolValue(key.value, false) : stored == key.value;
        if (!same)
            ini.SetValue(kMunkarend, key.name, key.value);
    }
}

} // namespace kelvator
