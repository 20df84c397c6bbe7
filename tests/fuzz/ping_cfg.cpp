// Ping.cfg: any bytes that another program, an editor or a damaged disk can
// leave in the file, and any host a user can type.
//
// Loading gives what the file holds or the defaults, and the dialog shows an
// interval of its list or none. Whatever host "OK" takes is written so that
// it reads back: a saved setting never makes the next load fall back to the
// defaults.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/ping_dialog.h"
#include "tests/doubles/fake_platform.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const bool previousSound = size % 2 == 1;

  doubles::FakePing ping;
  ping.files.Put(ping.path, bytes);
  ping.settings.PingSound = previousSound;
  common::PingDialogModel dialog(ping.context);
  dialog.Load();

  const auto read = common::ParsePingFile(bytes);
  const common::PingSettings& s = ping.settings;
  FUZZ_CHECK(s == (read ? *read : common::DefaultPingSettings(previousSound)));
  FUZZ_CHECK(ping.loads == 1 && ping.messages.shown.empty());
  const common::PingDialog& shown = dialog.controls();
  FUZZ_CHECK(shown.Option1.selected == s.PingAutomatic && shown.Option2.selected != s.PingAutomatic);
  FUZZ_CHECK(shown.cmbPingInterval.selected == common::IntervalPosition(s.PingInterval));
  FUZZ_CHECK(shown.cmbPingInterval.selected >= -1 &&
             shown.cmbPingInterval.selected < static_cast<int>(shown.cmbPingInterval.items.size()));
  FUZZ_CHECK(!s.PingAutomatic || shown.txtPingHost.text == "Automatic");
  FUZZ_CHECK(s.PingAutomatic || shown.txtPingHost.text == s.PingHost);

  // The same bytes typed as the host of a manual setting.
  const int position = static_cast<int>(size % 60);
  dialog.Option2Clicked();
  dialog.txtPingHostChanged(bytes);
  dialog.cmbPingIntervalChosen(position);
  if (!dialog.cmdOKClicked()) {
    FUZZ_CHECK(ping.messages.Texts() == std::vector<std::string>{common::kPingInputInvalid});
    return 0;
  }
  const auto saved = ping.files.Contents(ping.path);
  FUZZ_CHECK(saved.has_value());
  const auto reread = common::ParsePingFile(*saved);
  FUZZ_CHECK(reread.has_value());
  FUZZ_CHECK(!reread->PingAutomatic && reread->PingSound == s.PingSound);
  FUZZ_CHECK(reread->PingInterval == std::to_string(position + 1));
  // Blanks around a host are lost on reading, and nothing else.
  FUZZ_CHECK(reread->PingHost == TrimBlanks(bytes));
  return 0;
}
