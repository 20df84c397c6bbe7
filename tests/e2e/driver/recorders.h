#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/driver/program_directory.h"
#include "tests/e2e/driver/wait.h"

namespace e2e {

// The Unix path of a Windows path in the prefix, as Wine maps it.
std::string UnixPath(const std::string& windows_path);

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

// The documents the shell opens in a browser or a mail program: the prefix's
// browser and mailer become a script that records each document, one line
// each ("file://..." for a local file, the address for the others). Local
// .htm files are made to open in the browser, as on a system that has one.
class OpenRecorder {
 public:
  OpenRecorder();
  std::vector<std::string> Lines() const;
  std::vector<std::string> WaitForLinesAfter(std::size_t count,
                                             Millis timeout = Millis{10000}) const;

 private:
  ProgramDirectory folder_;  // holds the script and its record
};

}  // namespace e2e
