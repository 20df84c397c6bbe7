#include "kestrel/tip_of_the_day.h"

#include <algorithm>
#include <cmath>

#include "common/files.h"
#include "common/numbers.h"
#include "common/user_settings.h"

namespace kestrel {
namespace {

constexpr const char* kTipsFile = "TIPs.TXT";

common::UserSettings Settings(KestrelApp& app) {
  return common::UserSettings(app.platform.registry, kProgramTitle);
}

}  // namespace

bool ShowTipsAtStartup(KestrelApp& app) {
  const std::string stored =
      Settings(app).Get(kTipSettingsSection, kShowTipsAtStartup).value_or("1");
  const auto number = common::ReadWholeNumber(stored);
  return !number || *number == 1;
}

std::vector<std::string> SplitTips(const std::string& text) {
  // A line ends at CRLF, or at a lone CR or LF as other editors leave them.
  std::vector<std::string> tips;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    tips.push_back(text.substr(start, end - start));
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return tips;
}

std::string TipModel::TipsFilePath(KestrelApp& app) {
  return app.ProgramDirectory() + "\\" + kTipsFile;
}

std::string TipModel::NotFoundText() {
  return std::string("That the ") + kTipsFile +
         " file was not found? \r\n\r\nCreate a text file named " + kTipsFile +
         " using NotePad with 1 tip per line. " +
         "Then place it in the same directory as the application. ";
}

void TipModel::Load() {
  chkLoadTipsAtStartupClicked(1);
  app_.platform.random.SeedFromClock();
  if (!LoadTips(TipsFilePath(app_))) lblTipText_ = NotFoundText();
}

bool TipModel::LoadTips(const std::string& path) {
  if (path.empty() || !common::FileExists(app_.platform.files, path)) return false;
  const auto text = app_.platform.files.ReadAll(path);
  if (!text) return false;
  const std::vector<std::string> tips = SplitTips(*text);
  TipList_.insert(TipList_.end(), tips.begin(), tips.end());
  ShowRandomTip();
  return true;
}

void TipModel::ShowRandomTip() {
  const double draw = app_.platform.random.Next();
  const auto count = static_cast<double>(TipList_.size());
  // Kept within the list even if a draw strays to 1 or beyond.
  const double picked = std::floor(draw * count) + 1;
  TipIndex_ = static_cast<std::int32_t>(std::clamp(picked, 1.0, std::max(count, 1.0)));
  DisplayCurrentTip();
}

void TipModel::DisplayCurrentTip() {
  if (TipList_.empty()) return;
  lblTipText_ = TipList_[static_cast<std::size_t>(TipIndex_ - 1)];
}

void TipModel::chkLoadTipsAtStartupClicked(int state) {
  chkLoadTipsAtStartup_ = state;
  // A choice that cannot be stored only means the window opens at the next
  // start as before; there is nothing the user could do about it here.
  Settings(app_).Save(kTipSettingsSection, kShowTipsAtStartup, state == 1 ? "1" : "0");
}

}  // namespace kestrel
