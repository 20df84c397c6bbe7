#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrel {

// The commands of the main window. Menu items, toolbar buttons and command
// buttons of the same name run the same command.
enum class Command {
  Apply,
  Preview,
  FindLargestMtu,
  PingConfiguration,
  Restore,
  Undo,
  Backup,
  Exit,
  ToolBar,
  StatusBar,
  SystemOptions,
  InternetOptions,
  ModemOptions,
  NetworkOptions,
  Help,
  TipOfTheDay,
  WebSite,
  Email,
};

// One entry of the menu bar: an item with a command, a separator (caption
// "-"), or a submenu (items not empty). Top-level menus have no id.
struct MenuEntry {
  std::string caption;
  std::string control;
  int id = 0;
  std::optional<Command> command;
  std::vector<MenuEntry> items;

  bool IsSeparator() const { return caption == "-"; }
};

// The captions of frmMain's command buttons, Apply first.
const std::vector<std::string>& CommandButtonCaptions();

// The menu bar, left to right, each menu with its items top to bottom.
const std::vector<MenuEntry>& MainMenu();

// The command of a menu item's id, if it has one.
std::optional<Command> MenuCommand(int id);

// One position of Toolbar1. A separator has no key. Images count from 1.
struct ToolbarButton {
  std::string key;
  std::string tooltip;
  int image = 0;

  bool IsSeparator() const { return key.empty(); }
};

// The twelve positions, left to right.
const std::vector<ToolbarButton>& Toolbar();

// The command of a toolbar button's key: the keys are compared in a fixed
// order and the first match wins; any other key has none.
std::optional<Command> ToolbarCommand(const std::string& key);

}  // namespace kestrel
