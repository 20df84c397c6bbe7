#include "tests/e2e/driver/app.h"

namespace e2e {

std::vector<Window> App::Windows(Visibility visibility) const {
  return TopLevelWindows({}, Id(), visibility);
}

std::optional<Window> App::FindWindow(std::string_view class_name) const {
  const std::vector<Window> found = TopLevelWindows(class_name, Id());
  if (found.empty()) return std::nullopt;
  return found.front();
}

Window App::WaitForWindow(std::string_view class_name, int child_id, Millis timeout) const {
  std::string what = "a visible \"" + std::string(class_name) + "\" window";
  if (child_id != 0) what += " with a control with id " + std::to_string(child_id);
  what += " of " + process_.Describe();
  return WaitFor<Window>(
      [&]() -> std::optional<Window> {
        for (const Window& window : TopLevelWindows(class_name, Id())) {
          if (child_id == 0 || window.FindChild(child_id)) return window;
        }
        FailIfEnded(what);
        return std::nullopt;
      },
      what, timeout, [&] { return DescribeState(); });
}

MessageBoxWindow App::WaitForMessageBox(Millis timeout) const {
  const std::string what = "a message box of " + process_.Describe();
  return WaitFor<MessageBoxWindow>(
      [&]() -> std::optional<MessageBoxWindow> {
        if (auto box = FindMessageBox()) return box;
        FailIfEnded(what);
        return std::nullopt;
      },
      what, timeout, [&] { return DescribeState(); });
}

DWORD App::WaitForExitWithoutWindow(Millis timeout) const {
  WaitUntil(
      [&] {
        // Look before testing for the end, so that a window shown just before
        // the end is not missed.
        const std::vector<Window> shown = Windows();
        const bool ended = !Running();
        if (!shown.empty()) {
          throw Failure(process_.Describe() +
                        " showed a window where it should show none: " + DescribeWindows(shown));
        }
        return ended;
      },
      process_.Describe() + " to end", timeout, [&] { return DescribeState(); });
  return process_.ExitCode().value_or(0xFFFFFFFFu);
}

std::string App::DescribeState() const {
  if (const auto code = process_.ExitCode()) {
    return process_.Describe() + " ended with exit code " + std::to_string(*code);
  }
  return process_.Describe() + " runs and shows " + DescribeWindows(Windows());
}

void App::FailIfEnded(std::string_view waiting_for) const {
  if (const auto code = process_.ExitCode()) {
    throw Failure(process_.Describe() + " ended with exit code " + std::to_string(*code) +
                  " while the scenario waited for " + std::string(waiting_for));
  }
}

}  // namespace e2e
