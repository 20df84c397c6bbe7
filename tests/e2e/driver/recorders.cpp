#include "tests/e2e/driver/recorders.h"

#include <sstream>

#include "tests/e2e/driver/kestrel.h"

namespace e2e {

StartRecorder::StartRecorder(const ProgramDirectory& dir, const std::vector<std::string>& names)
    : dir_(dir) {
  const std::string recorder = BuiltProgram("KESTREL_RECORDER_EXE");
  for (const std::string& name : names) dir_.Install(recorder, name);
}

std::vector<std::string> StartRecorder::Lines() const {
  std::vector<std::string> lines;
  std::istringstream in(dir_.ReadFile("started.log").value_or(""));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> StartRecorder::WaitForLinesAfter(std::size_t count, Millis timeout) const {
  std::vector<std::string> lines;
  WaitUntil([&] { return (lines = Lines()).size() > count; },
            "a program start recorded in " + dir_.PathOf("started.log"), timeout);
  return {lines.begin() + static_cast<std::ptrdiff_t>(count), lines.end()};
}

}  // namespace e2e
