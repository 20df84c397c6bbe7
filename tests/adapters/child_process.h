#pragma once

#include <string>

#include "platform/win32/handles.h"

namespace adapters {

// This test program's own path.
std::string SelfPath();

// Runs this program again with the arguments and returns its exit code, or -1
// when it could not be started or did not end within the timeout.
int RunSelf(const std::string& arguments, DWORD timeoutMs = 20000);

// A file name in the temporary folder that no other case uses.
std::string TemporaryPath(const char* tag);

std::string ReadText(const std::string& path);

}  // namespace adapters
