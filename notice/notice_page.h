#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTime;

namespace kelvator {

// The hourly notice: "Figyelem!", the time in large pulsing digits, and "OK".
class NoticePage : public QWidget {
    Q_OBJECT

public:
    explicit NoticePage(QWidget* parent = nullptr);

    // The time as H:MM, 24-hour whatever the clock pages show.
    void ShowTime(const QTime& time);
    // One beat of the pulse: the digits go from large to small or back, on screen at once.
    void Pulse();

Q_SIGNALS:
    // "OK": the user has seen the notice.
    void acknowledged();

private:
    QLabel* title_ = nullptr;
    QLabel* timeText_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

} // namespace kelvator
