#include "tests/e2e/driver/recorders.h"

#include <sstream>

#include "platform/win32/windows_shim.h"
#include "tests/e2e/driver/kestrel.h"
#include "tests/e2e/driver/paths.h"
#include "tests/e2e/driver/registry.h"

namespace e2e {
namespace {

// Outside the program directory, in a folder without blanks, since the
// browser setting is split at blanks into a command and its arguments.
constexpr const char* kOpenRecorderFolder = "C:\\recorder";

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> WaitForMore(const std::function<std::vector<std::string>()>& read,
                                     std::size_t count, Millis timeout, const std::string& what) {
  std::vector<std::string> lines;
  WaitUntil([&] { return (lines = read()).size() > count; }, what, timeout);
  return {lines.begin() + static_cast<std::ptrdiff_t>(count), lines.end()};
}

}  // namespace

std::string UnixPath(const std::string& windows_path) {
  using ToUnix = char*(CDECL*)(const wchar_t*);
  const auto to_unix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!to_unix) throw Failure("this is not Wine: wine_get_unix_file_name is missing");
  std::wstring wide(windows_path.size() + 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, windows_path.c_str(), -1, wide.data(),
                      static_cast<int>(wide.size()));
  char* unix_path = to_unix(wide.c_str());
  if (!unix_path) throw Failure("Wine cannot map " + windows_path + " to a Unix path");
  std::string out = unix_path;
  HeapFree(GetProcessHeap(), 0, unix_path);
  return out;
}

StartRecorder::StartRecorder(const ProgramDirectory& dir, const std::vector<std::string>& names)
    : dir_(dir) {
  const std::string recorder = BuiltProgram("KESTREL_RECORDER_EXE");
  for (const std::string& name : names) dir_.Install(recorder, name);
}

std::vector<std::string> StartRecorder::Lines() const {
  return SplitLines(dir_.ReadFile("started.log").value_or(""));
}

std::vector<std::string> StartRecorder::WaitForLinesAfter(std::size_t count, Millis timeout) const {
  return WaitForMore([&] { return Lines(); }, count, timeout,
                     "a program start recorded in " + dir_.PathOf("started.log"));
}

OpenRecorder::OpenRecorder() : folder_(kOpenRecorderFolder) {
  folder_.WriteFile("opened.log", "");
  folder_.WriteFile("open.sh",
                    "printf '%s\\n' \"$1\" >> '" + UnixPath(folder_.PathOf("opened.log")) + "'\n");
  const std::string command = "/bin/sh " + UnixPath(folder_.PathOf("open.sh"));
  WriteRegistryValue("HKCU\\Software\\Wine\\WineBrowser", "Browsers", StringValue(command));
  WriteRegistryValue("HKCU\\Software\\Wine\\WineBrowser", "Mailers", StringValue(command));
  WriteRegistryValue("HKLM\\Software\\Classes\\.htm", "", StringValue("htmlfile"));
}

std::vector<std::string> OpenRecorder::Lines() const {
  return SplitLines(folder_.ReadFile("opened.log").value_or(""));
}

std::vector<std::string> OpenRecorder::WaitForLinesAfter(std::size_t count, Millis timeout) const {
  return WaitForMore([&] { return Lines(); }, count, timeout,
                     "a document opened by the shell, recorded in " + folder_.PathOf("opened.log"));
}

}  // namespace e2e
