#include <gtest/gtest.h>

#include "common/files.h"
#include "platform/win32/adapters.h"
#include "tests/adapters/child_process.h"

namespace {

TEST(FileSystemAdapterTest, HiddenSystemAndFoldersAreNotFiles) {
  platform::win32::Win32FileSystem fs;
  const std::string path = adapters::TemporaryPath("attributes");
  ASSERT_TRUE(fs.WriteAll(path, "x"));
  EXPECT_TRUE(common::FileExists(fs, path));
  for (DWORD attribute : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), attribute));
    EXPECT_FALSE(common::FileExists(fs, path)) << attribute;
  }
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
  EXPECT_FALSE(common::FileExists(fs, path));

  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  EXPECT_FALSE(common::FileExists(fs, folder));
}

TEST(FileSystemAdapterTest, ReplacesContentsWholeAndLeavesNoTemporaryFile) {
  platform::win32::Win32FileSystem fs;
  const std::string path = adapters::TemporaryPath("replace");
  ASSERT_TRUE(common::ReplaceFileContents(fs, path, "first\r\n"));
  ASSERT_TRUE(common::ReplaceFileContents(fs, path, "ConnectionType,1\r\nOptiMode,0\r\n"));
  EXPECT_EQ(fs.ReadAll(path), "ConnectionType,1\r\nOptiMode,0\r\n");
  EXPECT_FALSE(fs.GetAttributes(path + ".new"));
  DeleteFileA(path.c_str());
}

TEST(FileSystemAdapterTest, AFailedReplaceKeepsTheOldFile) {
  platform::win32::Win32FileSystem fs;
  const std::string path = adapters::TemporaryPath("readonly");
  ASSERT_TRUE(fs.WriteAll(path, "old"));
  {
    // Another program holding the file open without sharing stops the move.
    platform::win32::UniqueFile held(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    EXPECT_FALSE(common::ReplaceFileContents(fs, path, "new"));
    EXPECT_FALSE(fs.GetAttributes(path + ".new"));
  }
  EXPECT_EQ(fs.ReadAll(path), "old");
  DeleteFileA(path.c_str());

  EXPECT_FALSE(common::ReplaceFileContents(fs, "C:\\no such folder\\Kestrel.cfg", "x"));
  EXPECT_FALSE(fs.ReadAll("C:\\no such folder\\Kestrel.cfg"));
}

TEST(FileSystemAdapterTest, ReadsTheStartAndSeesANewWrite) {
  platform::win32::Win32FileSystem fs;
  const std::string path = adapters::TemporaryPath("start");
  ASSERT_TRUE(fs.WriteAll(path, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE]"));
  EXPECT_EQ(fs.ReadStart(path, 8), "REGEDIT4");
  EXPECT_EQ(fs.ReadStart(path, 1000), fs.ReadAll(path));
  const auto before = fs.GetAttributes(path);
  ASSERT_TRUE(before);
  Sleep(50);
  ASSERT_TRUE(fs.WriteAll(path, "again"));
  const auto after = fs.GetAttributes(path);
  ASSERT_TRUE(after);
  EXPECT_NE(after->lastWrite, before->lastWrite);
  DeleteFileA(path.c_str());
  EXPECT_FALSE(fs.ReadStart(path, 8));
}

}  // namespace
