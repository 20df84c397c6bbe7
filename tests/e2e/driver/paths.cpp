#include "tests/e2e/driver/paths.h"

namespace e2e {
namespace {

bool HasDriveLetter(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::string WithBackslashes(std::string_view path) {
  std::string out(path);
  for (char& c : out) {
    if (c == '/') c = '\\';
  }
  return out;
}

}  // namespace

std::string ToWindowsPath(std::string_view path) {
  if (HasDriveLetter(path) || path.starts_with("\\\\")) return std::string(path);
  if (path.starts_with('/')) return "Z:" + WithBackslashes(path);
  return WithBackslashes(path);
}

std::string JoinPath(std::string_view dir, std::string_view name) {
  std::string out(dir);
  if (!out.empty() && out.back() != '\\' && out.back() != '/') out += '\\';
  out += name;
  return out;
}

std::string BaseName(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string CommandLine(std::string_view program, std::string_view arguments) {
  std::string line = "\"" + std::string(program) + "\"";
  if (!arguments.empty()) {
    line += ' ';
    line += arguments;
  }
  return line;
}

}  // namespace e2e
