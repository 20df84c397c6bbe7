#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/registry.h"

namespace kestrel {

// What one registry value held before Kestrel first changed it: nothing (the
// value did not exist), or its type and every byte of its data.
struct PreviousValue {
  platform::RegistryRoot root = platform::RegistryRoot::LocalMachine;
  std::string key;   // the path below the root, as Kestrel opened it
  std::string name;  // empty for the key's default value
  bool existed = false;
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;

  bool operator==(const PreviousValue&) const = default;
};

// The undo record: the previous state of every value Kestrel has changed, in
// the order of the first changes. A value is in it at most once.
struct UndoRecord {
  std::vector<PreviousValue> values;

  // Whether the value is recorded already. Key paths and value names compare
  // without regard to case, as the registry compares them.
  bool Holds(platform::RegistryRoot root, const std::string& key, const std::string& name) const;

  bool operator==(const UndoRecord&) const = default;
};

// Undo.txt as written: comment lines that say what the file is, then one line
// per value, "ROOT\key|name|state", where the state is "absent",
// "REG_SZ:text", "REG_DWORD:number" or "hex(type):bytes". Characters that
// would break a line or its fields are written as %XX.
std::string FormatUndoRecord(const UndoRecord& record);

// Reads Undo.txt. A byte order mark, CRLF or LF line ends, blanks at line
// ends, blank lines and comment lines (";") are fine. Nothing when any line
// cannot be read, so that a damaged record is never half applied.
std::optional<UndoRecord> ParseUndoRecord(const std::string& text);

// The full path of Undo.txt in the program directory.
std::string UndoRecordPath(const std::string& programDirectory);

struct LoadedUndoRecord {
  enum class Status { Missing, Read, Damaged } status = Status::Missing;
  UndoRecord record;
};

// Reads the record file; a missing file is an empty record, a file that
// cannot be read or parsed is Damaged.
LoadedUndoRecord LoadUndoRecord(platform::FileSystem& files, const std::string& path);

// A registry that notes each value's previous state in the undo record before
// the first change of that value, and saves the record before making the
// change. A value whose previous state cannot be read, or whose note cannot be
// saved, is not changed: the write fails instead, since a change that cannot
// be undone must not happen. Everything else passes through to the inner
// registry.
class RecordingRegistry : public platform::Registry {
 public:
  RecordingRegistry(platform::Registry& inner, platform::FileSystem& files, std::string recordPath,
                    UndoRecord record);

  long CreateKey(platform::RegistryRoot root, const std::string& subkey, Key& key) override;
  long OpenKey(platform::RegistryRoot root, const std::string& subkey, Key& key) override;
  long SetValue(Key key, const std::string& name, std::uint32_t type,
                std::span<const std::uint8_t> data) override;
  long DeleteValue(Key key, const std::string& name) override;
  long QueryValue(Key key, const std::string& name, std::uint32_t& type,
                  std::vector<std::uint8_t>& data) override;
  long EnumKey(Key key, std::uint32_t index, std::string& name) override;
  long CloseKey(Key key) override;

  // True when a change was refused because the record could not be saved.
  bool RecordNotSaved() const { return recordNotSaved_; }
  const UndoRecord& record() const { return record_; }

 private:
  struct OpenedKey {
    platform::RegistryRoot root;
    std::string path;
  };

  long Track(long result, platform::RegistryRoot root, const std::string& subkey, Key key);
  // Records the value's previous state unless it is recorded already.
  long RecordBeforeChange(Key key, const std::string& name);

  platform::Registry& inner_;
  platform::FileSystem& files_;
  std::string recordPath_;
  UndoRecord record_;
  std::map<Key, OpenedKey> opened_;
  bool recordNotSaved_ = false;
};

}  // namespace kestrel
