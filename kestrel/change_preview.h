#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "kestrel/kestrel_app.h"
#include "kestrel/settings_panel.h"
#include "platform/registry.h"

namespace kestrel {

// One value that a write would set or remove, with what it holds now.
struct PlannedChange {
  platform::RegistryRoot root = platform::RegistryRoot::LocalMachine;
  std::string key;
  std::string name;
  bool remove = false;
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  // The value as it is now: absent, or its type and bytes.
  bool existsNow = false;
  std::uint32_t typeNow = 0;
  std::vector<std::uint8_t> dataNow;

  bool Changes() const;
};

// A registry that reads through to the real one and notes every write and
// removal instead of making it. A key that would be created is there, empty,
// for as long as it is open, and nothing is created in the real registry.
class PreviewRegistry : public platform::Registry {
 public:
  explicit PreviewRegistry(platform::Registry& inner) : inner_(inner) {}
  ~PreviewRegistry() override;

  long CreateKey(platform::RegistryRoot root, const std::string& subkey, Key& key) override;
  long OpenKey(platform::RegistryRoot root, const std::string& subkey, Key& key) override;
  long SetValue(Key key, const std::string& name, std::uint32_t type,
                std::span<const std::uint8_t> data) override;
  long DeleteValue(Key key, const std::string& name) override;
  long QueryValue(Key key, const std::string& name, std::uint32_t& type,
                  std::vector<std::uint8_t>& data) override;
  long EnumKey(Key key, std::uint32_t index, std::string& name) override;
  long CloseKey(Key key) override;

  // Every write and removal, in the order they were asked for.
  const std::vector<PlannedChange>& changes() const { return changes_; }

 private:
  struct OpenedKey {
    platform::RegistryRoot root;
    std::string path;
    std::optional<Key> inner;  // none for a key that does not exist yet
  };
  long Adopt(long result, platform::RegistryRoot root, const std::string& path, Key inner,
             Key& key);
  PlannedChange Plan(Key key, const std::string& name);

  platform::Registry& inner_;
  std::map<Key, OpenedKey> opened_;
  Key next_ = 1;
  std::vector<PlannedChange> changes_;
};

// One row of the preview window.
struct PreviewRow {
  std::string value;   // the value's name, then the key: "DefaultTTL in SYSTEM\..."
  std::string now;     // "absent" or the data
  std::string after;   // "removed" or the data
  std::string readBy;  // "yes" or "no" and the reason
  bool changes = false;
  bool notRead = false;
};

struct ChangePreview {
  std::string summary;
  std::vector<PreviewRow> rows;
  // The same writes as a script for the registry editor of this Windows.
  std::string registryScript;
};

// The rows for the writes, read against the running Windows.
ChangePreview MakeChangePreview(const std::vector<PlannedChange>& changes, std::int16_t osCode,
                                common::WindowsEra era, const std::string& osName);

// What Apply would write now, worked out by the very writer Apply runs, over
// a registry that makes no change. Nothing, after the same message Apply
// gives, when the Manual panel is invalid.
std::optional<ChangePreview> PreviewApply(KestrelApp& app, const SettingsPanel& panel);

// "Export as .reg...": asks where to save the preview's registry script and
// writes it there, telling the user how that went. Nothing on Cancel.
void ExportRegistryScript(KestrelApp& app, const ChangePreview& preview,
                          platform::WindowHandle owner);

}  // namespace kestrel
