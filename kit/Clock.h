#pragma once

namespace kit {

// A monotonic clock with sub-millisecond resolution (the performance counter), in seconds.
double Seconds();

} // namespace kit
