#include "kestrel/registry_facts.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

using common::WindowsEra;
using L = RegistryLayout;

// What each generation of Windows reads and uses by default, by value.
TEST(RegistryFacts, ByVersion) {
  constexpr auto kRemoved = std::nullopt;
  struct Case {
    L layout;
    const char* name;
    WindowsEra era;
    ReadBy read;
    std::optional<std::int32_t> byDefault;
  } cases[] = {
      {L::Windows95Family, "DefaultRcvWindow", WindowsEra::Windows95Family, ReadBy::Yes, 8192},
      {L::Windows95Family, "DefaultTTL", WindowsEra::Windows95Family, ReadBy::Yes, 32},
      {L::Windows95Family, "SessionKeepAlive", WindowsEra::Windows95Family, ReadBy::Yes, 3600},
      {L::Windows95Family, "MaxMTU", WindowsEra::Windows95Family, ReadBy::Yes, kRemoved},
      {L::Windows95Family, "maxconnectionsperserver", WindowsEra::Windows95Family, ReadBy::Yes,
       2},
      {L::NtFamily, "TcpWindowSize", WindowsEra::Nt4ToXp, ReadBy::Yes, kRemoved},
      {L::NtFamily, "TcpWindowSize", WindowsEra::VistaAndLater, ReadBy::No, kRemoved},
      {L::NtFamily, "GlobalMaxTcpWindowSize", WindowsEra::Server2003, ReadBy::Yes, kRemoved},
      {L::NtFamily, "DefaultTTL", WindowsEra::Nt4ToXp, ReadBy::Yes, 128},
      {L::NtFamily, "DefaultTTL", WindowsEra::VistaAndLater, ReadBy::Yes, 128},
      {L::NtFamily, "KeepAliveTime", WindowsEra::VistaAndLater, ReadBy::Yes, 7200000},
      {L::NtFamily, "EnablePMTUBHDetect", WindowsEra::Nt4ToXp, ReadBy::Yes, 0},
      {L::NtFamily, "EnablePMTUBHDetect", WindowsEra::Server2003, ReadBy::Yes, kRemoved},
      {L::NtFamily, "EnablePMTUBHDetect", WindowsEra::VistaAndLater, ReadBy::Yes, 1},
      {L::NtFamily, "MaxConnectionsPer1_0Server", WindowsEra::VistaAndLater, ReadBy::Yes,
       kRemoved},
      {L::NtFamily, "MTU", WindowsEra::Nt4ToXp, ReadBy::Yes, kRemoved},
      {L::NtFamily, "MTU", WindowsEra::VistaAndLater, ReadBy::Undocumented, kRemoved},
      {L::NtFamily, "", WindowsEra::VistaAndLater, ReadBy::No, kRemoved},
      {L::NtFamily, "DefaultTTL", WindowsEra::Unknown, ReadBy::Undocumented, kRemoved},
  };
  for (const Case& c : cases) {
    const ValueFacts* facts = FindRegistryFacts(c.layout, c.name);
    ASSERT_NE(facts, nullptr) << c.name;
    const EraFacts& era = facts->For(c.era);
    EXPECT_EQ(era.read, c.read) << c.name << " " << EraName(c.era);
    EXPECT_EQ(era.defaultValue, c.byDefault) << c.name << " " << EraName(c.era);
    EXPECT_FALSE(era.reason.empty()) << c.name;
  }
  EXPECT_EQ(FindRegistryFacts(L::NtFamily, "DefaultRcvWindow"), nullptr);
}

// No value may keep a number of the other family: a value one family never
// reads has no default there either.
TEST(RegistryFacts, AValueNotReadHasNoDefault) {
  for (const ValueFacts& facts : RegistryFacts()) {
    for (const EraFacts& era : facts.eras) {
      if (era.read != ReadBy::Yes) {
        EXPECT_FALSE(era.defaultValue) << facts.name;
      }
    }
  }
}

}  // namespace
}  // namespace kestrel
