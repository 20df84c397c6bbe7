#include "common/files.h"

namespace common {

bool FileExists(platform::FileSystem& fs, const std::string& path) {
  const auto attributes = fs.GetAttributes(path);
  return attributes && !attributes->directory && !attributes->hidden && !attributes->system;
}

bool ReplaceFileContents(platform::FileSystem& fs, const std::string& path,
                         const std::string& content) {
  const std::string temporary = path + ".new";
  if (!fs.WriteAll(temporary, content) || !fs.MoveReplacing(temporary, path)) {
    fs.Remove(temporary);
    return false;
  }
  return true;
}

}  // namespace common
