#pragma once

#include <array>
#include <optional>
#include <string>

#include "kestrel/change_preview.h"
#include "kestrel/kestrel_app.h"
#include "kestrel/main_menu.h"
#include "kestrel/mode_information.h"
#include "kestrel/restore_backup.h"
#include "kestrel/settings_panel.h"

namespace kestrel {

// What the main window model asks of its view.
class MainWindowHost : public SettingsPanelHost, public BackupWindow {
 public:
  // Gives Toolbar1 its image list and each button its image.
  virtual void AssignToolbarImages() = 0;
  // The tip of the day: modal waits until it is closed; otherwise the tip
  // window opens beside the main window, or comes to the front if it is open.
  virtual void ShowTipOfTheDay(bool modal) = 0;
  // Shows the loaded window in the normal state.
  virtual void ShowMainWindow() = 0;
  // Closes the main window as its close box does.
  virtual void CloseMainWindow() = 0;
  // Shows the ping configuration dialog modally over the main window.
  virtual void ShowPingDialog() = 0;
  // Shows what Apply would change, modally over the main window.
  virtual void ShowChangePreview(const ChangePreview& preview) = 0;
  // Shows the MTU measurement modally over the main window, starting with
  // host; gives the MTU the user chose to use, if any.
  virtual std::optional<int> ShowMtuFinder(const std::string& host) = 0;
};

// Heights and places that the two view switches change, in pixels.
struct MainWindowLayout {
  int windowHeight = 0;  // the outer height of the window
  int frame1Top = 0;     // the top of Frame1 in the client area
  bool toolBarVisible = true;
  bool statusBarVisible = true;
  bool operator==(const MainWindowLayout&) const = default;
};

// The presentation model of frmMain: its load sequence, its commands from the
// menus, the toolbar and the buttons, its status bar and its view switches.
class MainWindowModel {
 public:
  MainWindowModel(KestrelApp& app, MainWindowHost& host);

  // The load sequence, from the first step to showing the window.
  void Load();

  // Runs a command, whichever menu item or button it came from. Does nothing
  // while a backup runs.
  void Run(Command command);
  // A menu item: false when the id belongs to no item with a command.
  bool MenuItemClicked(int id);
  // A toolbar button, dispatched by its key.
  void ToolbarButtonClicked(const std::string& key);

  // The operations behind the commands of the same name.
  void Apply();
  void ShowPingConfiguration();
  void OpenHelp();

  // The view's measurements once its controls exist; the switches work from them.
  void SetLayout(int windowHeight, int frame1Top, int toolBarHeight, int statusBarHeight);
  void ToggleToolBar();
  void ToggleStatusBar();
  const MainWindowLayout& layout() const { return layout_; }
  // The check mark of a menu item.
  bool Checked(int menuId) const;

  // True while a command runs that waits for another program.
  bool Busy() const { return busy_; }
  // The user asks to close the window: true when it may close now. While the
  // registry editor exports, the user is told and may have the window close
  // as soon as the export has ended.
  bool CloseRequested();

  // The texts of frmDisplay for the present choice.
  ModeInformation CurrentModeInformation() const;

  SettingsPanelModel& panel() { return panel_; }
  const SettingsPanelModel& panel() const { return panel_; }

  // Status bar panels 1 to 3 (index 0 to 2).
  std::array<std::string, 3> StatusPanels() const;

 private:
  KestrelApp& app_;
  MainWindowHost& host_;
  SettingsPanelModel panel_;
  std::string hintStatus_;
  std::string osStatus_;
  MainWindowLayout layout_;
  int toolBarHeight_ = 0;
  int statusBarHeight_ = 0;
  bool busy_ = false;
  bool closeWhenIdle_ = false;
};

}  // namespace kestrel
