#pragma once

#include "widgets/mbargraph_layout.h"

#include <QFrame>

#include <array>

class QLabel;
class TShape;

// The progress bar of every progress display: a lowered panel holding a minus bar, a plus
// bar, a zero mark and a percent label, all drawn by placing those children.
class TMBarGraph : public QFrame {
    Q_OBJECT

public:
    explicit TMBarGraph(QWidget* parent = nullptr);

    TMBGOrientation MBGOrientation() const { return props_.orientation; }
    void setMBGOrientation(TMBGOrientation value);
    double MBGValue() const { return props_.value; }
    void setMBGValue(double value);
    quint32 MBGMinusColorAt0() const { return props_.minusColorAt0; }
    void setMBGMinusColorAt0(quint32 colour);
    quint32 MBGMinusColorAt1() const { return props_.minusColorAt1; }
    void setMBGMinusColorAt1(quint32 colour);
    quint32 MBGPlusColorAt0() const { return props_.plusColorAt0; }
    void setMBGPlusColorAt0(quint32 colour);
    quint32 MBGPlusColorAt1() const { return props_.plusColorAt1; }
    void setMBGPlusColorAt1(quint32 colour);
    TMBGMode MBGMode() const { return props_.mode; }
    void setMBGMode(TMBGMode value);
    bool MBGShowText() const { return props_.showText; }
    void setMBGShowText(bool value);
    bool MBGInverseText() const { return props_.inverseText; }
    void setMBGInverseText(bool value);
    TMBGTextPosition MBGTextPosition() const { return props_.textPosition; }
    void setMBGTextPosition(TMBGTextPosition value);
    int MBGTextLeft() const { return props_.textLeft; }
    void setMBGTextLeft(int value);
    int MBGTextTop() const { return props_.textTop; }
    void setMBGTextTop(int value);
    int MBGDecimals() const { return props_.decimals; }
    void setMBGDecimals(int value);

    void UpdateBar(bool force);

    // For tests and the benchmark: what the children show now, and how often bars moved.
    const kelvator::MBGLayout& layoutState() const { return layout_; }
    int barLayouts() const { return barLayouts_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Apply();
    // The width of a text in the bar's font: the percentage changes every few seconds while
    // its width is asked for on every new value, and measuring it shapes the text anew.
    int TextWidth(const QString& text);

    struct MeasuredText {
        QString text;
        int width = 0;
    };
    std::array<MeasuredText, 4> measured_{};
    size_t nextMeasured_ = 0;

    kelvator::MBGProperties props_;
    kelvator::MBGLayout layout_;
    int barLayouts_ = 0;
    TShape* minusBar_ = nullptr;
    TShape* plusBar_ = nullptr;
    TShape* zeroMark_ = nullptr;
    QLabel* label_ = nullptr;
};
