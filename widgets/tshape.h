#pragma once

#include <QGroupBox>
#include <QStringList>
#include <QWidget>

#include <vector>

class QButtonGroup;
class QRadioButton;

// A filled rectangle or ellipse with an outline, a hint and a mouse-down signal.
class TShape : public QWidget {
    Q_OBJECT

public:
    enum class Kind { Rectangle, RoundRect, Ellipse };

    explicit TShape(QWidget* parent = nullptr);

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    // Colours are 0x00BBGGRR.
    quint32 brushColor() const { return brush_; }
    void setBrushColor(quint32 colour);
    quint32 penColor() const { return pen_; }
    void setPenColor(quint32 colour);
    void setKind(Kind kind);

Q_SIGNALS:
    void mouseDown(TShape* shape, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int tag_ = 0;
    quint32 brush_ = 0x00FFFFFF;
    quint32 pen_ = 0x00000000;
    Kind kind_ = Kind::Rectangle;
};

// A titled group of radio buttons with one chosen item, or none (-1).
class TRadioGroup : public QGroupBox {
    Q_OBJECT

public:
    TRadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr);

    int itemIndex() const;
    void setItemIndex(int index);
    int count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* button(int index) const { return buttons_.at(static_cast<size_t>(index)); }

Q_SIGNALS:
    // Only when the user picks an item.
    void clicked(int index);

private:
    // Tab stops only at the chosen item (the first while none is); arrows move between items.
    void UpdateTabStop();

    QButtonGroup* group_ = nullptr;
    std::vector<QRadioButton*> buttons_;
};

// 0x00BBGGRR to QColor; the system colour 0xFF00000F is the button face.
QColor ToQColor(quint32 colour);
