#include "kestrel/mtu_search.h"

#include <algorithm>

#include "common/numbers.h"
#include "common/ping.h"

namespace kestrel {

namespace {

// The socket library's complaints while the host is looked up: the search
// says itself that the host could not be found.
class QuietMessages final : public platform::MessageBoxes {
 public:
  platform::MessageAnswer Show(const std::string&, const std::string&, platform::MessageButtons,
                               platform::MessageIcon) override {
    return platform::MessageAnswer::Ok;
  }
};

// On the worker: dotted numbers as they are, anything else looked up.
std::optional<platform::Ipv4Address> FindHost(platform::SocketLibrary& sockets,
                                              platform::IcmpEcho& icmp, const std::string& host) {
  QuietMessages quiet;
  common::PingServices services(sockets, icmp, quiet, "Kestrel");
  try {
    if (host.find('.') != std::string::npos) return common::ParseDottedAddress(services, host);
  } catch (const common::PingError&) {
    // Not an address: perhaps a name.
  }
  try {
    const auto addresses = common::ResolveHostAddresses(services, host);
    if (!addresses || addresses->empty()) return std::nullopt;
    return common::ParseDottedAddress(services, addresses->front());
  } catch (const common::PingError&) {
    return std::nullopt;
  }
}

std::string Bytes(int size) {
  return std::to_string(size) + " bytes";
}

}  // namespace

struct MtuSearch::Core : std::enable_shared_from_this<Core> {
  enum class Phase { Resolve, Baseline, Search, CheckResult, CheckAbove };

  Core(platform::Worker& w, platform::SocketLibrary& s, platform::IcmpEcho& i)
      : worker(w), sockets(s), icmp(i) {}

  platform::Worker& worker;
  platform::SocketLibrary& sockets;
  platform::IcmpEcho& icmp;

  // Every start and cancel begins a new run; answers of an older one are
  // dropped when they arrive.
  std::uint64_t run = 0;
  Changed changed;
  std::string host;
  platform::Ipv4Address address{};
  MtuOutcome outcome = MtuOutcome::Cancelled;
  std::vector<std::string> lines;
  std::string result;
  int done = 0;

  Phase phase = Phase::Resolve;
  int size = 0;
  int timeouts = 0;
  // The largest size that got through (-1: none yet) and the smallest that
  // was too big (one past a full frame: none yet).
  int good = -1;
  int bad = kLargestEchoPayload + 1;

  void Begin(const std::string& text, Changed onChange) {
    ++run;
    changed = std::move(onChange);
    host = std::string(common::TrimBlanks(text));
    lines.clear();
    result.clear();
    done = 0;
    good = -1;
    bad = kLargestEchoPayload + 1;
    phase = Phase::Resolve;
    outcome = MtuOutcome::Running;
    if (host.empty()) {
      Finish(MtuOutcome::NoHost, "Type the name or address of a host to measure the path to.");
      return;
    }
    auto found = std::make_shared<std::optional<platform::Ipv4Address>>();
    worker.Run([&s = sockets, &i = icmp, found, name = host,
                keep = shared_from_this()] { *found = FindHost(s, i, name); },
               [weak = weak_from_this(), id = run, found] {
                 const auto core = weak.lock();
                 if (!core || core->run != id) return;
                 core->Resolved(*found);
               });
  }

  void Resolved(const std::optional<platform::Ipv4Address>& found) {
    if (!found) {
      Finish(MtuOutcome::NoHost, "Cannot find the host \"" + host + "\".");
      return;
    }
    address = *found;
    phase = Phase::Baseline;
    Probe(kBaselinePayload);
  }

  void Probe(int payload) {
    if (payload != size) timeouts = 0;
    size = payload;
    auto status = std::make_shared<std::optional<std::uint32_t>>();
    worker.Run(
        [&i = icmp, status, to = address, payload, keep = shared_from_this()] {
          const std::vector<std::uint8_t> data(static_cast<std::size_t>(payload), 'K');
          *status = i.Echo(to, data, kProbeTimeoutMs, true);
        },
        [weak = weak_from_this(), id = run, status] {
          const auto core = weak.lock();
          if (!core || core->run != id) return;
          core->Answered(*status);
        });
    Notify();
  }

