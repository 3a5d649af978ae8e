#pragma once

#include "store/Currency.h"

#include <QList>

namespace stats {

/// The value axis of the chart: a range from a round minimum to a round
/// maximum in round steps (1, 2 or 5 times a power of ten), always
/// including zero, so that bars stand on the zero line.
struct BarChartAxis {
    store::Currency minimum;
    store::Currency maximum;
    store::Currency step;

    /// The smallest round step that covers `low` to `high` (and zero) in at
    /// most `maxIntervals` steps. Equal ends get a range of one unit.
    static BarChartAxis covering(store::Currency low, store::Currency high, int maxIntervals);

    /// Every multiple of the step from the minimum to the maximum.
    QList<store::Currency> ticks() const;
    /// Where `value` lies between minimum (0) and maximum (1).
    double fraction(store::Currency value) const;
};

} // namespace stats
