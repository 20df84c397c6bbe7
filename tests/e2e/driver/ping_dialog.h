#pragma once

#include <string>
#include <string_view>

#include "tests/e2e/driver/app.h"
#include "tests/e2e/driver/window.h"

namespace e2e {

// frmPing, the ping configuration dialog, worked the way a user works it.
// Each step returns after the dialog's thread has handled it, except Press,
// whose click may open a modal box.
class PingDialog {
 public:
  explicit PingDialog(Window dialog) : dialog_(dialog) {}

  // The program's dialog, once it shows its controls.
  static PingDialog WaitFor(const App& app, Millis timeout = kDefaultTimeout);

  const Window& Dialog() const { return dialog_; }
  Window Control(int id) const { return dialog_.Child(id); }

  void Click(int id) const;
  void Press(int id) const;
  void ChooseInterval(std::string_view item) const;
  // Types into the host box, one character after the other.
  void TypeHost(std::string_view text) const;

  // The dialog in one line, as a user sees it: the mode, the host box (text,
  // "off" when disabled, "centred" when centred), the interval (the chosen
  // item or "none", "off" when disabled) and the sound box's state, as
  //   automatic host="Automatic"(off,centred) interval=5 min.(off) sound=0
  std::string Describe() const;

  void Settle() const;

 private:
  Window dialog_;
};

}  // namespace e2e
