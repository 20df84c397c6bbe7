#include "tests/doubles/memory_file_system.h"

#include <algorithm>
#include <cctype>

namespace doubles {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

MemoryFileSystem::Entry* MemoryFileSystem::Find(const std::string& path) {
  const auto found = files_.find(Lower(path));
  return found == files_.end() ? nullptr : &found->second;
}

const MemoryFileSystem::Entry* MemoryFileSystem::Find(const std::string& path) const {
  const auto found = files_.find(Lower(path));
  return found == files_.end() ? nullptr : &found->second;
}

std::optional<platform::FileAttributes> MemoryFileSystem::GetAttributes(const std::string& path) {
  calls_.push_back({Op::GetAttributes, path, ""});
  if (const Entry* entry = Find(path)) return entry->attributes;
  return std::nullopt;
}

std::optional<std::string> MemoryFileSystem::ReadAll(const std::string& path) {
  calls_.push_back({Op::ReadAll, path, ""});
  const Entry* entry = Find(path);
  if (failReads_ || !entry || entry->attributes.directory) return std::nullopt;
  return entry->bytes;
}

std::optional<std::string> MemoryFileSystem::ReadStart(const std::string& path,
                                                       std::size_t count) {
  calls_.push_back({Op::ReadStart, path, ""});
  const Entry* entry = Find(path);
  if (failReads_ || !entry || entry->attributes.directory) return std::nullopt;
  return entry->bytes.substr(0, count);
}

bool MemoryFileSystem::WriteAll(const std::string& path, const std::string& bytes) {
  calls_.push_back({Op::WriteAll, path, ""});
  const Entry* existing = Find(path);
  const bool refused = std::find(refusedPaths_.begin(), refusedPaths_.end(), Lower(path)) !=
                       refusedPaths_.end();
  if (refused || writeFailure_ == WriteFailure::Refused ||
      (existing && existing->attributes.directory) ||
      (writeFailure_ == WriteFailure::NewFilesRefused && !existing)) {
    return false;
  }
  const platform::FileAttributes attributes =
      existing ? existing->attributes : platform::FileAttributes{};
  if (writeFailure_ == WriteFailure::DiskFull) {
    Put(path, bytes.substr(0, bytes.size() / 2), attributes);
    return false;
  }
  Put(path, bytes, attributes);
  return true;
}

void MemoryFileSystem::FailWritesTo(const std::string& path) {
  refusedPaths_.push_back(Lower(path));
}

bool MemoryFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  calls_.push_back({Op::MoveReplacing, from, to});
  Entry* source = Find(from);
  const Entry* target = Find(to);
  if (failMoves_ || !source || source->attributes.directory ||
      (target && target->attributes.directory)) {
    return false;
  }
  Entry moved = std::move(*source);
  files_.erase(Lower(from));
  moved.path = to;
  files_[Lower(to)] = std::move(moved);
  return true;
}

bool MemoryFileSystem::Remove(const std::string& path) {
  calls_.push_back({Op::Remove, path, ""});
  const Entry* entry = Find(path);
  if (!entry || entry->attributes.directory) return false;
  files_.erase(Lower(path));
  return true;
}

void MemoryFileSystem::Put(const std::string& path, const std::string& bytes,
                           platform::FileAttributes attributes) {
  files_[Lower(path)] = Entry{path, bytes, attributes};
  files_[Lower(path)].attributes.lastWrite = ++clock_;
}

bool MemoryFileSystem::AppendAll(const std::string& path, const std::string& bytes) {
  const Entry* existing = Find(path);
  const std::string before = existing && !existing->attributes.directory ? existing->bytes : "";
  const bool written = WriteAll(path, before + bytes);
  calls_.back().op = Op::AppendAll;
  return written;
}

bool MemoryFileSystem::CreateFolder(const std::string& path) {
  calls_.push_back({Op::CreateFolder, path, ""});
  const Entry* existing = Find(path);
  if (existing) return existing->attributes.directory;
  if (writeFailure_ == WriteFailure::Refused) return false;
  AddDirectory(path);
  return true;
}

void MemoryFileSystem::AddDirectory(const std::string& path) {
  platform::FileAttributes attributes;
  attributes.directory = true;
  Put(path, "", attributes);
}

std::optional<std::string> MemoryFileSystem::Contents(const std::string& path) const {
  const Entry* entry = Find(path);
  if (!entry || entry->attributes.directory) return std::nullopt;
  return entry->bytes;
}

bool MemoryFileSystem::Exists(const std::string& path) const {
  return Find(path) != nullptr;
}

std::vector<std::string> MemoryFileSystem::Paths() const {
  std::vector<std::string> paths;
  for (const auto& [key, entry] : files_) paths.push_back(entry.path);
  return paths;
}

}  // namespace doubles
