#pragma once

#include <string>
#include <utility>

#include "platform/win32/handles.h"
#include "platform/win32/system_libraries.h"

namespace platform::win32 {

// A library that the program binds by name when it first needs it, rather
// than at load time, so that a system without it still starts and the
// operations that need it can fail on their own. Only the system folder's copy
// is loaded. The library stays loaded for the life of this object.
class LateBoundLibrary {
 public:
  explicit LateBoundLibrary(std::string name) : name_(std::move(name)) {}

  // The entry point, looked up on its first use and kept in `bound`; null
  // while the library or the entry point cannot be found.
  template <typename Function>
  Function Entry(const char* entryName, Function& bound) {
    if (!bound) {
      if (!module_) module_.reset(LoadSystemLibrary(name_.c_str()));
      if (module_) {
        // Through the generic function type, which converts to any other.
        bound = reinterpret_cast<Function>(
            reinterpret_cast<void (*)()>(GetProcAddress(module_.get(), entryName)));
      }
    }
    return bound;
  }

 private:
  std::string name_;
  UniqueModule module_;
};

}  // namespace platform::win32
