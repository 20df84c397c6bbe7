#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/driver/program_directory.h"
#include "tests/e2e/driver/wait.h"

namespace e2e {

// Stand-ins for the system programs a program starts by name: the recording
// program (KESTREL_RECORDER_EXE) copied into the program directory under
// each name, where a start by name finds it first. Each start adds a line
// "<command line> [show <code>]".
class StartRecorder {
 public:
  StartRecorder(const ProgramDirectory& dir, const std::vector<std::string>& names);
  std::vector<std::string> Lines() const;
  // Waits until the number of lines has grown past count, and returns the new ones.
  std::vector<std::string> WaitForLinesAfter(std::size_t count,
                                             Millis timeout = kDefaultTimeout) const;

 private:
  const ProgramDirectory& dir_;
};

}  // namespace e2e
