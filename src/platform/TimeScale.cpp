#include "platform/TimeScale.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>

namespace vmc {
namespace {

double InitialScale() {
    if (const char* env = std::getenv("VMC70_TIME_SCALE")) {
        char* end = nullptr;
        const double v = std::strtod(env, &end);
        if (end != env && v > 0.0 && v <= 1000.0)
            return v;
    }
    return 1.0;
}

std::atomic<double>& ScaleValue() {
    static std::atomic<double> value{InitialScale()};
    return value;
}

} // namespace

double TimeScale() { return ScaleValue().load(std::memory_order_relaxed); }

void SetTimeScale(double scale) {
    if (scale > 0.0)
        ScaleValue().store(scale, std::memory_order_relaxed);
}

int ScaledMs(int ms) {
    if (ms <= 0)
        return ms;
    const double v = std::round(ms * TimeScale());
    return std::max(1, static_cast<int>(std::min(v, 2.0e9)));
}

std::chrono::microseconds Scaled(std::chrono::microseconds d) {
    if (d.count() <= 0)
        return d;
    const double v = std::round(static_cast<double>(d.count()) * TimeScale());
    return std::chrono::microseconds(std::max<long long>(1, static_cast<long long>(v)));
}

} // namespace vmc
