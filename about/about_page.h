#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kelvator {

// The About page: what the program does, whom to tell, a picture, and "OK".
class AboutPage : public QWidget {
    Q_OBJECT

public:
    explicit AboutPage(QWidget* parent = nullptr);

    // The page opens with the focus on "OK".
    void FocusDefaultButton();

Q_SIGNALS:
    // "OK": the user has read it.
    void done();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGroupBox* aboutBox_ = nullptr;
    QPlainTextEdit* aboutText_ = nullptr;
    QGroupBox* contactBox_ = nullptr;
    QLabel* picture_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

} // namespace kelvator
