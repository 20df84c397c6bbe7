#include "common/ping_service.h"

#include <atomic>
#include <deque>
#include <vector>

#include "common/ping.h"

namespace common {

namespace {

// Keeps the messages a ping on the worker would show, for the window's
// thread to show later. The socket library's messages have an OK button only.
class KeptMessages final : public platform::MessageBoxes {
 public:
  struct Kept {
    std::string text;
    std::string caption;
    platform::MessageButtons buttons;
    platform::MessageIcon icon;
  };
  std::vector<Kept> kept;

  platform::MessageAnswer Show(const std::string& text, const std::string& caption,
                               platform::MessageButtons buttons,
                               platform::MessageIcon icon) override {
    kept.push_back({text, caption, buttons, icon});
    return platform::MessageAnswer::Ok;
  }
};

}  // namespace

struct PingService::Core {
  // One ping. The worker writes echoed and messages before it reports the
  // job done; the window's thread reads them only after that.
  struct Request {
    Id id = 0;
    std::string host;
    std::int32_t timeoutMs = 0;
    Done done;
    std::atomic<bool> cancelled{false};
    bool finished = false;
    bool echoed = false;
    std::uint32_t elapsedMs = 0;
    std::vector<KeptMessages::Kept> messages;
  };

  Core(platform::Worker& w, platform::Clock& c, platform::SocketLibrary& s,
       platform::IcmpEcho& i, platform::MessageBoxes& m, std::string t)
      : worker(w), clock(c), sockets(s), icmp(i), messages(m), title(std::move(t)) {}

  platform::Worker& worker;
  platform::Clock& clock;
  platform::SocketLibrary& sockets;
  platform::IcmpEcho& icmp;
  platform::MessageBoxes& messages;
  const std::string title;

  Id lastId = 0;
  // Started and not yet delivered, oldest first.
  std::deque<std::shared_ptr<Request>> queue;
  // The one being delivered: its messages are open or its done runs.
  std::shared_ptr<Request> delivering;

  // On the worker's thread: touches only the request and the platform.
  void RunJob(Request& request) {
    if (request.cancelled) return;
    KeptMessages kept;
    PingServices services(sockets, icmp, kept, title);
    const std::uint64_t started = clock.Milliseconds();
    request.echoed = KeepAlivePing(services, request.host, request.timeoutMs);
    request.elapsedMs = static_cast<std::uint32_t>(clock.Milliseconds() - started);
    request.messages = std::move(kept.kept);
  }

  // On the window's thread, in order: a message box runs its own message
  // loop, so a later ping can finish while an earlier one's box is open; it
  // waits for that box instead of opening one over it.
  void Deliver() {
    if (delivering) return;
    while (!queue.empty() && queue.front()->finished) {
      delivering = queue.front();
      queue.pop_front();
      for (const auto& message : delivering->messages) {
        if (delivering->cancelled) break;
        messages.Show(message.text, message.caption, message.buttons, message.icon);
      }
      const auto request = delivering;
      if (!request->cancelled && request->done) request->done(request->echoed, request->elapsedMs);
      delivering.reset();
    }
  }

  static bool Live(const std::shared_ptr<Request>& request) {
    return request && !request->cancelled;
  }
};

PingService::PingService(platform::Worker& worker, platform::Clock& clock,
                         platform::SocketLibrary& sockets, platform::IcmpEcho& icmp,
                         platform::MessageBoxes& messages, std::string title)
    : core_(std::make_shared<Core>(worker, clock, sockets, icmp, messages, std::move(title))) {}

PingService::~PingService() { CancelAll(); }

PingService::Id PingService::Ping(const std::string& host, std::int32_t timeoutMs, Done done) {
  auto request = std::make_shared<Core::Request>();
  request->id = ++core_->lastId;
  request->host = host;
  request->timeoutMs = timeoutMs;
  request->done = std::move(done);
  core_->queue.push_back(request);
  const std::weak_ptr<Core> weak = core_;
  core_->worker.Run(
      // The job keeps the core alive: it may outlast the service on the worker.
      [core = core_, request] { core->RunJob(*request); },
      [weak, request] {
        request->finished = true;
        if (const auto alive = weak.lock()) alive->Deliver();
      });
  return request->id;
}

void PingService::Cancel(Id id) {
  for (const auto& request : core_->queue) {
    if (request->id == id) request->cancelled = true;
  }
  if (core_->delivering && core_->delivering->id == id) core_->delivering->cancelled = true;
}

void PingService::CancelAll() {
  for (const auto& request : core_->queue) request->cancelled = true;
  if (core_->delivering) core_->delivering->cancelled = true;
}

bool PingService::Pending(Id id) const {
  for (const auto& request : core_->queue) {
    if (request->id == id) return Core::Live(request);
  }
  return Core::Live(core_->delivering) && core_->delivering->id == id;
}

bool PingService::Busy() const {
  if (Core::Live(core_->delivering)) return true;
  for (const auto& request : core_->queue) {
    if (Core::Live(request)) return true;
  }
  return false;
}

}  // namespace common
