#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

inline constexpr const char* kDefaultProgramDirectory = "C:\\Program Files\\Kestrel";

// The directory a scenario installs programs and files into, inside the
// prefix. It is emptied when the object is made, so each scenario starts
// with only what it puts there. Relative names may contain backslashes
// ("Help\help.htm"); missing folders are created.
class ProgramDirectory {
 public:
  explicit ProgramDirectory(std::string path = kDefaultProgramDirectory);

  const std::string& Path() const { return path_; }
  // Path + "\" + relative, the way the programs form their file names.
  std::string PathOf(std::string_view relative) const;

  // Copies a file (a Windows or Unix path) into the directory, under its own
  // name or the one given; returns the installed path.
  std::string Install(const std::string& source, std::string_view name = {}) const;
  void WriteFile(std::string_view relative, std::string_view bytes) const;
  // The bytes of the file, or nothing when it does not exist.
  std::optional<std::string> ReadFile(std::string_view relative) const;
  bool Exists(std::string_view relative) const;
  void Remove(std::string_view relative) const;

 private:
  std::string path_;
};

// Removes a directory with everything in it; a missing one is fine.
void RemoveDirectoryTree(const std::string& path);

// The files below a directory, relative to it ("Help\help.htm"), sorted
// without regard to case; none for a missing directory.
std::vector<std::string> FilesBelow(const std::string& path);

}  // namespace e2e
