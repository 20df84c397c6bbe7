#include "kestrel/undo_record.h"

#include <utility>

#include "common/files.h"
#include "common/numbers.h"

namespace kestrel {
namespace {

namespace reg = platform::reg;
using platform::RegistryRoot;

// The system's codes for a handle it does not know and for a failed write.
constexpr long kInvalidHandle = 6;
constexpr long kWriteFault = 29;

constexpr const char* kHeader =
    "; Kestrel's undo record: what each registry value held before Kestrel first changed it.\r\n"
    "; \"Undo All Changes by Kestrel\" in the File menu, or Kestrel.exe /undo, puts these back\r\n"
    "; and then deletes this file. Keep it while Kestrel's settings are in force.\r\n"
    "; One line per value: key|value name|previous state (absent, REG_SZ:text,\r\n"
    "; REG_DWORD:number or hex(type):bytes); %XX stands for the byte XX.\r\n";

constexpr const char* kHexDigits = "0123456789ABCDEF";

using common::SameTextIgnoringCase;

bool StartsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

void AppendHex(std::string& out, std::uint8_t byte) {
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 0xF];
}

// A field as it can stand on a line: the separator, the escape character,
// line breaks and other control characters, and bytes beyond ASCII become
// %XX; so does a blank at either end, since blanks at a line's end are
// dropped when it is read.
std::string Escape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<std::uint8_t>(text[i]);
    const bool edgeBlank = byte == ' ' && (i == 0 || i + 1 == text.size());
    if (byte < 0x20 || byte >= 0x7F || byte == '%' || byte == '|' || edgeBlank) {
      out += '%';
      AppendHex(out, byte);
    } else {
      out += text[i];
    }
  }
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::string> Unescape(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '%') {
      out += field[i];
      continue;
    }
    if (i + 2 >= field.size()) return std::nullopt;
    const int high = HexValue(field[i + 1]);
    const int low = HexValue(field[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

// A REG_SZ that reads back as the same bytes: one terminating zero and none before it.
bool IsPlainText(const PreviousValue& v) {
  if (v.type != reg::kTypeSz || v.data.empty() || v.data.back() != 0) return false;
  for (std::size_t i = 0; i + 1 < v.data.size(); ++i) {
    if (v.data[i] == 0) return false;
  }
  return true;
}

std::string FormatState(const PreviousValue& v) {
  if (!v.existed) return "absent";
  if (IsPlainText(v)) {
    return "REG_SZ:" + Escape(std::string(v.data.begin(), v.data.end() - 1));
  }
  if (v.type == reg::kTypeDword && v.data.size() == 4) {
    return "REG_DWORD:" + std::to_string(reg::DwordFromBytes(v.data));
  }
  std::string out = "hex(" + std::to_string(v.type) + "):";
  for (std::size_t i = 0; i < v.data.size(); ++i) {
    if (i > 0) out += ',';
    AppendHex(out, v.data[i]);
  }
  return out;
}

bool ParseState(const std::string& state, PreviousValue& v) {
  if (state == "absent") {
    v.existed = false;
    return true;
  }
  v.existed = true;
  if (StartsWith(state, "REG_SZ:")) {
    const auto text = Unescape(state.substr(7));
    if (!text) return false;
    v.type = reg::kTypeSz;
    v.data.assign(text->begin(), text->end());
    v.data.push_back(0);
    return true;
  }
  if (StartsWith(state, "REG_DWORD:")) {
    // Digits only: no sign, no blanks.
    const std::string digits = state.substr(10);
    if (digits.find_first_not_of("0123456789") != std::string::npos) return false;
    const auto number = common::ReadInteger<std::uint32_t>(digits);
    if (!number) return false;
    v.type = reg::kTypeDword;
    const auto bytes = reg::DwordBytes(*number);
    v.data.assign(bytes.begin(), bytes.end());
    return true;
  }
  if (StartsWith(state, "hex(")) {
    const std::size_t close = state.find("):");
    if (close == std::string::npos) return false;
    const std::string type = state.substr(4, close - 4);
    if (type.find_first_not_of("0123456789") != std::string::npos) return false;
    const auto number = common::ReadInteger<std::uint32_t>(type);
    if (!number) return false;
    v.type = *number;
    v.data.clear();
    const std::string bytes = state.substr(close + 2);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
      if (i + 2 > bytes.size()) return false;
      const int high = HexValue(bytes[i]);
      const int low = HexValue(bytes[i + 1]);
      if (high < 0 || low < 0) return false;
      if (i + 2 < bytes.size() && bytes[i + 2] != ',') return false;
      if (i + 2 == bytes.size() - 1) return false;  // a comma with no byte after it
      v.data.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return true;
  }
  return false;
}

std::string RootName(RegistryRoot root) {
  return root == RegistryRoot::CurrentUser ? "HKCU" : "HKLM";
}

std::optional<RegistryRoot> ReadRoot(const std::string& name) {
  if (SameTextIgnoringCase(name, "HKLM") || SameTextIgnoringCase(name, "HKEY_LOCAL_MACHINE")) {
    return RegistryRoot::LocalMachine;
  }
  if (SameTextIgnoringCase(name, "HKCU") || SameTextIgnoringCase(name, "HKEY_CURRENT_USER")) {
    return RegistryRoot::CurrentUser;
  }
  return std::nullopt;
}

std::optional<PreviousValue> ParseLine(const std::string& line) {
  const std::size_t first = line.find('|');
  if (first == std::string::npos) return std::nullopt;
  const std::size_t second = line.find('|', first + 1);
  if (second == std::string::npos || line.find('|', second + 1) != std::string::npos) {
    return std::nullopt;
  }
  const auto key = Unescape(line.substr(0, first));
  const auto name = Unescape(line.substr(first + 1, second - first - 1));
  if (!key || !name) return std::nullopt;

  PreviousValue v;
  const std::size_t slash = key->find('\\');
  if (slash == std::string::npos || slash + 1 == key->size()) return std::nullopt;
  const auto root = ReadRoot(key->substr(0, slash));
  if (!root) return std::nullopt;
  v.root = *root;
  v.key = key->substr(slash + 1);
  v.name = *name;
  if (!ParseState(line.substr(second + 1), v)) return std::nullopt;
  return v;
}

}  // namespace

bool UndoRecord::Holds(RegistryRoot root, const std::string& key, const std::string& name) const {
  for (const PreviousValue& v : values) {
    if (v.root == root && SameTextIgnoringCase(v.key, key) &&
        SameTextIgnoringCase(v.name, name)) {
      return true;
    }
  }
  return false;
}

std::string FormatUndoRecord(const UndoRecord& record) {
  std::string out = kHeader;
  for (const PreviousValue& v : record.values) {
    out += Escape(RootName(v.root) + "\\" + v.key) + "|" + Escape(v.name) + "|" + FormatState(v) +
           "\r\n";
  }
  return out;
}

std::optional<UndoRecord> ParseUndoRecord(const std::string& text) {
  UndoRecord record;
  std::size_t start = StartsWith(text, "\xEF\xBB\xBF") ? 3 : 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    const std::size_t last = line.find_last_not_of(" \t\r");
    line.erase(last == std::string::npos ? 0 : last + 1);
    if (line.empty() || line[0] == ';') continue;
    auto value = ParseLine(line);
    if (!value) return std::nullopt;
    record.values.push_back(std::move(*value));
  }
  return record;
}