  void Answered(const std::optional<std::uint32_t>& status) {
    ++done;
    if (!status) {
      Finish(MtuOutcome::Failed, "The search stopped: the ICMP library could not be found.");
      return;
    }
    bool through = false;
    if (*status == platform::kEchoSuccess) {
      lines.push_back(Bytes(size) + ": got through");
      through = true;
    } else if (*status == platform::kEchoPacketTooBig) {
      lines.push_back(Bytes(size) + ": too big");
    } else if (*status == platform::kEchoTimedOut) {
      if (++timeouts < kProbeTries) {
        lines.push_back(Bytes(size) + ": no answer, trying again");
        Probe(size);
        return;
      }
      if (phase == Phase::Baseline) {
        lines.push_back(Bytes(size) + ": no answer");
        Finish(MtuOutcome::NoAnswer, host +
                                         " does not answer echoes: " + std::to_string(kProbeTries) +
                                         " small echoes got no reply. Try another host.");
        return;
      }
      lines.push_back(Bytes(size) + ": no answer " + std::to_string(kProbeTries) +
                      " times, counted as too big");
    } else {
      lines.push_back(Bytes(size) + ": error " + std::to_string(*status));
      Finish(MtuOutcome::Failed, "The search stopped: an echo of " + Bytes(size) +
                                     " failed with error " + std::to_string(*status) + ".");
      return;
    }
    Next(through);
  }

  void Next(bool through) {
    switch (phase) {
      case Phase::Resolve:
        return;
      case Phase::Baseline:
      case Phase::Search:
        if (through) {
          good = std::max(good, size);
        } else {
          bad = std::min(bad, size);
        }
        phase = Phase::Search;
        if (bad - good > 1) {
          Probe(good + (bad - good) / 2);
        } else if (good < 0) {
          Finish(MtuOutcome::NothingFits,
                 "Not even an empty echo got through without being fragmented.");
        } else {
          // One more look at both sides of the edge, in case a lost echo
          // moved it.
          phase = Phase::CheckResult;
          Probe(good);
        }
        return;
      case Phase::CheckResult:
        if (!through) return Unsteady();
        if (good == kLargestEchoPayload) {
          Finish(MtuOutcome::FullFrame,
                 FoundText() +
                     ". The path takes a full 1500-byte frame. A host that ignores the "
                     "don't-fragment flag looks the same.");
          return;
        }
        phase = Phase::CheckAbove;
        Probe(good + 1);
        return;
      case Phase::CheckAbove:
        if (through) return Unsteady();
        Finish(MtuOutcome::Found, FoundText());
        return;
    }
  }

  std::string FoundText() const {
    return "Largest packet that got through: " + Bytes(good) + ", so the MTU is " +
           std::to_string(good + kEchoHeaderBytes);
  }

  void Unsteady() {
    Finish(MtuOutcome::Unsteady, "The path answered differently when checked again at " +
                                     Bytes(size) + ". Try again later.");
  }

  void Finish(MtuOutcome end, std::string text) {
    ++run;
    outcome = end;
    result = std::move(text);
    Notify();
  }

  void Notify() {
    if (changed) changed();
  }
};

std::string MtuFinderHost(const common::PingSettings& settings) {
  return settings.PingAutomatic ? common::DefaultPingHost : settings.PingHost;
}

MtuSearch::MtuSearch(platform::Worker& worker, platform::SocketLibrary& sockets,
                     platform::IcmpEcho& icmp)
    : core_(std::make_shared<Core>(worker, sockets, icmp)) {}

MtuSearch::~MtuSearch() {
  ++core_->run;
}

void MtuSearch::Start(const std::string& host, Changed changed) {
  core_->Begin(host, std::move(changed));
}

void MtuSearch::Cancel() {
  if (!Running()) return;
  core_->Finish(MtuOutcome::Cancelled, "Cancelled.");
}

bool MtuSearch::Running() const {
  return core_->outcome == MtuOutcome::Running;
}
MtuOutcome MtuSearch::Outcome() const {
  return core_->outcome;
}
const std::vector<std::string>& MtuSearch::Lines() const {
  return core_->lines;
}
const std::string& MtuSearch::Result() const {
  return core_->result;
}

std::optional<int> MtuSearch::Mtu() const {
  if (core_->outcome != MtuOutcome::Found && core_->outcome != MtuOutcome::FullFrame) {
    return std::nullopt;
  }
  return core_->good + kEchoHeaderBytes;
}

int MtuSearch::Done() const {
  if (!Running() && Outcome() != MtuOutcome::Cancelled) return Expected();
  return std::min(core_->done, Expected() - 1);
}

}  // namespace kestrel
