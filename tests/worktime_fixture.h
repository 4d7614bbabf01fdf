#pragma once

#include "widgets/mbargraph.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/tshape.h"

#include <QAbstractButton>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtGlobal>

#include <array>

namespace kelvator::testing {

// A control of the work-time page, found by its object name as a screen reader finds it; a test
// that names a control the page does not have stops there.
template <typename T> T* WorkTimeControl(const QObject& root, const QString& name)
{
    T* found = root.findChild<T*>(name);
    if (!found)
        qFatal("no control named %s", qPrintable(name));
    return found;
}
template <typename T> T* WorkTimeControl(const QObject& root, const char* name)
{
    return WorkTimeControl<T>(root, QString::fromLatin1(name));
}

// The payday row's squares, "Shape_Nap1" to "Shape_Nap31": square k is [k - 1].
inline std::array<TShape*, 31> DaySquares(const QObject& root)
{
    std::array<TShape*, 31> squares{};
    for (int k = 1; k <= 31; ++k)
        squares[static_cast<size_t>(k - 1)] =
            WorkTimeControl<TShape>(root, QStringLiteral("Shape_Nap%1").arg(k));
    return squares;
}

} // namespace kelvator::testing
