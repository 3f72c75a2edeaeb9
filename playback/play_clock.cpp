#include "playback/play_clock.h"

#include <chrono>
#include <thread>

namespace kadrel {

bool SteadyPlayClock::Wait(int ms) {
  using namespace std::chrono;
  const auto end = steady_clock::now() + milliseconds(ms);
  for (;;) {
    if (Closing()) return false;
    if (service_) service_();
    const auto now = steady_clock::now();
    if (now >= end) return true;
    std::this_thread::sleep_for(std::min<steady_clock::duration>(milliseconds(10), end - now));
  }
}

}  // namespace kadrel
