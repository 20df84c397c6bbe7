#include "tests/doubles/memory_registry.h"

#include <algorithm>
#include <cctype>

namespace doubles {

using platform::RegistryRoot;
namespace reg = platform::reg;

namespace {

constexpr long kInvalidHandle = 6;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool SameName(const std::string& a, const std::string& b) {
  return Lower(a) == Lower(b);
}

// The path as the failure rules compare it: names only, in lower case.
std::string Canonical(const std::string& path) {
  std::string out;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) {
      if (!out.empty()) out += '\\';
      out += Lower(path.substr(start, end - start));
    }
    start = end + 1;
  }
  return out;
}

}  // namespace

struct MemoryRegistry::Node {
  std::string name;
  std::vector<std::unique_ptr<Node>> children;
  std::vector<std::pair<std::string, Value>> values;

  Node* Child(const std::string& childName) const {
    for (const auto& child : children) {
      if (SameName(child->name, childName)) return child.get();
    }
    return nullptr;
  }
  std::pair<std::string, Value>* FindValue(const std::string& valueName) {
    for (auto& value : values) {
      if (SameName(value.first, valueName)) return &value;
    }
    return nullptr;
  }
};

std::optional<std::int32_t> MemoryRegistry::Value::Dword() const {
  if (type != reg::kTypeDword || data.size() != 4) return std::nullopt;
  std::uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) bits = (bits << 8) | data[static_cast<std::size_t>(i)];
  return static_cast<std::int32_t>(bits);
}

MemoryRegistry::MemoryRegistry()
    : localMachine_(std::make_unique<Node>()), currentUser_(std::make_unique<Node>()) {}

MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Node& MemoryRegistry::RootNode(RegistryRoot root) const {
  return root == RegistryRoot::LocalMachine ? *localMachine_ : *currentUser_;
}

std::optional<std::vector<std::string>> MemoryRegistry::Split(const std::string& path,
                                                              bool strict) const {
  std::vector<std::string> names;
  if (path.empty()) return names;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end == start) {
      // The system tolerates one trailing backslash only.
      if (strict && refuseBadPathnames_ && end != path.size()) return std::nullopt;
    } else {
      names.push_back(path.substr(start, end - start));
    }
    start = end + 1;
  }
  return names;
}

MemoryRegistry::Node* MemoryRegistry::Find(RegistryRoot root, const std::string& path) const {
  const auto names = Split(path, false);
  Node* node = &RootNode(root);
  for (const std::string& name : *names) {
    node = node->Child(name);
    if (!node) return nullptr;
  }
  return node;
}

MemoryRegistry::Node& MemoryRegistry::Make(RegistryRoot root,
                                           const std::vector<std::string>& names) {
  Node* node = &RootNode(root);
  for (const std::string& name : names) {
    Node* child = node->Child(name);
    if (!child) {
      node->children.push_back(std::make_unique<Node>());
      child = node->children.back().get();
      child->name = name;
    }
    node = child;
  }
  return *node;
}

long MemoryRegistry::Injected(Op op, const std::string& path, const std::string& name,
                              std::uint32_t index) const {
  const bool write = op == Op::CreateKey || op == Op::SetValue || op == Op::DeleteValue;
  if (write && allWritesFail_) return *allWritesFail_;
  const std::string canonical = Canonical(path);
  for (const Failure& f : failures_) {
    if (f.path != canonical) continue;
    if (f.op == Op::SetValue && (op == Op::SetValue || op == Op::DeleteValue) &&
        SameName(f.name, name)) {
      return f.code;
    }
    if (f.op == Op::OpenKey && op == Op::OpenKey) return f.code;
    if (f.op == Op::QueryValue && op == Op::QueryValue && SameName(f.name, name)) return f.code;
    if (f.op == Op::EnumKey && op == Op::EnumKey && index >= f.index) return f.code;
  }
  return reg::kSuccess;
}

long MemoryRegistry::Adopt(Node& node, RegistryRoot root, const std::string& path, Key& key) {
  key = nextKey_++;
  handles_.emplace(key, Handle{&node, root, path});
  return reg::kSuccess;
}

const MemoryRegistry::Handle* MemoryRegistry::Lookup(Key key) const {
  const auto found = handles_.find(key);
  return found == handles_.end() ? nullptr : &found->second;
}

long MemoryRegistry::CreateKey(RegistryRoot root, const std::string& subkey, Key& key) {
  calls_.push_back({Op::CreateKey, root, subkey, ""});
  key = 0;
  if (const long code = Injected(Op::CreateKey, subkey, "")) return code;
  const auto names = Split(subkey, true);
  if (!names) return reg::kBadPathname;
  return Adopt(Make(root, *names), root, subkey, key);
}

long MemoryRegistry::OpenKey(RegistryRoot root, const std::string& subkey, Key& key) {
  calls_.push_back({Op::OpenKey, root, subkey, ""});
  key = 0;
  if (const long code = Injected(Op::OpenKey, subkey, "")) return code;
  if (!Split(subkey, true)) return reg::kBadPathname;
  Node* node = Find(root, subkey);
  if (!node) return reg::kFileNotFound;
  return Adopt(*node, root, subkey, key);
}

