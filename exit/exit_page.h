#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kelvator {

// The exit page: the program asks whether to go to the tray, end, or go back.
class ExitPage : public QWidget {
    Q_OBJECT

public:
    explicit ExitPage(QWidget* parent = nullptr);

    // The page opens with the focus on "Programot a tálcára".
    void FocusDefaultButton();
    // Escape: what "Vissza a programba" does.
    void Cancel();

Q_SIGNALS:
    void sendToTray();
    void exitProgram();
    void back();

private:
    QLabel* title_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* trayButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QPushButton* backButton_ = nullptr;
};

} // namespace kelvator
