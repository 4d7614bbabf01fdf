#pragma once

#include <QPainter>
#include <QWidget>

#include <functional>

// A box whose picture is painted by its owner.
class TPaintBox : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;
    std::function<void(QPainter&)> onPaint;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!onPaint)
            return;
        QPainter p(this);
        onPaint(p);
    }
};
