#include "kestrel/registry_script.h"

#include <cstdio>

namespace kestrel {
namespace {

namespace reg = platform::reg;

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string ValueName(const std::string& name) { return name.empty() ? "@" : Quoted(name); }

std::string Data(std::uint32_t type, const std::vector<std::uint8_t>& data) {
  char buffer[16];
  if (type == reg::kTypeDword && data.size() == 4) {
    std::snprintf(buffer, sizeof(buffer), "dword:%08x", reg::DwordFromBytes(data));
    return buffer;
  }
  if (type == reg::kTypeSz) {
    std::string text(data.begin(), data.end());
    // The stored text ends at its terminator; an unterminated one ends with its bytes.
    if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return Quoted(text);
  }
  std::snprintf(buffer, sizeof(buffer), "hex(%x):", type);
  std::string out = buffer;
  for (std::size_t i = 0; i < data.size(); ++i) {
    std::snprintf(buffer, sizeof(buffer), i ? ",%02x" : "%02x", data[i]);
    out += buffer;
  }
  return out;
}

const char* RootName(platform::RegistryRoot root) {
  return root == platform::RegistryRoot::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

// The editor of the NT family reads its version 5 scripts as UTF-16LE. The
// values Kestrel writes are plain ASCII; any other byte is taken as Latin-1.
std::string Utf16WithByteOrderMark(const std::string& text) {
  std::string out = "\xFF\xFE";
  out.reserve(2 + text.size() * 2);
  for (const char c : text) {
    out += c;
    out += '\0';
  }
  return out;
}

}  // namespace

std::string FormatRegistryScript(const std::vector<PlannedChange>& changes, bool ntFamily) {
  std::string text = ntFamily ? "Windows Registry Editor Version 5.00\r\n" : "REGEDIT4\r\n";
  // The header must be the first line; the editor skips lines that begin with a semicolon.
  text +=
      "; The changes Kestrel's Apply makes on this machine. The keys of each network "
      "interface are those of this machine: on other machines, run Kestrel.exe /apply "
      "with the same Kestrel.cfg instead, which finds their own.\r\n";
  const PlannedChange* section = nullptr;
  for (const PlannedChange& c : changes) {
    if (!section || section->root != c.root || section->key != c.key) {
      text += "\r\n[" + std::string(RootName(c.root)) + "\\" + c.key + "]\r\n";
      section = &c;
    }
    text += ValueName(c.name) + "=" + (c.remove ? "-" : Data(c.type, c.data)) + "\r\n";
  }
  text += "\r\n";
  return ntFamily ? Utf16WithByteOrderMark(text) : text;
}

}  // namespace kestrel
