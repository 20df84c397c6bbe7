#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

struct FileAttributes {
  bool directory = false;
  bool hidden = false;
  bool system = false;
  // When the file was last written, in the system's units; only compared
  // with another reading of the same file.
  std::uint64_t lastWrite = 0;
};

// The files of the program directory. Paths are full system paths. The names
// differ from the system's own so that its A/W macros cannot rename them.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Nothing when the path names nothing.
  virtual std::optional<FileAttributes> GetAttributes(const std::string& path) = 0;
  // The whole file, or nothing when it cannot be read.
  virtual std::optional<std::string> ReadAll(const std::string& path) = 0;
  // At most the first count bytes, for a look at a file's header without
  // reading a large file whole; nothing when it cannot be read.
  virtual std::optional<std::string> ReadStart(const std::string& path, std::size_t count) = 0;
  // Creates or truncates the file and writes all bytes to disk; false on any failure.
  virtual bool WriteAll(const std::string& path, const std::string& bytes) = 0;
  // Moves from over to, replacing to when it exists.
  virtual bool MoveReplacing(const std::string& from, const std::string& to) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // Adds the bytes at the end of the file, creating it when missing; false
  // on any failure.
  virtual bool AppendAll(const std::string& path, const std::string& bytes) = 0;
  // Creates the folder (its parent must exist); true when it exists afterwards.
  virtual bool CreateFolder(const std::string& path) = 0;
};

}  // namespace platform
