#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace doubles {

// Files held in memory, addressed by full path; paths compare without regard to
// case, as the system's do. Every call is recorded in order, and writes, moves
// and reads can be made to fail.
class MemoryFileSystem : public platform::FileSystem {
 public:
  enum class Op {
    GetAttributes,
    ReadAll,
    ReadStart,
    WriteAll,
    MoveReplacing,
    Remove,
    AppendAll,
    CreateFolder,
  };

  struct Call {
    Op op;
    std::string path;
    std::string to;  // MoveReplacing only
  };

  enum class WriteFailure {
    None,
    Refused,   // nothing is created or changed, as in a read-only folder
    DiskFull,  // the file written holds the first half of the bytes, then the write fails
    // A new file is refused, an existing one is written: a folder where the
    // user may change only the files granted to them.
    NewFilesRefused,
  };

  std::optional<platform::FileAttributes> GetAttributes(const std::string& path) override;
  std::optional<std::string> ReadAll(const std::string& path) override;
  std::optional<std::string> ReadStart(const std::string& path, std::size_t count) override;
  bool WriteAll(const std::string& path, const std::string& bytes) override;
  bool MoveReplacing(const std::string& from, const std::string& to) override;
  bool Remove(const std::string& path) override;
  bool AppendAll(const std::string& path, const std::string& bytes) override;
  bool CreateFolder(const std::string& path) override;

  // Arranging and reading the files directly, without recording. Every
  // write, Put included, gives the file a later write time than any before.
  void Put(const std::string& path, const std::string& bytes,
           platform::FileAttributes attributes = {});
  void AddDirectory(const std::string& path);
  std::optional<std::string> Contents(const std::string& path) const;
  bool Exists(const std::string& path) const;
  std::vector<std::string> Paths() const;

  // Every later WriteAll fails in this way.
  void FailWrites(WriteFailure failure) { writeFailure_ = failure; }
  // Every later WriteAll of this one path is refused; the others work.
  void FailWritesTo(const std::string& path);
  void FailMoves(bool fail) { failMoves_ = fail; }
  void FailReads(bool fail) { failReads_ = fail; }

  const std::vector<Call>& Calls() const { return calls_; }

 private:
  struct Entry {
    std::string path;
    std::string bytes;
    platform::FileAttributes attributes;
  };

  Entry* Find(const std::string& path);
  const Entry* Find(const std::string& path) const;

  std::map<std::string, Entry> files_;  // by path in lower case
  std::uint64_t clock_ = 0;            // the write time of the latest write
  std::vector<Call> calls_;
  WriteFailure writeFailure_ = WriteFailure::None;
  std::vector<std::string> refusedPaths_;  // in lower case
  bool failMoves_ = false;
  bool failReads_ = false;
};

}  // namespace doubles
