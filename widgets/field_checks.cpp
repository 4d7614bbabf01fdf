#include "widgets/field_checks.h"

#include "tray/tray_settings.h"
#include "worktime/schedule.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>

#include <utility>

namespace kelvator {

bool FieldTextPasses(FieldKind kind, const QString& text)
{
    int value = 0;
    if (!TryParseWholeNumber(text, value))
        return false;
    switch (kind) {
    case FieldKind::Hour:
        return value >= 0 && value <= 23;
    case FieldKind::Minute:
        return value >= 0 && value <= 59;
    case FieldKind::BreakLength:
        return value >= 0 && value <= 99;
    case FieldKind::ReminderMinutes:
        return ReminderMinutesValid(value);
    case FieldKind::Salary:
        return true;
    }
    return true;
}

FieldChecks::FieldChecks(std::function<void(const QString&)> showError, QObject* parent)
    : QObject(parent)
    , showError_(std::move(showError))
{
}

void FieldChecks::Add(QLineEdit* edit, FieldKind kind)
{
    fields_[edit].kind = kind;
    edit->installEventFilter(this);
}

bool FieldChecks::Passes(const QLineEdit* edit) const
{
    const auto found = fields_.find(edit);
    return found == fields_.end() || FieldTextPasses(found->second.kind, edit->text());
}

QString FieldChecks::CheckedText(const QLineEdit* edit) const
{
    const auto found = fields_.find(edit);
    if (Passes(edit) || found == fields_.end() || !found->second.hasLastValid)
        return edit->text();
    return found->second.lastValid;
}

void FieldChecks::Remember(const QLineEdit* edit)
{
    const auto found = fields_.find(edit);
    if (found == fields_.end() || !Passes(edit))
        return;
    found->second.lastValid = edit->text();
    found->second.hasLastValid = true;
}

void FieldChecks::RememberAll()
{
    for (const auto& [edit, field] : fields_)
        Remember(edit);
}

bool FieldChecks::Reject(QLineEdit* edit, const QString& message)
{
    if (showError_)
        showError_(message);
    edit->clear();
    edit->setFocus();
    return false;
}

bool FieldChecks::Check(QLineEdit* edit)
{
    // The box itself takes the focus away again: one check at a time.
    const auto found = fields_.find(edit);
    if (checking_ || found == fields_.end())
        return true;
    checking_ = true;
    bool ok = true;
    switch (found->second.kind) {
    case FieldKind::Hour:
        ok = Passes(edit) || Reject(edit, QStringLiteral("A beírt óra érték hibás.\r\n0–23 a jó érték."));
        break;
    case FieldKind::Minute:
        ok = Passes(edit) || Reject(edit, QStringLiteral("A beírt perc érték hibás.\r\n0–59 a jó érték."));
        break;
    case FieldKind::Salary:
        ok = Passes(edit) || Reject(edit, QStringLiteral("A havi fizetés hibás."));
        break;
    case FieldKind::ReminderMinutes:
        ok = Passes(edit) || Reject(edit, QStringLiteral("A beírt perc érték hibás.\r\n1–120 a jó érték."));
        break;
    case FieldKind::BreakLength:
        break;
    }
    if (ok)
        Remember(edit);
    checking_ = false;
    return ok;
}

bool FieldChecks::eventFilter(QObject* watched, QEvent* event)
{
    // Checked when the user leaves the field, not when another window or a popup takes the focus
    // for a while.
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Check(static_cast<QLineEdit*>(watched));
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kelvator
