#include "tests/e2e/driver/ping_dialog.h"

#include "common/ping_dialog_ids.h"

namespace e2e {
namespace {

namespace ids = common::ping_ids;

std::string Flags(const Window& control, bool centred) {
  std::string flags;
  if (!control.Enabled()) flags = "off";
  if (centred) flags += flags.empty() ? "centred" : ",centred";
  return flags.empty() ? "" : "(" + flags + ")";
}

}  // namespace

PingDialog PingDialog::WaitFor(const App& app, Millis timeout) {
  return PingDialog(app.WaitForWindow(ids::kPingWindowClass, ids::cmdDefault, timeout));
}

void PingDialog::Click(int id) const {
  Control(id).Click();
  Settle();
}

void PingDialog::Press(int id) const { Control(id).Click(); }

void PingDialog::ChooseInterval(std::string_view item) const {
  Control(ids::cmbPingInterval).ComboSelect(item);
  Settle();
}

void PingDialog::TypeHost(std::string_view text) const {
  Settle();
  Control(ids::txtPingHost).Type(text);
}

std::string PingDialog::Describe() const {
  const bool automatic = Control(ids::Option1).Checked();
  const bool manual = Control(ids::Option2).Checked();
  std::string out = automatic && !manual   ? "automatic"
                    : manual && !automatic ? "manual"
                    : automatic            ? "both"
                                           : "none";
  const Window host = Control(ids::txtPingHost);
  const bool centred = (GetWindowLongPtrA(host.Handle(), GWL_STYLE) & ES_CENTER) != 0;
  out += " host=\"" + host.Text() + "\"" + Flags(host, centred);
  const Window interval = Control(ids::cmbPingInterval);
  const std::string chosen = interval.ComboSelectedText();
  out += " interval=" + (chosen.empty() ? std::string("none") : chosen) + Flags(interval, false);
  out += " sound=" + std::to_string(Control(ids::chkSound).CheckState());
  return out;
}

void PingDialog::Settle() const {
  // The interval list is filled when the dialog opens, and never after.
  SettleThread(Control(ids::cmbPingInterval), dialog_);
}

}  // namespace e2e
