#pragma once

#include <functional>
#include <string>
#include <vector>

#include "kestrel/main_window.h"
#include "tests/doubles/fake_platform.h"

namespace doubles {

// A main window that records, in order, what its model asks of it. frmDisplay
// goes into the log of the message boxes, so that a test sees its place among
// them; everything else goes into calls, and observe (if set) sees each call
// as it happens.
class RecordingHost : public kestrel::MainWindowHost {
 public:
  explicit RecordingHost(RecordingMessageBoxes& messages) : messages_(messages) {}

  std::vector<std::string> calls;
  std::function<void(const std::string&)> observe;
  platform::WindowHandle owner = 0x1234;

  int Count(const std::string& call) const {
    int n = 0;
    for (const auto& c : calls) n += c == call;
    return n;
  }

  void ShowModeInformation() override { messages_.shown.push_back({"<frmDisplay>", "", {}, {}}); }
  void PumpMessages() override { Record("pump"); }
  platform::WindowHandle MainWindowHandle() const override { return owner; }
  void SetBusy(bool busy) override { Record(busy ? "busy" : "idle"); }
  void AssignToolbarImages() override { Record("images"); }
  void ShowTipOfTheDay(bool modal) override { Record(modal ? "tip modal" : "tip"); }
  void ShowMainWindow() override { Record("show"); }
  void CloseMainWindow() override { Record("close"); }
  void ShowPingDialog() override { Record("ping"); }
  std::optional<int> ShowMtuFinder(const std::string& host) override {
    Record("mtu " + host);
    return measuredMtu;
  }
  std::optional<int> measuredMtu;
  void ShowChangePreview(const kestrel::ChangePreview& preview) override {
    previews.push_back(preview);
    Record("preview");
  }
  std::vector<kestrel::ChangePreview> previews;

 private:
  void Record(const std::string& call) {
    calls.push_back(call);
    if (observe) observe(call);
  }

  RecordingMessageBoxes& messages_;
};

}  // namespace doubles
