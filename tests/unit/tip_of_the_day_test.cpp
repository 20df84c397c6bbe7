#include "kestrel/tip_of_the_day.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/doubles/fake_platform.h"

namespace {

using platform::RegistryRoot;
namespace reg = platform::reg;

const char* const kOptions = "Software\\Kestrel\\Options";
const char* const kSetting = "Show Tips at Startup";

TEST(SplitTipsTest, EveryLineIsATip) {
  const struct {
    const char* text;
    std::vector<std::string> tips;
  } cases[] = {
      {"", {}},
      {"one", {"one"}},
      {"one\r\n", {"one"}},
      {"one\r\ntwo", {"one", "two"}},  // the last line needs no line end
      {"one\r\n\r\ntwo\r\n", {"one", "", "two"}},
      {"\r\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {"unix\nmac\rwindows\r\n", {"unix", "mac", "windows"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR: two line ends
  };
  for (const auto& c : cases) EXPECT_EQ(kestrel::SplitTips(c.text), c.tips) << c.text;
}

class TipModelTest : public testing::Test {
 protected:
  void WriteTips(const std::string& text) { fake.files.Put(TipsFile(), text); }
  std::string TipsFile() const { return fake.ProgramFile("\\TIPs.TXT"); }
  std::optional<std::string> Stored() {
    const auto value = fake.registry.Get(RegistryRoot::CurrentUser, kOptions, kSetting);
    if (!value || value->type != reg::kTypeSz) return std::nullopt;
    return std::string(value->data.begin(), value->data.end());
  }

  doubles::FakeKestrel fake;
  kestrel::TipModel tip{fake.app};
};

TEST_F(TipModelTest, AMissingFileSaysHowToMakeOneAndNextTipKeepsIt) {
  tip.Load();
  EXPECT_EQ(
      tip.lblTipText(),
      "That the TIPs.TXT file was not found? \r\n\r\nCreate a text file named TIPs.TXT using "
      "NotePad with 1 tip per line. Then place it in the same directory as the application. ");
  tip.cmdNextTipClicked();
  EXPECT_EQ(tip.lblTipText(), kestrel::TipModel::NotFoundText());
  EXPECT_FALSE(tip.LoadTips(""));
}

TEST_F(TipModelTest, AnEmptyFileShowsNothingAndNoComplaint) {
  WriteTips("");
  tip.Load();
  EXPECT_EQ(tip.lblTipText(), "");
  tip.cmdNextTipClicked();
  EXPECT_EQ(tip.lblTipText(), "");
}

TEST_F(TipModelTest, OneLineIsShownAfterEveryDraw) {
  WriteTips("Only tip");
  fake.random.draws = {0.0, 0.5, 0.999999};
  tip.Load();
  EXPECT_EQ(tip.lblTipText(), "Only tip");
  for (int i = 0; i < 2; ++i) {
    tip.cmdNextTipClicked();
    EXPECT_EQ(tip.lblTipText(), "Only tip");
    EXPECT_EQ(tip.TipIndex(), 1);
  }
  EXPECT_EQ(fake.random.seeds, 1);
}

// A draw r picks tip floor(r * count) + 1; empty lines are tips too, and a
// draw that strays to 1 keeps to the last tip.
TEST_F(TipModelTest, TheDrawPicksTheTip) {
  WriteTips("first\r\n\r\nthird\r\nlast without line end");
  const struct {
    double draw;
    int index;
    const char* text;
  } cases[] = {{0.0, 1, "first"},
               {0.2499, 1, "first"},
               {0.25, 2, ""},
               {0.5, 3, "third"},
               {0.75, 4, "last without line end"},
               {0.99999, 4, "last without line end"},
               {1.0, 4, "last without line end"}};
  for (const auto& c : cases) fake.random.draws.push_back(c.draw);
  ASSERT_TRUE(tip.LoadTips(TipsFile()));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    if (i > 0) tip.ShowRandomTip();
    EXPECT_EQ(tip.TipIndex(), cases[i].index) << cases[i].draw;
    EXPECT_EQ(tip.lblTipText(), cases[i].text) << cases[i].draw;
  }
  EXPECT_EQ(tip.TipList().size(), 4u);
}

TEST_F(TipModelTest, OpeningTicksTheBoxAndTheBoxStoresAtOnce) {
  WriteTips("tip");
  fake.registry.Put(RegistryRoot::CurrentUser, kOptions, kSetting, {reg::kTypeSz, {'0', 0}});
  tip.Load();
  EXPECT_EQ(tip.chkLoadTipsAtStartup(), 1);
  EXPECT_EQ(Stored(), std::string("1\0", 2));
  tip.chkLoadTipsAtStartupClicked(0);
  EXPECT_EQ(tip.chkLoadTipsAtStartup(), 0);
  EXPECT_EQ(Stored(), std::string("0\0", 2));
  EXPECT_FALSE(kestrel::ShowTipsAtStartup(fake.app));
  tip.chkLoadTipsAtStartupClicked(1);
  EXPECT_EQ(Stored(), std::string("1\0", 2));
  EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
}

// Only the whole number 1 opens the window; what is not a number counts as 1.
TEST(ShowTipsAtStartupTest, TheStoredValueDecides) {
  const struct {
    std::optional<doubles::MemoryRegistry::Value> stored;
    bool shown;
  } cases[] = {
      {std::nullopt, true},
      {doubles::MemoryRegistry::Value{reg::kTypeSz, {'1', 0}}, true},
      {doubles::MemoryRegistry::Value{reg::kTypeSz, {'0', 0}}, false},
      {doubles::MemoryRegistry::Value{reg::kTypeSz, {'2', 0}}, false},
      {doubles::MemoryRegistry::Value{reg::kTypeSz, {' ', '1', ' ', 0}}, true},
      {doubles::MemoryRegistry::Value{reg::kTypeSz, {'1', '.', '4', 0}}, true},
      {doubles::MemoryRegistry::Value{reg::kTypeSz, {'y', 'e', 's', 0}}, true},
      {doubles::MemoryRegistry::Value{reg::kTypeSz, {}}, true},
      {doubles::MemoryRegistry::Value{reg::kTypeDword, {0, 0, 0, 0}}, false},
      {doubles::MemoryRegistry::Value{reg::kTypeDword, {1, 0, 0, 0}}, true},
      {doubles::MemoryRegistry::Value{reg::kTypeBinary, {'0'}}, true},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    doubles::FakeKestrel fake;
    if (cases[i].stored)
      fake.registry.Put(RegistryRoot::CurrentUser, kOptions, kSetting, *cases[i].stored);
    EXPECT_EQ(kestrel::ShowTipsAtStartup(fake.app), cases[i].shown) << i;
  }
}

TEST(ShowTipsAtStartupTest, AnUnreadableSettingCountsAsMissing) {
  doubles::FakeKestrel fake;
  fake.registry.Put(RegistryRoot::CurrentUser, kOptions, kSetting, {reg::kTypeSz, {'0', 0}});
  fake.registry.FailQueryValue(kOptions, kSetting, reg::kAccessDenied);
  EXPECT_TRUE(kestrel::ShowTipsAtStartup(fake.app));
  EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
}

}  // namespace
