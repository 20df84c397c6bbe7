#include "kestrel/main_window.h"

#include "kestrel/mtu_search.h"

#include "common/links.h"
#include "common/os_version.h"
#include "common/ping_settings.h"
#include "kestrel/apply_flow.h"
#include "kestrel/control_ids.h"
#include "kestrel/control_panel.h"
#include "kestrel/settings_file.h"
#include "kestrel/startup.h"
#include "kestrel/tip_of_the_day.h"
#include "kestrel/undo.h"

namespace kestrel {

MainWindowModel::MainWindowModel(KestrelApp& app, MainWindowHost& host)
    : app_(app), host_(host), panel_(app, host) {}

void MainWindowModel::Load() {
  panel_.FormLoading = true;

  const common::WindowsVersion version = common::GetOSVersion(app_.platform.version, &app_.OSEra);
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
  host_.AssignToolbarImages();
  host_.PumpMessages();

  // The window is still hidden: the tip, when it opens, comes first.
  if (ShowTipsAtStartup(app_)) host_.ShowTipOfTheDay(true);

  host_.ShowMainWindow();
  panel_.FormLoading = false;
}

void MainWindowModel::Run(Command command) {
  if (busy_) return;
  switch (command) {
    case Command::Apply:
      Apply();
      break;
    case Command::Preview:
      if (const auto preview = PreviewApply(app_, panel_.controls())) {
        host_.ShowChangePreview(*preview);
      }
      break;
    case Command::FindLargestMtu:
      if (const auto mtu = host_.ShowMtuFinder(MtuFinderHost(app_.PingSettings))) {
        panel_.UseMeasuredMTU(*mtu);
      }
      break;
    case Command::PingConfiguration:
      ShowPingConfiguration();
      break;
    case Command::Restore:
      RestoreWindowsDefaults(app_, panel_);
      break;
    case Command::Undo:
      UndoAllChangesByKestrel(app_);
      break;
    case Command::Backup:
      busy_ = true;
      BackupRegistry(app_, host_);
      busy_ = false;
      if (closeWhenIdle_) host_.CloseMainWindow();
      break;
    case Command::Exit:
      host_.CloseMainWindow();
      break;
    case Command::ToolBar:
      ToggleToolBar();
      break;
    case Command::StatusBar:
      ToggleStatusBar();
      break;
    case Command::SystemOptions:
      OpenSystemOptions(app_);
      break;
    case Command::InternetOptions:
      OpenInternetOptions(app_);
      break;
    case Command::ModemOptions:
      OpenModemOptions(app_);
      break;
    case Command::NetworkOptions:
      OpenNetworkOptions(app_);
      break;
    case Command::Help:
      OpenHelp();
      break;
    case Command::TipOfTheDay:
      host_.ShowTipOfTheDay(false);
      break;
    case Command::WebSite:
      common::OpenWebSite(app_.platform.shell, host_.MainWindowHandle());
      break;
    case Command::Email:
      common::SendEmail(app_.platform.shell, host_.MainWindowHandle());
      break;
  }
}

bool MainWindowModel::CloseRequested() {
  if (!busy_) return true;
  if (!closeWhenIdle_) {
    closeWhenIdle_ = app_.platform.messages.Show(
                         "The registry backup is still running: the registry editor is writing "
                         "the file.\r\n\r\nClose Kestrel as soon as the backup has ended?",
                         kProgramTitle, platform::MessageButtons::YesNo,
                         platform::MessageIcon::Information) == platform::MessageAnswer::Yes;
  }
  return false;
}

bool MainWindowModel::MenuItemClicked(int id) {
  const auto command = MenuCommand(id);
  if (command) Run(*command);
  return command.has_value();
}

void MainWindowModel::ToolbarButtonClicked(const std::string& key) {
  if (const auto command = ToolbarCommand(key)) Run(*command);
}

void MainWindowModel::Apply() {
  ApplySettings(app_, panel_.controls(), host_);
}

void MainWindowModel::ShowPingConfiguration() {
  host_.ShowPingDialog();
}

void MainWindowModel::OpenHelp() {
  common::OpenHelpFile(app_.platform.shell, host_.MainWindowHandle(), app_.ProgramDirectory());
}

void MainWindowModel::SetLayout(int windowHeight, int frame1Top, int toolBarHeight,
                                int statusBarHeight) {
  layout_ = MainWindowLayout{windowHeight, frame1Top, true, true};
  toolBarHeight_ = toolBarHeight;
  statusBarHeight_ = statusBarHeight;
}

void MainWindowModel::ToggleToolBar() {
  // The window gives up, or gets back, exactly the toolbar's height, and
  // Frame1 follows the toolbar's bottom.
  const int change = layout_.toolBarVisible ? -toolBarHeight_ : toolBarHeight_;
  layout_.toolBarVisible = !layout_.toolBarVisible;
  layout_.windowHeight += change;
  layout_.frame1Top += change;
}

void MainWindowModel::ToggleStatusBar() {
  const int change = layout_.statusBarVisible ? -statusBarHeight_ : statusBarHeight_;
  layout_.statusBarVisible = !layout_.statusBarVisible;
  layout_.windowHeight += change;
}

bool MainWindowModel::Checked(int menuId) const {
  if (menuId == ids::mnuToolBar) return layout_.toolBarVisible;
  if (menuId == ids::mnuStatusBar) return layout_.statusBarVisible;
  return false;
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
