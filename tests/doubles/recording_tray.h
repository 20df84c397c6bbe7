#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/tray.h"

namespace doubles {

// Records every call in order. The shell's answer can be set per operation,
// and the taskbar-created number can be 0, as when it cannot be registered.
class RecordingTray : public platform::Tray {
 public:
  struct Call {
    std::string what;  // "add", "modify", "delete", "foreground", "empty", "balloon"
    platform::NotifyIconData record;
    platform::WindowHandle window = 0;
    std::string text;  // a balloon's title and text, joined by "|"
  };
  std::vector<Call> calls;
  bool addResult = true;
  bool modifyResult = true;
  bool deleteResult = true;
  std::uint32_t taskbarCreated = 0xC0F1;
  int registrations = 0;

  bool NotifyIcon(platform::TrayOperation operation,
                  const platform::NotifyIconData& record) override {
    switch (operation) {
      case platform::TrayOperation::Add:
        calls.push_back({"add", record});
        return addResult;
      case platform::TrayOperation::Modify:
        calls.push_back({"modify", record});
        return modifyResult;
      case platform::TrayOperation::Delete:
        calls.push_back({"delete", record});
        return deleteResult;
    }
    return false;
  }
  std::uint32_t TaskbarCreatedMessage() override {
    ++registrations;
    return taskbarCreated;
  }
  bool BringToForeground(platform::WindowHandle window) override {
    calls.push_back({"foreground", {}, window});
    return true;
  }
  void PostEmptyMessage(platform::WindowHandle window) override {
    calls.push_back({"empty", {}, window});
  }

  bool ShowBalloon(const platform::NotifyIconData& record, const std::string& title,
                   const std::string& text) override {
    calls.push_back({"balloon", record, record.window, title + "|" + text});
    return true;
  }
  std::vector<std::string> Balloons() const {
    std::vector<std::string> texts;
    for (const Call& call : calls) {
      if (call.what == "balloon") texts.push_back(call.text);
    }
    return texts;
  }

  // The kinds of the calls so far, in order.
  std::vector<std::string> Kinds() const {
    std::vector<std::string> kinds;
    for (const Call& call : calls) kinds.push_back(call.what);
    return kinds;
  }
};

}  // namespace doubles
