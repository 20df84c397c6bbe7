#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/driver/window.h"

namespace e2e {

enum class MessageIcon { kNone, kInformation, kWarning, kError, kQuestion, kOther };
const char* ToString(MessageIcon icon);
// For GoogleTest's messages.
inline void PrintTo(MessageIcon icon, std::ostream* out) {
  *out << ToString(icon);
}

// A message box (MessageBoxA) of the program under test: a "#32770" dialog
// whose text is the static control 0xFFFF.
class MessageBoxWindow : public Window {
 public:
  static constexpr int kTextId = 0xFFFF;
  static constexpr int kIconId = 0x0440;  // Wine's icon control in the box

  explicit MessageBoxWindow(Window window) : Window(window) {}

  std::string Caption() const { return Text(); }
  std::string Message() const { return Child(kTextId).Text(); }
  // Which of the system's icons the box shows, told from its pixels.
  MessageIcon Icon() const;
  // The ids of its buttons (IDOK, IDCANCEL, IDYES, IDNO, ...), left to right.
  std::vector<int> Buttons() const;
  // The id of the button that Enter presses, or 0 when there is none.
  int DefaultButton() const;
  // Answers the box as a click on the button would; throws a Failure when
  // the box has no such button.
  void Answer(int button_id) const;
  // Answers and waits until the box has gone.
  void AnswerAndWait(int button_id, Millis timeout = kDefaultTimeout) const;

  // "message box "Kestrel": "text" [OK]" for failure messages.
  std::string Describe() const;
};

// The visible message box of the process, if it shows one.
std::optional<MessageBoxWindow> FindMessageBox(DWORD process_id);

}  // namespace e2e
