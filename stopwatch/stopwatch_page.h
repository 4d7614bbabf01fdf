#pragma once

#include "calendar/tdatetime.h"

#include <QDateTime>
#include <QImage>
#include <QTime>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TPaintBox;

namespace kelvator {

struct Settings;

// The stopwatch page: a name for what is timed, the elapsed time as text and on a dial, Start,
// up to six laps and Stop, and the list of their moments. Its state is kept across restarts.
class StopwatchPage : public QWidget {
    Q_OBJECT

public:
    // What the page asks of the window, each at the moment it needs it.
    struct Queries {
        std::function<QDateTime()> now;        // the wall clock, read on a press
        std::function<bool()> twelveHourClock; // the time stamps' "Du." form
        std::function<bool()> outOfSight;      // nobody can see the window: the dial waits
    };

    explicit StopwatchPage(Queries queries, QWidget* parent = nullptr);

    void ShowSettings(const Settings& s);
    void CollectSettings(Settings& s) const;
    // The clock face the dial is drawn on (shared with the analog clock).
    void SetDialArtwork(const QImage& artwork);

    // Elapsed time, the 12-hour stop, the buttons, the dial and the label, as of now.
    void Refresh(const QDateTime& now);
    // The last enabled of Stop, Lap and Start takes the focus, as the page comes to the front.
    void FocusLastEnabledButton();
    // Where in its second the running stopwatch's shown time turns; none when it is not running.
    std::optional<int> TickPhaseMs() const;
    // Start, or Stop while it runs, as those buttons do (the tray's menu offers them).
    void StartOrStop();
    bool Running() const;

private:
    void Start();
    void Lap();
    void Stop();
    void DrawFace();

    Queries queries_;

    QLineEdit* nameEdit_ = nullptr;
    TPaintBox* dialBox_ = nullptr;
    QLabel* elapsedLabel_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* lapButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QListWidget* lapList_ = nullptr;

    QImage artwork_;
    QImage face_;
    std::optional<QTime> lastFace_;
    bool faceWaiting_ = false;

    TDateTime start_ = 0;
    TDateTime stop_ = 0;
    int state_ = 0;
    int laps_ = 0;
    double elapsed_ = 0; // days, as of the latest refresh
};

} // namespace kelvator
