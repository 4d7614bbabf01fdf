#pragma once

#include <QGuiApplication>
#include <QIcon>
#include <QProxyStyle>
#include <QWidget>

#include <map>
#include <utility>

// The desktop style, with its standard icons built once: each month calendar asks for its two
// arrows, and the style loads every size of them from files on each request.
class CachedIconStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override
    {
        if (option != nullptr)
            return QProxyStyle::standardIcon(icon, option, widget);
        const Qt::LayoutDirection direction =
            widget ? widget->layoutDirection() : QGuiApplication::layoutDirection();
        const auto key = std::make_pair(icon, direction);
        auto found = icons_.find(key);
        if (found == icons_.end())
            found = icons_.emplace(key, QProxyStyle::standardIcon(icon, option, widget)).first;
        return found->second;
    }

private:
    mutable std::map<std::pair<StandardPixmap, Qt::LayoutDirection>, QIcon> icons_;
};