long MemoryRegistry::SetValue(Key key, const std::string& name, std::uint32_t type,
                              std::span<const std::uint8_t> data) {
  const Handle* handle = Lookup(key);
  calls_.push_back({Op::SetValue, handle ? handle->root : RegistryRoot::LocalMachine,
                    handle ? handle->path : "?", name});
  if (!handle) return kInvalidHandle;
  if (const long code = Injected(Op::SetValue, handle->path, name)) return code;
  Value value{type, std::vector<std::uint8_t>(data.begin(), data.end())};
  if (auto* existing = handle->node->FindValue(name)) {
    existing->second = std::move(value);
  } else {
    handle->node->values.emplace_back(name, std::move(value));
  }
  return reg::kSuccess;
}

long MemoryRegistry::DeleteValue(Key key, const std::string& name) {
  const Handle* handle = Lookup(key);
  calls_.push_back({Op::DeleteValue, handle ? handle->root : RegistryRoot::LocalMachine,
                    handle ? handle->path : "?", name});
  if (!handle) return kInvalidHandle;
  if (const long code = Injected(Op::DeleteValue, handle->path, name)) return code;
  auto& values = handle->node->values;
  const auto found = std::find_if(values.begin(), values.end(),
                                  [&](const auto& value) { return SameName(value.first, name); });
  if (found == values.end()) return reg::kFileNotFound;
  values.erase(found);
  return reg::kSuccess;
}

long MemoryRegistry::QueryValue(Key key, const std::string& name, std::uint32_t& type,
                                std::vector<std::uint8_t>& data) {
  const Handle* handle = Lookup(key);
  calls_.push_back({Op::QueryValue, handle ? handle->root : RegistryRoot::LocalMachine,
                    handle ? handle->path : "?", name});
  type = reg::kTypeNone;
  data.clear();
  if (!handle) return kInvalidHandle;
  if (const long code = Injected(Op::QueryValue, handle->path, name)) return code;
  const auto* value = handle->node->FindValue(name);
  if (!value) return reg::kFileNotFound;
  type = value->second.type;
  data = value->second.data;
  return reg::kSuccess;
}

long MemoryRegistry::EnumKey(Key key, std::uint32_t index, std::string& name) {
  const Handle* handle = Lookup(key);
  name.clear();
  long result = kInvalidHandle;
  if (handle) {
    result = Injected(Op::EnumKey, handle->path, "", index);
    if (result == reg::kSuccess) {
      const auto& children = handle->node->children;
      if (index < children.size()) {
        name = children[index]->name;
      } else {
        result = reg::kNoMoreItems;
      }
    }
  }
  calls_.push_back({Op::EnumKey, handle ? handle->root : RegistryRoot::LocalMachine,
                    handle ? handle->path : "?", name});
  return result;
}

long MemoryRegistry::CloseKey(Key key) {
  const Handle* handle = Lookup(key);
  calls_.push_back({Op::CloseKey, handle ? handle->root : RegistryRoot::LocalMachine,
                    handle ? handle->path : "?", ""});
  return handles_.erase(key) == 1 ? reg::kSuccess : kInvalidHandle;
}

void MemoryRegistry::AddKey(RegistryRoot root, const std::string& path) {
  Make(root, *Split(path, false));
}

void MemoryRegistry::Put(RegistryRoot root, const std::string& path, const std::string& name,
                         Value value) {
  Node& node = Make(root, *Split(path, false));
  if (auto* existing = node.FindValue(name)) {
    existing->second = std::move(value);
  } else {
    node.values.emplace_back(name, std::move(value));
  }
}

bool MemoryRegistry::HasKey(RegistryRoot root, const std::string& path) const {
  return Find(root, path) != nullptr;
}

std::optional<MemoryRegistry::Value> MemoryRegistry::Get(RegistryRoot root, const std::string& path,
                                                         const std::string& name) const {
  Node* node = Find(root, path);
  if (!node) return std::nullopt;
  if (const auto* value = node->FindValue(name)) return value->second;
  return std::nullopt;
}

void MemoryRegistry::FailSetValue(const std::string& path, const std::string& name, long code) {
  failures_.push_back({Op::SetValue, Canonical(path), name, 0, code});
}

void MemoryRegistry::FailAllWrites(long code) {
  allWritesFail_ = code;
}

void MemoryRegistry::FailOpenKey(const std::string& path, long code) {
  failures_.push_back({Op::OpenKey, Canonical(path), "", 0, code});
}

void MemoryRegistry::FailQueryValue(const std::string& path, const std::string& name, long code) {
  failures_.push_back({Op::QueryValue, Canonical(path), name, 0, code});
}

void MemoryRegistry::FailEnumKey(const std::string& path, std::uint32_t index, long code) {
  failures_.push_back({Op::EnumKey, Canonical(path), "", index, code});
}

std::vector<std::string> MemoryRegistry::Writes() const {
  std::vector<std::string> writes;
  for (const Call& call : calls_) {
    if (call.op == Op::SetValue) writes.push_back(call.path + "|" + call.name);
    if (call.op == Op::DeleteValue) writes.push_back("-" + call.path + "|" + call.name);
  }
  return writes;
}

}  // namespace doubles
