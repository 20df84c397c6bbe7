#pragma once

#include <string>

namespace platform {

class ProcessEnvironment {
 public:
  virtual ~ProcessEnvironment() = default;
  // The whole command line as the system holds it, program name included.
  virtual std::string CommandLine() = 0;
  // The folder that holds the running program file, without a trailing backslash.
  virtual std::string ProgramDirectory() = 0;
  // The user's roaming application-data folder (%APPDATA%), without a
  // trailing backslash; empty when the system names none.
  virtual std::string ApplicationDataFolder() = 0;
};

}  // namespace platform
