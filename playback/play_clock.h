#pragma once
// The waits of playing (250 ms before a new player, 1500 ms after ListPlay, the poll
// steps): the window keeps being serviced meanwhile, and tests replace the clock so
// that nothing sleeps for real.

#include <functional>

namespace kadrel {

class IPlayClock {
 public:
  virtual ~IPlayClock() = default;
  // Waits `ms` milliseconds, servicing the window; false when the program began
  // closing meanwhile.
  virtual bool Wait(int ms) = 0;
  // The program is closing: waits end at once.
  virtual bool Closing() const = 0;
};

// Sleeps in 10 ms steps and calls `service` between them.
class SteadyPlayClock final : public IPlayClock {
 public:
  explicit SteadyPlayClock(std::function<void()> service = {}, std::function<bool()> closing = {})
      : service_(std::move(service)), closing_(std::move(closing)) {}
  bool Wait(int ms) override;
  bool Closing() const override { return closing_ && closing_(); }

 private:
  std::function<void()> service_;
  std::function<bool()> closing_;
};

}  // namespace kadrel
