#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace doubles {

// A registry held in memory that behaves like the system's where the program
// relies on it: key and value names compare without regard to case, CreateKey
// creates missing parents, OpenKey of a missing key gives 2, EnumKey lists
// subkeys in the order they were created and gives 259 after the last one.
// Every call is recorded in order, failures can be injected, and open handles
// are counted so that a test can prove every key was closed.
class MemoryRegistry : public platform::Registry {
 public:
  struct Value {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;

    // The data read as a little-endian REG_DWORD; nothing for another type or size.
    std::optional<std::int32_t> Dword() const;
  };

  enum class Op { CreateKey, OpenKey, SetValue, DeleteValue, QueryValue, EnumKey, CloseKey };

  struct Call {
    Op op;
    platform::RegistryRoot root;
    std::string path;  // as the key was opened; for handle calls, the key's path
    std::string name;  // value name, or for EnumKey the name returned
  };

  MemoryRegistry();
  ~MemoryRegistry() override;

  long CreateKey(platform::RegistryRoot root, const std::string& subkey, Key& key) override;
  long OpenKey(platform::RegistryRoot root, const std::string& subkey, Key& key) override;
  long SetValue(Key key, const std::string& name, std::uint32_t type,
                std::span<const std::uint8_t> data) override;
  long DeleteValue(Key key, const std::string& name) override;
  long QueryValue(Key key, const std::string& name, std::uint32_t& type,
                  std::vector<std::uint8_t>& data) override;
  long EnumKey(Key key, std::uint32_t index, std::string& name) override;
  long CloseKey(Key key) override;

  // Arranging and reading the tree directly, without recording.
  void AddKey(platform::RegistryRoot root, const std::string& path);
  void Put(platform::RegistryRoot root, const std::string& path, const std::string& name,
           Value value);
  bool HasKey(platform::RegistryRoot root, const std::string& path) const;
  std::optional<Value> Get(platform::RegistryRoot root, const std::string& path,
                           const std::string& name) const;

  // Failures. Paths compare without regard to case; the root is not compared.
  // A SetValue or DeleteValue of that value of that key gives code.
  void FailSetValue(const std::string& path, const std::string& name, long code);
  // Every CreateKey, SetValue and DeleteValue gives code, as a registry opened
  // without write access does.
  void FailAllWrites(long code);
  void FailOpenKey(const std::string& path, long code);
  // A QueryValue of that value of that key gives code.
  void FailQueryValue(const std::string& path, const std::string& name, long code);
  // EnumKey of that key gives code at index and beyond.
  void FailEnumKey(const std::string& path, std::uint32_t index, long code);
  // Takes back every failure injected so far.
  void ClearFailures() {
    failures_.clear();
    allWritesFail_.reset();
  }
  // Whether a path that begins with a backslash (or holds an empty name) is
  // refused with 161, as the NT family does; the Windows 95 family accepts it
  // and ignores the empty names. Refused unless told otherwise.
  void RefuseBadPathnames(bool refuse) { refuseBadPathnames_ = refuse; }

  const std::vector<Call>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // The write calls only (SetValue and DeleteValue), as "path|name" for SetValue
  // and "-path|name" for DeleteValue.
  std::vector<std::string> Writes() const;
  std::size_t OpenHandleCount() const { return handles_.size(); }

 private:
  struct Node;
  struct Handle {
    Node* node;
    platform::RegistryRoot root;
    std::string path;
  };
  struct Failure {
    Op op;
    std::string path;
    std::string name;
    std::uint32_t index;
    long code;
  };

  Node& RootNode(platform::RegistryRoot root) const;
  // Splits a path into key names; nothing when the path is refused.
  std::optional<std::vector<std::string>> Split(const std::string& path, bool strict) const;
  Node* Find(platform::RegistryRoot root, const std::string& path) const;
  Node& Make(platform::RegistryRoot root, const std::vector<std::string>& names);
  long Injected(Op op, const std::string& path, const std::string& name,
                std::uint32_t index = 0) const;
  long Adopt(Node& node, platform::RegistryRoot root, const std::string& path, Key& key);
  const Handle* Lookup(Key key) const;

  std::unique_ptr<Node> localMachine_;
  std::unique_ptr<Node> currentUser_;
  std::map<Key, Handle> handles_;
  Key nextKey_ = 0x100;
  std::vector<Call> calls_;
  std::vector<Failure> failures_;
  std::optional<long> allWritesFail_;
  bool refuseBadPathnames_ = true;
};

}  // namespace doubles
