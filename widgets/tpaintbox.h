#pragma once

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <functional>

// A box whose picture is painted by its owner, reporting the mouse over it.
class TPaintBox : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;
    std::function<void(QPainter&)> onPaint;
    std::function<void(QPoint)> onMouseMove; // set it to track the mouse without a button
    std::function<void()> onClick;
    std::function<void(QPoint)> onRightClick;

    void setOnMouseMove(std::function<void(QPoint)> handler)
    {
        onMouseMove = std::move(handler);
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!onPaint)
            return;
        QPainter p(this);
        onPaint(p);
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (onMouseMove)
            onMouseMove(event->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick)
            onClick();
        if (event->button() == Qt::RightButton && rect().contains(event->position().toPoint()) &&
            onRightClick)
            onRightClick(event->position().toPoint());
    }
};
