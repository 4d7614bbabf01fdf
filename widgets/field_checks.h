#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <map>

class QLineEdit;

namespace kelvator {

// What a checked field may hold: an hour 0-23, a minute 0-59, a whole number of forints, a
// break of 0-99 minutes, or the tray's reminder 1-120 minutes before the work end.
enum class FieldKind { Hour, Minute, Salary, BreakLength, ReminderMinutes };

bool FieldTextPasses(FieldKind kind, const QString& text);

// Line edits checked as the user leaves them. A refused value is said, the field emptied and the
// focus put back on it; a break's length is never refused, only not taken. Each field remembers
// the last text that passed, which is what counts while it holds one that does not.
class FieldChecks : public QObject {
    Q_OBJECT

public:
    // `showError` says why a value was refused.
    explicit FieldChecks(std::function<void(const QString&)> showError, QObject* parent = nullptr);

    void Add(QLineEdit* edit, FieldKind kind);
    bool Passes(const QLineEdit* edit) const;
    // The field's text if it passes, else the last text that did (the text itself before any did).
    QString CheckedText(const QLineEdit* edit) const;
    // What the field now holds is what a refused value later falls back to, if it passes.
    void Remember(const QLineEdit* edit);
    void RememberAll();
    // The check of leaving the field: false, after saying so, when its value is refused.
    bool Check(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Field {
        FieldKind kind = FieldKind::Hour;
        QString lastValid;
        bool hasLastValid = false;
    };
    bool Reject(QLineEdit* edit, const QString& message);

    std::function<void(const QString&)> showError_;
    std::map<const QLineEdit*, Field> fields_;
    bool checking_ = false;
};

} // namespace kelvator
