#pragma once

#include <string>

#include "platform/file_system.h"

namespace common {

// True when the path names an existing file; hidden and system files, and
// folders, count as missing.
bool FileExists(platform::FileSystem& fs, const std::string& path);

// Writes the whole content to a temporary file beside the target and moves it
// over the target, so that a failure never leaves the old file empty or half
// written. Returns false, with the old file untouched, on any failure.
bool ReplaceFileContents(platform::FileSystem& fs, const std::string& path,
                         const std::string& content);

// As ReplaceFileContents, but for a file that users who may not create files
// in its folder still may change (the ping settings under Program Files):
// when the folder refuses the temporary file, the existing file is rewritten
// in place. That write is not atomic, but it is the only one such a user is
// allowed. A temporary file that was created and then failed (a full disk)
// is no refusal: the old file stays untouched then.
bool ReplaceOrRewriteFileContents(platform::FileSystem& fs, const std::string& path,
                                  const std::string& content);

// A file of the program directory: the directory followed by a relative part
// that begins with a backslash, with no further normalisation.
inline std::string ProgramFile(const std::string& programDirectory, const char* relative) {
  return programDirectory + relative;
}

}  // namespace common
