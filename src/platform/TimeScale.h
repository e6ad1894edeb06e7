#pragma once
// One time scale for every program timer and link delay, so tests can run hours of protocol in
// milliseconds. 1.0 is real time; VMC70_TIME_SCALE in the environment sets the initial value.
#include <chrono>

namespace vmc {

double TimeScale();
void SetTimeScale(double scale);

// Scaled period of a timer in milliseconds, never below 1 ms for a positive period.
int ScaledMs(int ms);
std::chrono::microseconds Scaled(std::chrono::microseconds d);

} // namespace vmc
