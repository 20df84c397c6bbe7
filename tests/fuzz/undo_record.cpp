// Undo.txt: any bytes that an editor, another program or a damaged disk can
// leave in the undo record.
//
// A record that is read writes back to the same record, so that saving it
// again after a new note never changes an older note. A damaged record
// changes nothing in the registry and stays on disk. A record that is read
// puts every value back as its first note says, or, when a value cannot be
// written, stays on disk for the next try.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "kestrel/undo.h"
#include "kestrel/undo_record.h"
#include "tests/doubles/memory_file_system.h"
#include "tests/doubles/memory_registry.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

const char kRecordPath[] = "C:\\Kestrel\\Undo.txt";

// Whether two notes name one value of the registry: it compares names
// without regard to case and takes one trailing backslash of a key as no
// backslash, so two notes can reach one value.
bool SameValue(const kestrel::PreviousValue& a, const kestrel::PreviousValue& b) {
  const auto key = [](const std::string& path) {
    return !path.empty() && path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
  };
  kestrel::UndoRecord one;
  one.values.push_back(a);
  one.values.back().key = key(a.key);
  return one.Holds(b.root, key(b.key), b.name);
}

// The first note of the value: the state it had before Kestrel first changed it.
const kestrel::PreviousValue& FirstNote(const kestrel::UndoRecord& record,
                                        const kestrel::PreviousValue& value) {
  for (const auto& note : record.values) {
    if (SameValue(note, value)) return note;
  }
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::optional<kestrel::UndoRecord> record = kestrel::ParseUndoRecord(bytes);

  doubles::MemoryFileSystem files;
  files.Put(kRecordPath, bytes);
  doubles::MemoryRegistry registry;
  const kestrel::UndoResult result = kestrel::UndoChanges(registry, files, kRecordPath);

  if (!record) {
    FUZZ_CHECK(result == kestrel::UndoResult::RecordDamaged);
    FUZZ_CHECK(registry.Writes().empty());
    FUZZ_CHECK(files.Contents(kRecordPath) == bytes);
    return 0;
  }

  const std::string formatted = kestrel::FormatUndoRecord(*record);
  const auto reread = kestrel::ParseUndoRecord(formatted);
  FUZZ_CHECK(reread.has_value());
  FUZZ_CHECK(*reread == *record);
  FUZZ_CHECK(kestrel::FormatUndoRecord(*reread) == formatted);
  FUZZ_CHECK(registry.OpenHandleCount() == 0);

  if (record->values.empty()) {
    FUZZ_CHECK(result == kestrel::UndoResult::NothingToUndo);
    FUZZ_CHECK(registry.Writes().empty());
    return 0;
  }
  if (result == kestrel::UndoResult::RegistryNotWritten) {
    FUZZ_CHECK(files.Contents(kRecordPath) == bytes);
    return 0;
  }
  FUZZ_CHECK(result == kestrel::UndoResult::Undone);
  FUZZ_CHECK(!files.Exists(kRecordPath));
  for (const auto& value : record->values) {
    const kestrel::PreviousValue& first = FirstNote(*record, value);
    const auto now = registry.Get(value.root, value.key, value.name);
    FUZZ_CHECK(now.has_value() == first.existed);
    if (now) FUZZ_CHECK(now->type == first.type && now->data == first.data);
  }
  return 0;
}
