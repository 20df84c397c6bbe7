#pragma once

#include <array>
#include <string>

#include "kestrel/kestrel_app.h"
#include "kestrel/mode_information.h"
#include "kestrel/settings_panel.h"

namespace kestrel {

// What the main window model asks of its view.
class MainWindowHost : public SettingsPanelHost {
 public:
  // Lets pending window messages run, as the load sequence does at fixed points.
  virtual void PumpMessages() = 0;
  // Shows the ping configuration dialog modally over the main window.
  virtual void ShowPingDialog() = 0;
  // The main window, as the owner of what the shell opens for it.
  virtual platform::WindowHandle MainWindowHandle() const = 0;
};

// The presentation model of frmMain: its status bar, its settings panel and
// its load sequence.
class MainWindowModel {
 public:
  MainWindowModel(KestrelApp& app, MainWindowHost& host);

  // The load sequence, up to the moment the window is shown.
  void Load();

  // Apply, from the button, the menu or the toolbar.
  void Apply();

  // The ping configuration dialog, from the button, the menu or the toolbar.
  void ShowPingConfiguration();

  // The user's guide, from the button, the menu or the toolbar.
  void OpenHelp();

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
};

}  // namespace kestrel
