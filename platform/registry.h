#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace platform {

enum class RegistryRoot { LocalMachine, CurrentUser };

// Result codes the registry reports; the system's own numbers, so that a real
// code can travel unchanged through the portable code.
namespace reg {
inline constexpr long kSuccess = 0;
inline constexpr long kFileNotFound = 2;
inline constexpr long kAccessDenied = 5;
inline constexpr long kInvalidHandle = 6;
inline constexpr long kBadPathname = 161;
inline constexpr long kNoMoreItems = 259;

inline constexpr std::uint32_t kTypeNone = 0;
inline constexpr std::uint32_t kTypeSz = 1;
inline constexpr std::uint32_t kTypeExpandSz = 2;
inline constexpr std::uint32_t kTypeBinary = 3;
inline constexpr std::uint32_t kTypeDword = 4;

// A DWORD value's bytes as the registry stores them: least significant first.
inline std::array<std::uint8_t, 4> DwordBytes(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

// The number in a DWORD value's bytes; the caller has made sure there are four.
inline std::uint32_t DwordFromBytes(std::span<const std::uint8_t> bytes) {
  return bytes[0] | (std::uint32_t{bytes[1]} << 8) | (std::uint32_t{bytes[2]} << 16) |
         (std::uint32_t{bytes[3]} << 24);
}
}  // namespace reg

// The registry operations the program needs, one for one with the system's.
// Key handles are opaque numbers; ScopedRegistryKey closes them.
class Registry {
 public:
  using Key = std::uintptr_t;

  virtual ~Registry() = default;
  // Opens the key, creating it and any missing parent keys.
  virtual long CreateKey(RegistryRoot root, const std::string& subkey, Key& key) = 0;
  // Opens an existing key.
  virtual long OpenKey(RegistryRoot root, const std::string& subkey, Key& key) = 0;
  virtual long SetValue(Key key, const std::string& name, std::uint32_t type,
                        std::span<const std::uint8_t> data) = 0;
  virtual long DeleteValue(Key key, const std::string& name) = 0;
  // A value exactly as stored: its type and all its bytes, whatever their
  // length. kFileNotFound when the key has no value of that name; type and
  // data are then cleared.
  virtual long QueryValue(Key key, const std::string& name, std::uint32_t& type,
                          std::vector<std::uint8_t>& data) = 0;
  // The name of subkey number index, or kNoMoreItems after the last one.
  virtual long EnumKey(Key key, std::uint32_t index, std::string& name) = 0;
  virtual long CloseKey(Key key) = 0;
};

// Owns one open key of a Registry and closes it when it goes out of scope.
class ScopedRegistryKey {
 public:
  explicit ScopedRegistryKey(Registry& registry) : registry_(registry) {}
  ScopedRegistryKey(const ScopedRegistryKey&) = delete;
  ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;
  ~ScopedRegistryKey() {
    if (open_) registry_.CloseKey(key_);
  }

  long Create(RegistryRoot root, const std::string& subkey) {
    return Adopt(registry_.CreateKey(root, subkey, key_));
  }
  long Open(RegistryRoot root, const std::string& subkey) {
    return Adopt(registry_.OpenKey(root, subkey, key_));
  }
  Registry::Key get() const { return key_; }

 private:
  long Adopt(long result) {
    open_ = result == reg::kSuccess;
    return result;
  }

  Registry& registry_;
  Registry::Key key_ = 0;
  bool open_ = false;
};

}  // namespace platform
