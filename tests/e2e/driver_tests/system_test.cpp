// The driver's registry and file access, against the prefix's real ones.
#include <gtest/gtest.h>

#include "tests/e2e/driver/program_directory.h"
#include "tests/e2e/driver/registry.h"
#include "tests/e2e/driver/wait.h"

namespace {

using e2e::RegistryValue;

constexpr const char* kKey = "HKCU\\Software\\E2eDriverTest";

class Registry : public ::testing::Test {
 protected:
  void SetUp() override { e2e::DeleteRegistryKey(kKey); }
  void TearDown() override { e2e::DeleteRegistryKey(kKey); }
};

TEST_F(Registry, ValuesComeBackWithTypeAndBytes) {
  const std::pair<const char*, RegistryValue> cases[] = {
      {"Text", e2e::StringValue("1500")},
      {"Empty", e2e::StringValue("")},
      {"Number", e2e::DwordValue(0xFFFFFFFFu)},
      {"Zero", e2e::DwordValue(0)},
      {"Binary", RegistryValue{REG_BINARY, {0, 1, 0xFF}}},
      {"NoTerminator", RegistryValue{REG_SZ, {'a', 'b'}}},
      {"", e2e::StringValue("default value")},
  };
  for (const auto& [name, value] : cases) e2e::WriteRegistryValue(kKey, name, value);
  for (const auto& [name, value] : cases) {
    SCOPED_TRACE(name);
    const auto read = e2e::ReadRegistryValue(kKey, name);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->type, value.type);
    // Wine may add the missing terminator of a REG_SZ; the text must match.
    if (value.type == REG_SZ) {
      EXPECT_EQ(read->String(), value.String());
    } else {
      EXPECT_EQ(read->data, value.data);
    }
  }
}

TEST_F(Registry, MissingKeysAndValuesReadAsNothing) {
  EXPECT_FALSE(e2e::RegistryKeyExists(kKey));
  EXPECT_FALSE(e2e::ReadRegistryValue(kKey, "Anything").has_value());
  EXPECT_TRUE(e2e::RegistryValueNames(kKey).empty());
  e2e::WriteRegistryValue(kKey, "One", e2e::DwordValue(1));
  EXPECT_FALSE(e2e::ReadRegistryValue(kKey, "Two").has_value());
  EXPECT_NO_THROW(e2e::DeleteRegistryValue(kKey, "Two"));
  e2e::DeleteRegistryValue(kKey, "One");
  EXPECT_FALSE(e2e::ReadRegistryValue(kKey, "One").has_value());
  EXPECT_TRUE(e2e::RegistryKeyExists(kKey));
}

TEST_F(Registry, KeysWithSubkeysAreDeletedWhole) {
  const std::string deep = std::string(kKey) + "\\A\\B\\C";
  e2e::WriteRegistryValue(deep, "V", e2e::DwordValue(5));
  e2e::WriteRegistryValue(std::string(kKey) + "\\D", "V", e2e::DwordValue(6));
  EXPECT_EQ(e2e::RegistrySubkeys(kKey), (std::vector<std::string>{"A", "D"}));
  e2e::DeleteRegistryKey(kKey);
  EXPECT_FALSE(e2e::RegistryKeyExists(kKey));
  EXPECT_NO_THROW(e2e::DeleteRegistryKey(kKey));
}

TEST(RegistryPaths, UnknownRootsAndTheRootItselfAreRefused) {
  EXPECT_THROW(e2e::ReadRegistryValue("HKXX\\Software", "V"), e2e::Failure);
  EXPECT_THROW(e2e::ReadRegistryValue("Software\\Wine", "V"), e2e::Failure);
  EXPECT_THROW(e2e::DeleteRegistryKey("HKCU"), e2e::Failure);
  EXPECT_NO_THROW(e2e::ReadRegistryValue("HKEY_LOCAL_MACHINE\\Software", "NoSuchValue"));
}

TEST(RegistryValue, ReadsOnlyMatchingTypes) {
  EXPECT_EQ(RegistryValue({REG_SZ, {'a', 0, 'b', 0}}).String(), "a");
  EXPECT_EQ(RegistryValue({REG_EXPAND_SZ, {'%', 'x', '%', 0}}).String(), "%x%");
  EXPECT_FALSE(RegistryValue({REG_BINARY, {'a', 0}}).String().has_value());
  EXPECT_EQ(RegistryValue({REG_DWORD, {0xB4, 0x05, 0, 0}}).Dword(), 0x5B4u);
  EXPECT_FALSE(RegistryValue({REG_DWORD, {1, 0, 0}}).Dword().has_value());
  EXPECT_FALSE(RegistryValue({REG_SZ, {1, 0, 0, 0}}).Dword().has_value());
  EXPECT_EQ(e2e::DwordValue(1460).Describe(), "REG_DWORD 0x5b4");
  EXPECT_EQ(RegistryValue({REG_SZ, {'a'}}).Describe(), "REG_SZ \"a\" (no terminating zero)");
  EXPECT_EQ(RegistryValue({REG_BINARY, {0, 0xAB}}).Describe(), "type 3, bytes 00 ab");
}

TEST(ProgramDirectory, StartsEmptyAndKeepsBytesExactly) {
  const std::string where = "C:\\e2e-driver-test\\Program";
  {
    e2e::ProgramDirectory first(where);
    first.WriteFile("Help\\help.htm", "<html>");
    first.WriteFile("left.cfg", "x");
  }
  e2e::ProgramDirectory dir(where);
  EXPECT_FALSE(dir.Exists("left.cfg"));
  EXPECT_FALSE(dir.Exists("Help\\help.htm"));

  const std::string bytes("line one\r\n\0\xFF#TRUE#\r\n", 20);
  dir.WriteFile("Sub\\Deeper\\Kestrel.cfg", bytes);
  EXPECT_EQ(dir.ReadFile("Sub\\Deeper\\Kestrel.cfg"), bytes);
  dir.WriteFile("empty", "");
  EXPECT_EQ(dir.ReadFile("empty"), "");
  EXPECT_FALSE(dir.ReadFile("missing.cfg").has_value());
  EXPECT_FALSE(dir.ReadFile("NoFolder\\missing.cfg").has_value());

  dir.Remove("empty");
  EXPECT_FALSE(dir.Exists("empty"));
  EXPECT_NO_THROW(dir.Remove("empty"));
  EXPECT_THROW(dir.Install("C:\\no\\such\\file.exe"), e2e::Failure);
  EXPECT_EQ(dir.Install(dir.PathOf("Sub\\Deeper\\Kestrel.cfg"), "Copy.cfg"), where + "\\Copy.cfg");
  EXPECT_EQ(dir.ReadFile("Copy.cfg"), bytes);
  e2e::RemoveDirectoryTree("C:\\e2e-driver-test");
}

}  // namespace
