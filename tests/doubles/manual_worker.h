#pragma once

#include <deque>
#include <functional>
#include <utility>

#include "platform/worker.h"

namespace doubles {

// A worker whose jobs run when the test says. With runAtOnce, each job and
// its done run inside Run, as a worker that answers at once would.
class ManualWorker : public platform::Worker {
 public:
  bool runAtOnce = true;
  std::deque<std::pair<std::function<void()>, std::function<void()>>> queued;

  void Run(std::function<void()> job, std::function<void()> done) override {
    if (!runAtOnce) {
      queued.emplace_back(std::move(job), std::move(done));
      return;
    }
    job();
    done();
  }
  // Runs the oldest job and then its done; false when none waits.
  bool Step() {
    if (queued.empty()) return false;
    auto [job, done] = std::move(queued.front());
    queued.pop_front();
    job();
    done();
    return true;
  }
};

}  // namespace doubles
