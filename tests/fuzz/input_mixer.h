#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// What a harness varies beside the bytes the fuzzer hands it (a previous
// record, the answers of a double, random draws) comes from a hash of those
// bytes: the same input always meets the same world, so that a finding can
// be repeated, and the fuzzer's changes to an input change that world too.
class InputMixer {
 public:
  explicit InputMixer(std::string_view bytes) {
    for (unsigned char c : bytes) state_ = (state_ ^ c) * 0x100000001b3ULL;
  }
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  bool Bool() { return Next() & 1; }
  template <typename T, std::size_t N>
  T Pick(const T (&choices)[N]) {
    return choices[Next() % N];
  }

 private:
  std::uint64_t state_ = 0xcbf29ce484222325ULL;
};
