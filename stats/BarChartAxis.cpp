#include "BarChartAxis.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace stats {

namespace {

using Wide = __int128;

constexpr Wide kLimit = std::numeric_limits<std::int64_t>::max();

Wide floorTo(Wide value, Wide step) {
    Wide q = value / step;
    if (value % step != 0 && value < 0)
        --q;
    return q * step;
}

Wide ceilTo(Wide value, Wide step) {
    Wide q = value / step;
    if (value % step != 0 && value > 0)
        ++q;
    return q * step;
}

store::Currency clampToCurrency(Wide value) {
    return store::Currency::fromRaw(std::int64_t(std::clamp(value, -kLimit, kLimit)));
}

} // namespace

BarChartAxis BarChartAxis::covering(store::Currency low, store::Currency high, int maxIntervals) {
    Wide lo = std::min<Wide>({low.raw(), high.raw(), 0});
    Wide hi = std::max<Wide>({low.raw(), high.raw(), 0});
    if (lo == hi)
        hi = lo + store::Currency::kScale;
    const Wide intervals = std::max(1, maxIntervals);

    // 1, 2, 5, 10, 20, 50 ... ten-thousandths, until the range fits; a
    // wide integer holds any step the widest range can need.
    static const int factors[] = {1, 2, 5};
    for (Wide power = 1;; power *= 10) {
        for (int factor : factors) {
            const Wide step = power * factor;
            const Wide from = floorTo(lo, step);
            const Wide to = ceilTo(hi, step);
            if ((to - from) / step <= intervals) {
                BarChartAxis axis;
                axis.minimum = clampToCurrency(from);
                axis.maximum = clampToCurrency(to);
                axis.step = clampToCurrency(step);
                return axis;
            }
        }
    }
}

QList<store::Currency> BarChartAxis::ticks() const {
    QList<store::Currency> result;
    if (step.raw() <= 0)
        return result;
    for (Wide v = minimum.raw(); v <= Wide(maximum.raw()); v += step.raw())
        result.append(store::Currency::fromRaw(std::int64_t(v)));
    return result;
}

double BarChartAxis::fraction(store::Currency value) const {
    const double span = double(Wide(maximum.raw()) - Wide(minimum.raw()));
    if (span <= 0)
        return 0;
    return double(Wide(value.raw()) - Wide(minimum.raw())) / span;
}

} // namespace stats
