#pragma once

#include <string>

namespace platform {

// YesNoDefaultNo: a question whose safe answer is No, so that Enter does not
// start what it asks about.
enum class MessageButtons { Ok, YesNo, YesNoDefaultNo };
enum class MessageIcon { None, Information, Exclamation };
enum class MessageAnswer { Ok, Yes, No };

// Modal message boxes, owned by the program's active window.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual MessageAnswer Show(const std::string& text, const std::string& caption,
                             MessageButtons buttons, MessageIcon icon) = 0;
};

}  // namespace platform
