#include "tests/e2e/driver/program_directory.h"

#include <algorithm>

#include "platform/win32/windows_shim.h"
#include "tests/e2e/driver/paths.h"
#include "tests/e2e/driver/wait.h"

namespace e2e {
namespace {

std::string Error() {
  return "error " + std::to_string(GetLastError());
}

void CreateParents(const std::string& path) {
  for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  }
}

}  // namespace

void RemoveDirectoryTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(JoinPath(path, "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = JoinPath(path, name);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryTree(full);
      } else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(full.c_str())) throw Failure("cannot delete " + full + ": " + Error());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  if (!RemoveDirectoryA(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND &&
      GetLastError() != ERROR_PATH_NOT_FOUND) {
    throw Failure("cannot remove " + path + ": " + Error());
  }
}

namespace {

void AddFilesBelow(const std::string& path, const std::string& relative,
                   std::vector<std::string>& files) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(JoinPath(path, "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const std::string inner = relative.empty() ? name : JoinPath(relative, name);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      AddFilesBelow(JoinPath(path, name), inner, files);
    } else {
      files.push_back(inner);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace

std::vector<std::string> FilesBelow(const std::string& path) {
  std::vector<std::string> files;
  AddFilesBelow(path, "", files);
  std::sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) < 0;
  });
  return files;
}

ProgramDirectory::ProgramDirectory(std::string path) : path_(std::move(path)) {
  RemoveDirectoryTree(path_);
  CreateParents(JoinPath(path_, "x"));
  const DWORD attributes = GetFileAttributesA(path_.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    throw Failure("cannot create the program directory " + path_ + ": " + Error());
  }
}

std::string ProgramDirectory::PathOf(std::string_view relative) const {
  return JoinPath(path_, relative);
}

std::string ProgramDirectory::Install(const std::string& source, std::string_view name) const {
  const std::string from = ToWindowsPath(source);
  const std::string to = PathOf(name.empty() ? BaseName(from) : std::string(name));
  CreateParents(to);
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) {
    throw Failure("cannot copy " + from + " to " + to + ": " + Error());
  }
  return to;
}

void ProgramDirectory::WriteFile(std::string_view relative, std::string_view bytes) const {
  const std::string path = PathOf(relative);
  CreateParents(path);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw Failure("cannot create " + path + ": " + Error());
  DWORD written = 0;
  const BOOL ok =
      ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  if (!ok || written != bytes.size()) throw Failure("cannot write " + path + ": " + Error());
}

std::optional<std::string> ProgramDirectory::ReadFile(std::string_view relative) const {
  const std::string path = PathOf(relative);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    throw Failure("cannot open " + path + ": error " + std::to_string(error));
  }
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

bool ProgramDirectory::Exists(std::string_view relative) const {
  return GetFileAttributesA(PathOf(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ProgramDirectory::Remove(std::string_view relative) const {
  const std::string path = PathOf(relative);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!DeleteFileA(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
    throw Failure("cannot delete " + path + ": " + Error());
  }
}

}  // namespace e2e
