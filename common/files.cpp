#include "common/files.h"

namespace common {

bool FileExists(platform::FileSystem& fs, const std::string& path) {
  const auto attributes = fs.GetAttributes(path);
  return attributes && !attributes->directory && !attributes->hidden && !attributes->system;
}

namespace {

// Writes a temporary file beside the target and moves it over the target. On
// failure, refused (when given) tells whether the temporary file could not
// even be created, which is how a folder that the user may not write refuses.
bool Replace(platform::FileSystem& fs, const std::string& path, const std::string& content,
             bool* refused) {
  const std::string temporary = path + ".new";
  const bool written = fs.WriteAll(temporary, content);
  if (written && fs.MoveReplacing(temporary, path)) return true;
  if (refused) *refused = !written && !fs.GetAttributes(temporary);
  fs.Remove(temporary);
  return false;
}

}  // namespace

bool ReplaceFileContents(platform::FileSystem& fs, const std::string& path,
                         const std::string& content) {
  return Replace(fs, path, content, nullptr);
}

bool ReplaceOrRewriteFileContents(platform::FileSystem& fs, const std::string& path,
                                  const std::string& content) {
  bool refused = false;
  if (Replace(fs, path, content, &refused)) return true;
  return refused && FileExists(fs, path) && fs.WriteAll(path, content);
}

}  // namespace common
