#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/driver/message_box.h"
#include "tests/e2e/driver/process.h"
#include "tests/e2e/driver/window.h"

namespace e2e {

// A started program and what it shows. Waits for one of its windows end
// early, with the exit code in the failure, when the program ends first.
class App {
 public:
  explicit App(Process process) : process_(std::move(process)) {}

  const Process& GetProcess() const { return process_; }
  DWORD Id() const { return process_.Id(); }
  bool Running() const { return process_.Running(); }

  // Its top-level windows.
  std::vector<Window> Windows(Visibility visibility = Visibility::kVisible) const;
  std::optional<Window> FindWindow(std::string_view class_name) const;
  // Waits for a visible top-level window of the class that holds a control
  // with child_id (0: any), since a window can show before its controls exist.
  Window WaitForWindow(std::string_view class_name, int child_id = 0,
                       Millis timeout = kDefaultTimeout) const;

  std::optional<MessageBoxWindow> FindMessageBox() const { return e2e::FindMessageBox(Id()); }
  MessageBoxWindow WaitForMessageBox(Millis timeout = kDefaultTimeout) const;

  DWORD WaitForExit(Millis timeout = kDefaultTimeout) const {
    return process_.WaitForExit(timeout);
  }
  // Waits for the end and fails if a visible top-level window showed up
  // meanwhile (the watch looks every few milliseconds).
  DWORD WaitForExitWithoutWindow(Millis timeout = kDefaultTimeout) const;
  void Terminate() const { process_.Terminate(); }

  // "Kestrel.exe (...) runs and shows ..." or "... ended with exit code 3".
  std::string DescribeState() const;

 private:
  void FailIfEnded(std::string_view waiting_for) const;

  Process process_;
};

}  // namespace e2e
