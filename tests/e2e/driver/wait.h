#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace e2e {

using Millis = std::chrono::milliseconds;

// Long enough for a start of a program in a fresh prefix, short enough that
// a scenario that waits for something that never comes ends soon.
inline constexpr Millis kDefaultTimeout{5000};
inline constexpr Millis kPollInterval{10};

// What the driver throws when the program under test does not do what a
// scenario waits for. GoogleTest reports the message as the test's failure.
class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Calls probe until it returns true or the timeout has passed; true when it did.
bool PollUntil(const std::function<bool()>& probe, Millis timeout = kDefaultTimeout,
               Millis interval = kPollInterval);

// Like PollUntil, but throws a Failure naming what did not happen. The
// detail callback, if given, adds what was seen instead at the moment of failing.
void WaitUntil(const std::function<bool()>& probe, std::string_view what,
               Millis timeout = kDefaultTimeout,
               const std::function<std::string()>& detail = nullptr);

// Calls probe until it yields a value, and returns that value; throws a
// Failure naming what was not found when the timeout has passed.
template <typename T>
T WaitFor(const std::function<std::optional<T>()>& probe, std::string_view what,
          Millis timeout = kDefaultTimeout, const std::function<std::string()>& detail = nullptr) {
  std::optional<T> found;
  WaitUntil([&] { return (found = probe()).has_value(); }, what, timeout, detail);
  return std::move(*found);
}

// Sleeps without looking at anything; for the few checks that something does
// not happen within a time.
void Pause(Millis duration);

}  // namespace e2e
