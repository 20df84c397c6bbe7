#include "kestrel/change_preview.h"

#include <gtest/gtest.h>

#include "kestrel/main_window.h"
#include "tests/doubles/fake_platform.h"
#include "tests/doubles/recording_host.h"

namespace {

using platform::MessageAnswer;
using platform::RegistryRoot;
namespace reg = platform::reg;

const std::string kNetTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans";
const std::string kInterfaces = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters";

// A machine with one transport, one interface and a TTL of its own.
class Machine {
 public:
  explicit Machine(platform::OsVersionInfo version) { Start(version); }
  void Start(platform::OsVersionInfo version) {
    fake.version.info = version;
    fake.files.AddDirectory(fake.environment.programDirectory);
    fake.registry.AddKey(RegistryRoot::LocalMachine, kNetTrans + "\\0000");
    fake.registry.AddKey(RegistryRoot::LocalMachine, kInterfaces + "\\{A}");
    fake.registry.Put(RegistryRoot::LocalMachine, kTcpip, "DefaultTTL",
                      {reg::kTypeDword, {64, 0, 0, 0}});
    window.Load();
    fake.messages.shown.clear();
  }
  // The rows a preview would show, as "value=after".
  static std::vector<std::string> Planned(const kestrel::ChangePreview& preview) {
    std::vector<std::string> lines;
    for (const auto& row : preview.rows) {
      const auto in = row.value.find(" in ");
      lines.push_back(row.value.substr(in + 4) + "\\" + row.value.substr(0, in) + "=" + row.after);
    }
    return lines;
  }
  // What the registry saw written, in the same form.
  std::vector<std::string> Written() {
    std::vector<std::string> lines;
    for (std::string w : fake.registry.Writes()) {
      const bool removed = w[0] == '-';
      if (removed) w.erase(0, 1);
      const auto bar = w.find('|');
      const std::string name = w.substr(bar + 1);
      const std::string key = w.substr(0, bar) + "\\" + (name.empty() ? "(Default)" : name);
      lines.push_back(key + "=" + (removed ? std::string("removed") : "?"));
    }
    return lines;
  }

  doubles::FakeKestrel fake;
  doubles::RecordingHost host{fake.messages};
  kestrel::MainWindowModel window{fake.app, host};
};

class ChangePreviewTest : public testing::Test, public Machine {
 protected:
  ChangePreviewTest() : Machine({2, 5, 1, 2600}) {}
};

// The preview writes nothing and creates no key, and names exactly the
// values Apply then writes or removes, in the same order.
TEST(ChangePreview, NamesWhatApplyWritesAndWritesNothing) {
  const struct {
    const char* name;
    platform::OsVersionInfo version;
    int mode;
  } cases[] = {
      {"win98 Automatic #1", {1, 4, 10, 0}, 0},  {"winxp Automatic #3", {2, 5, 1, 2600}, 2},
      {"win10 Manual", {2, 10, 0, 19045}, 3},    {"win98 Manual", {1, 4, 10, 0}, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Machine m(c.version);
    auto& fake = m.fake;
    auto& window = m.window;
    auto& host = m.host;
    window.panel().cmbOptimizeChosen(c.mode);
    fake.messages.shown.clear();
    fake.registry.ClearCalls();
    window.Run(kestrel::Command::Preview);
    ASSERT_EQ(host.previews.size(), 1u);
    EXPECT_TRUE(fake.registry.Writes().empty());
    EXPECT_FALSE(fake.registry.HasKey(RegistryRoot::LocalMachine,
                                      "System\\CurrentControlSet\\Services\\VxD\\MSTCP"));
    EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);

    fake.messages.answers = {MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::No};
    window.Run(kestrel::Command::Apply);
    std::vector<std::string> planned = Machine::Planned(host.previews[0]);
    for (auto& line : planned) {
      if (line.substr(line.size() - 8) != "=removed") line = line.substr(0, line.find('=')) + "=?";
    }
    EXPECT_EQ(planned, m.Written());

    // Once applied, nothing is left to change.
    window.Run(kestrel::Command::Preview);
    ASSERT_EQ(host.previews.size(), 2u);
    for (const auto& row : host.previews[1].rows) EXPECT_FALSE(row.changes) << row.value;
  }
}

TEST(ChangePreview, RowsAndSummaryOnWindows10) {
  Machine m({2, 10, 0, 19045});
  auto& window = m.window;
  auto& host = m.host;
  auto& fake = m.fake;
  window.panel().cmbOptimizeChosen(0);  // Automatic #1
  fake.messages.shown.clear();
  window.Run(kestrel::Command::Preview);
  ASSERT_EQ(host.previews.size(), 1u);
  const kestrel::ChangePreview& p = host.previews[0];
  // Both window sizes in both control sets, and the cache size, are not read.
  EXPECT_EQ(p.summary, "17 values change; 5 of them are not read by Windows 10");
  const auto row = [&](const std::string& value) {
    for (const auto& r : p.rows) {
      if (r.value == value) return r;
    }
    ADD_FAILURE() << value;
    return kestrel::PreviewRow{};
  };
  const auto ttl = row("DefaultTTL in " + kTcpip);
  EXPECT_EQ(ttl.now, "64");
  EXPECT_EQ(ttl.after, "128");
  EXPECT_EQ(ttl.readBy, "yes, read at start-up");
  const auto rwin = row("TcpWindowSize in " + kTcpip);
  EXPECT_EQ(rwin.now, "absent");
  EXPECT_EQ(rwin.after, "4288");
  EXPECT_TRUE(rwin.notRead);
  EXPECT_EQ(rwin.readBy.substr(0, 4), "no, ");
  EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(ChangePreviewTest, InvalidManualInputGetsApplysMessageAndNoPreview) {
  window.panel().cmbOptimizeChosen(3);
  window.panel().optMTU2Chosen();
  window.panel().txtMTUChanged("");
  fake.messages.shown.clear();
  window.Run(kestrel::Command::Preview);
  EXPECT_TRUE(host.previews.empty());
  EXPECT_EQ(fake.messages.Texts(), std::vector<std::string>{"Invalid MTU. Enter Valid One."});
}

TEST(PlannedChange, ComparesTypeAndBytes) {
  kestrel::PlannedChange c;
  c.type = reg::kTypeDword;
  c.data = {1, 0, 0, 0};
  EXPECT_TRUE(c.Changes());  // absent now
  c.existsNow = true;
  c.typeNow = reg::kTypeSz;
  c.dataNow = {1, 0, 0, 0};
  EXPECT_TRUE(c.Changes());  // same bytes, another type
  c.typeNow = reg::kTypeDword;
  EXPECT_FALSE(c.Changes());
  c.remove = true;
  EXPECT_TRUE(c.Changes());
  c.existsNow = false;
  EXPECT_FALSE(c.Changes());  // removing what is not there
}

}  // namespace
