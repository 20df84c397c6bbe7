#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kestrel/kestrel_app.h"

namespace kestrel {

// Where the tip window's check box keeps its choice, per user.
inline constexpr const char* kTipSettingsSection = "Options";
inline constexpr const char* kShowTipsAtStartup = "Show Tips at Startup";

// Whether the tip window opens at start-up: the stored choice read as a
// whole number is 1. A missing choice, or one that is not a number, counts as 1.
bool ShowTipsAtStartup(KestrelApp& app);

// The tips file read as tips: every line is one, empty lines included; the
// last line counts without a line end too, and an empty text holds none.
std::vector<std::string> SplitTips(const std::string& text);

// The presentation model of frmTip: one tip at random from TIPs.TXT beside
// the program, and the check box that decides whether the window opens at
// the next start.
class TipModel {
 public:
  explicit TipModel(KestrelApp& app) : app_(app) {}

  // The window's load: ticks the check box (which stores the choice), then
  // shows a random tip, or says how to make the file when there is none.
  void Load();

  // Reads the tips from path and shows one of them; false when the path is
  // empty or names no file that can be read.
  bool LoadTips(const std::string& path);
  void ShowRandomTip();
  void DisplayCurrentTip();

  // Control events.
  void cmdNextTipClicked() { ShowRandomTip(); }
  // Stores the new state ("1" ticked, "0" clear) at once.
  void chkLoadTipsAtStartupClicked(int state);

  const std::string& lblTipText() const { return lblTipText_; }
  int chkLoadTipsAtStartup() const { return chkLoadTipsAtStartup_; }
  const std::vector<std::string>& TipList() const { return TipList_; }
  std::int32_t TipIndex() const { return TipIndex_; }

  static std::string TipsFilePath(KestrelApp& app);
  static std::string NotFoundText();

 private:
  KestrelApp& app_;
  std::vector<std::string> TipList_;
  std::int32_t TipIndex_ = 0;
  std::string lblTipText_;
  int chkLoadTipsAtStartup_ = 0;
};

}  // namespace kestrel