std::string UndoRecordPath(const std::string& programDirectory) {
  return common::ProgramFile(programDirectory, "\\Undo.txt");
}

LoadedUndoRecord LoadUndoRecord(platform::FileSystem& files, const std::string& path) {
  LoadedUndoRecord loaded;
  if (!files.GetAttributes(path)) return loaded;
  loaded.status = LoadedUndoRecord::Status::Damaged;
  const auto text = files.ReadAll(path);
  if (!text) return loaded;
  auto record = ParseUndoRecord(*text);
  if (!record) return loaded;
  loaded.status = LoadedUndoRecord::Status::Read;
  loaded.record = std::move(*record);
  return loaded;
}

RecordingRegistry::RecordingRegistry(platform::Registry& inner, platform::FileSystem& files,
                                     std::string recordPath, UndoRecord record)
    : inner_(inner), files_(files), recordPath_(std::move(recordPath)), record_(std::move(record)) {}

long RecordingRegistry::Track(long result, RegistryRoot root, const std::string& subkey, Key key) {
  if (result == reg::kSuccess) opened_[key] = {root, subkey};
  return result;
}

long RecordingRegistry::CreateKey(RegistryRoot root, const std::string& subkey, Key& key) {
  const long result = inner_.CreateKey(root, subkey, key);
  return Track(result, root, subkey, key);
}

long RecordingRegistry::OpenKey(RegistryRoot root, const std::string& subkey, Key& key) {
  const long result = inner_.OpenKey(root, subkey, key);
  return Track(result, root, subkey, key);
}

long RecordingRegistry::RecordBeforeChange(Key key, const std::string& name) {
  const auto opened = opened_.find(key);
  if (opened == opened_.end()) return kInvalidHandle;
  const OpenedKey& k = opened->second;
  if (record_.Holds(k.root, k.path, name)) return reg::kSuccess;

  PreviousValue previous{k.root, k.path, name, false, 0, {}};
  const long queried = inner_.QueryValue(key, name, previous.type, previous.data);
  if (queried == reg::kSuccess) {
    previous.existed = true;
  } else if (queried != reg::kFileNotFound) {
    return queried;
  }
  record_.values.push_back(std::move(previous));
  if (!common::ReplaceFileContents(files_, recordPath_, FormatUndoRecord(record_))) {
    // Not saved, so not recorded: a later try must note it again.
    record_.values.pop_back();
    recordNotSaved_ = true;
    return kWriteFault;
  }
  return reg::kSuccess;
}

long RecordingRegistry::SetValue(Key key, const std::string& name, std::uint32_t type,
                                 std::span<const std::uint8_t> data) {
  const long recorded = RecordBeforeChange(key, name);
  if (recorded != reg::kSuccess) return recorded;
  return inner_.SetValue(key, name, type, data);
}

long RecordingRegistry::DeleteValue(Key key, const std::string& name) {
  const long recorded = RecordBeforeChange(key, name);
  if (recorded != reg::kSuccess) return recorded;
  return inner_.DeleteValue(key, name);
}

long RecordingRegistry::QueryValue(Key key, const std::string& name, std::uint32_t& type,
                                   std::vector<std::uint8_t>& data) {
  return inner_.QueryValue(key, name, type, data);
}

long RecordingRegistry::EnumKey(Key key, std::uint32_t index, std::string& name) {
  return inner_.EnumKey(key, index, name);
}

long RecordingRegistry::CloseKey(Key key) {
  opened_.erase(key);
  return inner_.CloseKey(key);
}

}  // namespace kestrel
