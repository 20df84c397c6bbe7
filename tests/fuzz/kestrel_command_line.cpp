// The command line of Kestrel: any bytes as the whole line, program name
// included, as a shortcut, a script or another program may pass it.
//
// A number comes back only for text that reads as one, every text that
// reads as a number within range gives it, and the start-up does what the
// number asks: the window, the monitor alone, or one message.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "common/numbers.h"
#include "kestrel/startup.h"
#include "tests/doubles/fake_platform.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using kestrel::StartupAction;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string WithoutBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Decimal notation: a sign, digits with at most one point, an exponent.
bool ReadsAsNumber(const std::string& t) {
  std::size_t i = t.size() > 0 && (t[0] == '+' || t[0] == '-') ? 1 : 0;
  const auto digitsFrom = [&t](std::size_t at) {
    std::size_t end = at;
    while (end < t.size() && t[end] >= '0' && t[end] <= '9') ++end;
    return end - at;
  };
  std::size_t mantissa = digitsFrom(i);
  i += mantissa;
  if (i < t.size() && t[i] == '.') {
    const std::size_t fraction = digitsFrom(i + 1);
    i += 1 + fraction;
    mantissa += fraction;
  }
  if (mantissa == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    const std::size_t exponent = digitsFrom(i);
    if (exponent == 0) return false;
    i += exponent;
  }
  return i == t.size();
}

void CheckNumber(const std::string& text) {
  const std::optional<long long> number = common::ReadWholeNumber(text);
  const std::string trimmed = WithoutBlanks(text);
  if (!ReadsAsNumber(trimmed)) {
    FUZZ_CHECK(!number);
    return;
  }
  // The nearest double of the text, rounded half to even. Far-off values may
  // be refused; tiny ones are simply 0.
  const double value = std::strtod(trimmed.c_str(), nullptr);
  if (!std::isfinite(value) || std::fabs(value) > 1e15) {
    if (number) FUZZ_CHECK(std::fabs(static_cast<double>(*number) - value) <= 0.5);
    return;
  }
  FUZZ_CHECK(number.has_value());
  FUZZ_CHECK(static_cast<double>(*number) == std::nearbyint(value));
}

enum class Monitor { Installed, Missing, AnotherKestrelRuns };

void CheckStartup(const std::string& line, const std::string& arguments,
                  const std::optional<long long>& number, Monitor monitor) {
  doubles::FakeKestrel fake;
  fake.environment.commandLine = line;
  const std::string tidewatch = fake.ProgramFile("\\Tidewatch.exe");
  if (monitor != Monitor::Missing) fake.files.Put(tidewatch, "MZ");
  fake.instance.another = monitor == Monitor::AnotherKestrelRuns;

  const StartupAction action = kestrel::RunStartup(fake.app);
  const auto& shown = fake.messages.shown;
  const auto& started = fake.programs.started;
  FUZZ_CHECK(fake.registry.Calls().empty());

  if (monitor == Monitor::AnotherKestrelRuns || (number && *number != 0)) {
    FUZZ_CHECK(action == StartupAction::Exit && shown.empty());
    const bool starts = monitor == Monitor::Installed;
    FUZZ_CHECK(started.size() == (starts ? 1u : 0u));
    if (starts) {
      FUZZ_CHECK(started[0].first == "\"" + tidewatch + "\"");
      FUZZ_CHECK(started[0].second == platform::ShowCode::Hidden);
    }
    return;
  }
  FUZZ_CHECK(started.empty());
  if (WithoutBlanks(arguments).empty()) {
    FUZZ_CHECK(action == StartupAction::OpenMainWindow && shown.empty());
  } else if (number) {
    FUZZ_CHECK(action == StartupAction::OpenMainWindowNormal && shown.empty());
  } else {
    // Refused text: one message that names it, and nothing else.
    FUZZ_CHECK(action == StartupAction::Exit && shown.size() == 1);
    FUZZ_CHECK(shown[0].caption == kestrel::kProgramTitle);
    FUZZ_CHECK(shown[0].buttons == platform::MessageButtons::Ok);
    FUZZ_CHECK(shown[0].icon == platform::MessageIcon::Information);
    FUZZ_CHECK(shown[0].text.find("\"" + arguments + "\"") != std::string::npos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);

  // The arguments are the end of the line, without the blanks before them,
  // and they survive behind any program name, quoted or not.
  const std::string arguments = kestrel::CommandLineArguments(line);
  FUZZ_CHECK(arguments.size() <= line.size());
  FUZZ_CHECK(line.compare(line.size() - arguments.size(), arguments.size(), arguments) == 0);
  FUZZ_CHECK(arguments.empty() || !IsBlank(arguments[0]));
  FUZZ_CHECK(kestrel::CommandLineArguments("Kestrel.exe " + arguments) == arguments);
  FUZZ_CHECK(kestrel::CommandLineArguments("\"C:\\Program Files\\Kestrel.exe\"\t" + arguments) ==
             arguments);

  CheckNumber(line);
  CheckNumber(arguments);

  const std::optional<long long> number = WithoutBlanks(arguments).empty()
                                              ? std::nullopt
                                              : common::ReadWholeNumber(arguments);
  for (Monitor monitor : {Monitor::Installed, Monitor::Missing, Monitor::AnotherKestrelRuns}) {
    CheckStartup(line, arguments, number, monitor);
  }
  return 0;
}
