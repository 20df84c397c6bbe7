#include "kestrel/admin_commands.h"

#include "common/files.h"
#include "common/numbers.h"
#include "common/os_version.h"
#include "kestrel/apply_flow.h"
#include "kestrel/change_preview.h"
#include "kestrel/registry_script.h"
#include "kestrel/settings_file.h"
#include "kestrel/settings_panel.h"
#include "kestrel/startup.h"

namespace kestrel {
namespace {

// Without a window there is no one to show the mode information to.
class SilentPanelHost : public SettingsPanelHost {
 public:
  void ShowModeInformation() override {}
};

struct Switch {
  std::string name;
  std::string file;
};

Switch SplitSwitch(const std::string& arguments) {
  const std::string_view trimmed = common::TrimBlanks(arguments);
  const std::size_t end = trimmed.find_first_of(" \t");
  Switch s{std::string(trimmed.substr(0, end)), ""};
  if (end == std::string_view::npos) return s;
  std::string_view file = common::TrimBlanks(trimmed.substr(end));
  // A path with blanks comes in quotes, as a shell passes it.
  if (file.size() >= 2 && file.front() == '"' && file.back() == '"') {
    file = file.substr(1, file.size() - 2);
  }
  s.file = std::string(file);
  return s;
}

int ApplyExitCode(SaveResult result) {
  // Anything but Saved left at least one value unwritten; the undo record
  // holds the earlier state of every value that was written.
  return result == SaveResult::Saved ? kAdminDone : kAdminNotWritten;
}

}  // namespace

std::optional<int> PrepareSettingsFromFile(KestrelApp& app, const std::string& path) {
  const common::WindowsVersion version = common::GetOSVersion(app.platform.version, &app.OSEra);
  app.OSName = version.name;
  app.OSCode = version.code;

  if (!common::FileExists(app.platform.files, path)) return kAdminUnreadable;
  const auto text = app.platform.files.ReadAll(path);
  if (!text) return kAdminUnreadable;
  const auto loaded = ParseSettingsFile(*text, app.presets.WindowsDefaults);
  if (!loaded) return kAdminUnreadable;

  // The panel as the main window would show the file: Apply validates that,
  // and writes the record as the panel's rules leave it.
  SilentPanelHost host;
  SettingsPanelModel panel(app, host);
  panel.FormLoading = true;
  panel.FillSettingLists();
  app.CurrentSettings = *loaded;
  panel.ShowSettings();
  panel.FormLoading = false;
  if (app.CurrentSettings.OptiMode == kManualMode && FindSettingsProblem(panel.controls())) {
    return kAdminInvalidPanel;
  }
  return std::nullopt;
}

std::string MakeApplyScript(KestrelApp& app) {
  PreviewRegistry registry(app.platform.registry);
  WriteAppSettings(app, registry, false);
  return FormatRegistryScript(registry.changes(), common::IsNtFamily(app.OSCode));
}

std::optional<int> RunAdminCommandLine(KestrelApp& app) {
  const Switch s = SplitSwitch(CommandLineArguments(app.platform.environment.CommandLine()));
  if (common::SameTextIgnoringCase(s.name, "/apply")) {
    const std::string path = s.file.empty() ? SettingsFilePath(app) : s.file;
    if (const auto refused = PrepareSettingsFromFile(app, path)) return refused;
    // Kestrel.cfg gets the applied settings too, so that the window shows
    // what the registry holds.
    return ApplyExitCode(SaveAndApplySettings(app));
  }
  if (common::SameTextIgnoringCase(s.name, "/export") && !s.file.empty()) {
    if (const auto refused = PrepareSettingsFromFile(app, SettingsFilePath(app))) return refused;
    return common::ReplaceFileContents(app.platform.files, s.file, MakeApplyScript(app))
               ? kAdminDone
               : kAdminNotWritten;
  }
  return std::nullopt;
}

}  // namespace kestrel
