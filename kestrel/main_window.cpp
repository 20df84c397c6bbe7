#include "kestrel/main_window.h"

#include "common/links.h"
#include "common/os_version.h"
#include "common/ping_settings.h"
#include "kestrel/apply_flow.h"
#include "kestrel/settings_file.h"
#include "kestrel/startup.h"

namespace kestrel {

MainWindowModel::MainWindowModel(KestrelApp& app, MainWindowHost& host)
    : app_(app), host_(host), panel_(app, host) {}

void MainWindowModel::Load() {
  panel_.FormLoading = true;

  const common::WindowsVersion version = common::GetOSVersion(app_.platform.version);
  app_.OSName = version.name;
  app_.OSCode = version.code;
  osStatus_ = "OS: " + app_.OSName;

  app_.presets = InitPresets();
  panel_.FillSettingLists();
  LoadSettingsFile(app_);
  common::LoadPingSettings(app_.MakePingContext());
  host_.PumpMessages();

  StartTidewatch(app_);
  host_.PumpMessages();
  host_.PumpMessages();

  panel_.ShowSettings();
  hintStatus_ = "Choose your wanted Settings and Press \"Apply\"";
  host_.PumpMessages();

  panel_.FormLoading = false;
}

void MainWindowModel::Apply() { ApplySettings(app_, panel_.controls(), host_); }

void MainWindowModel::ShowPingConfiguration() { host_.ShowPingDialog(); }

void MainWindowModel::OpenHelp() {
  common::OpenHelpFile(app_.platform.shell, host_.MainWindowHandle(), app_.ProgramDirectory());
}

ModeInformation MainWindowModel::CurrentModeInformation() const {
  const SettingsPanel& controls = panel_.controls();
  return MakeModeInformation(controls.cmbNetType.SelectedText(),
                             controls.cmbOptimize.SelectedText(), app_.CurrentSettings.OptiMode);
}

std::array<std::string, 3> MainWindowModel::StatusPanels() const {
  return {hintStatus_, panel_.modeStatus(), osStatus_};
}

}  // namespace kestrel
