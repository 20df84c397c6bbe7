#pragma once

#include <string>
#include <string_view>

namespace e2e {

// The Windows form of a path the tests get from the build: an absolute Unix
// path becomes the same path on drive Z:, which a Wine prefix maps to "/".
// A path that already has a drive letter or is a UNC path stays as it is;
// any other path only gets backslashes.
std::string ToWindowsPath(std::string_view path);

// dir + "\" + name, without doubling a backslash that dir already ends with.
std::string JoinPath(std::string_view dir, std::string_view name);

// The last component of a path with either kind of separator.
std::string BaseName(std::string_view path);

// The command line for starting program with arguments: the program quoted,
// then one blank and the arguments exactly as given, so that a scenario
// controls every character the program sees after its name.
std::string CommandLine(std::string_view program, std::string_view arguments);

}  // namespace e2e
