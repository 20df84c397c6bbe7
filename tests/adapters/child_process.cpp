#include "tests/adapters/child_process.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace adapters {

std::string SelfPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

int RunSelf(const std::string& arguments, DWORD timeoutMs) {
  std::string line = "\"" + SelfPath() + "\" " + arguments;
  std::vector<char> buffer(line.begin(), line.end());
  buffer.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    return -1;
  }
  platform::win32::UniqueHandle process(started.hProcess);
  platform::win32::UniqueHandle thread(started.hThread);
  if (WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  return static_cast<int>(code);
}

std::string TemporaryPath(const char* tag) {
  static int counter = 0;
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + "kestrel-adapter-" + tag + "-" +
         std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace adapters
