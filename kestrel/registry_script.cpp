#include "kestrel/registry_script.h"

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

// The value in lower-case hexadecimal, zero-padded to at least `digits`
// digits, as the registry editor writes numbers. By hand: the C library's
// formatter would bring its whole floating-point machinery into the program.
std::string LowerHex(std::uint32_t value, int digits) {
  std::string out;
  do {
    out.insert(out.begin(), "0123456789abcdef"[value & 0xF]);
    value >>= 4;
  } while (value != 0 || static_cast<int>(out.size()) < digits);
  return out;
}

std::string Data(std::uint32_t type, const std::vector<std::uint8_t>& data) {
  if (type == reg::kTypeDword && data.size() == 4) {
    return "dword:" + LowerHex(reg::DwordFromBytes(data), 8);
  }
  if (type == reg::kTypeSz) {
    std::string text(data.begin(), data.end());
    // The stored text ends at its terminator; an unterminated one ends with its bytes.
    if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return Quoted(text);
  }
  std::string out = "hex(" + LowerHex(type, 1) + "):";
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i) out += ',';
    out += LowerHex(data[i], 2);
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
