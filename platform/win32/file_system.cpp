#include <algorithm>

#include "platform/win32/adapters.h"

namespace platform::win32 {

std::optional<FileAttributes> Win32FileSystem::GetAttributes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  const DWORD attributes = data.dwFileAttributes;
  return FileAttributes{(attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                        (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
                        (attributes & FILE_ATTRIBUTE_SYSTEM) != 0,
                        (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                            data.ftLastWriteTime.dwLowDateTime};
}

namespace {

// Up to limit bytes from the start of the file.
std::optional<std::string> ReadUpTo(const std::string& path, std::size_t limit) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string content;
  char buffer[4096];
  while (content.size() < limit) {
    DWORD read = 0;
    const auto wanted = static_cast<DWORD>(std::min(sizeof(buffer), limit - content.size()));
    if (!::ReadFile(file.get(), buffer, wanted, &read, nullptr)) return std::nullopt;
    if (read == 0) break;
    content.append(buffer, read);
  }
  return content;
}

// All of bytes, then flushed to the disk; a write that stalls is a failure.
bool WriteFlushed(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                     nullptr) ||
        written == 0) {
      return false;
    }
    done += written;
  }
  return FlushFileBuffers(file) != 0;
}

}  // namespace

std::optional<std::string> Win32FileSystem::ReadAll(const std::string& path) {
  return ReadUpTo(path, std::string().max_size());
}

std::optional<std::string> Win32FileSystem::ReadStart(const std::string& path,
                                                      std::size_t count) {
  return ReadUpTo(path, count);
}

bool Win32FileSystem::WriteAll(const std::string& path, const std::string& bytes) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  // On disk before the move makes it the real file.
  return WriteFlushed(file.get(), bytes);
}

bool Win32FileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  // A replaced file keeps its security this way, where a move would give it
  // the new file's: the right that the installer grants users on Ping.cfg
  // alone survives a save by Kestrel, which runs as an administrator.
  // Only a file is replaced so: a folder in the target's place must make the
  // move fail, which ReplaceFileA under Wine does not promise.
  const DWORD target = GetFileAttributesA(to.c_str());
  if (target != INVALID_FILE_ATTRIBUTES && !(target & FILE_ATTRIBUTE_DIRECTORY) &&
      ReplaceFileA(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                   nullptr)) {
    return true;
  }
  return MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32FileSystem::Remove(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool Win32FileSystem::AppendAll(const std::string& path, const std::string& bytes) {
  // Only appending rights: each write lands at the end, whatever else has
  // the file open.
  UniqueFile file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  return WriteFlushed(file.get(), bytes);
}

bool Win32FileSystem::CreateFolder(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) return true;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace platform::win32
