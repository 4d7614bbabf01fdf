#pragma once

#include <QWidget>

namespace kelvator {

// The daily alarms page: twelve alarm rows and the detail box of the chosen alarm, laid out
// for the user; nothing acts on them yet.
class AlarmsPage : public QWidget {
    Q_OBJECT

public:
    explicit AlarmsPage(QWidget* parent = nullptr);
};

} // namespace kelvator
