// Tier b runner. Besides the tests, the program has small child modes that the
// tests start as separate processes, so that the adapters are seen from a
// second process as the real programs see each other.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32/adapters.h"

namespace {

int ReportVersion(const char* path) {
  platform::win32::Win32VersionQuery query;
  const platform::OsVersionInfo v = query.QueryVersion();
  FILE* out = std::fopen(path, "w");
  if (!out) return 2;
  std::fprintf(out, "%lu %lu %lu %lu", static_cast<unsigned long>(v.platformId),
               static_cast<unsigned long>(v.major), static_cast<unsigned long>(v.minor),
               static_cast<unsigned long>(v.build));
  std::fclose(out);
  return 0;
}

int ReportInstance(const char* name) {
  platform::win32::Win32SingleInstance instance(name);
  return instance.AnotherInstanceRunning() ? 10 : 11;
}

int ReportArguments(const char* path) {
  platform::win32::Win32ProcessEnvironment environment;
  FILE* out = std::fopen(path, "w");
  if (!out) return 2;
  std::fputs(environment.CommandLine().c_str(), out);
  std::fclose(out);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--report-version") == 0) return ReportVersion(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "--report-instance") == 0) return ReportInstance(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "--report-command-line") == 0) {
    return ReportArguments(argv[2]);
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
