#include "kestrel/main_menu.h"

#include <utility>

#include "kestrel/control_ids.h"

namespace kestrel {
namespace {

MenuEntry Item(const char* caption, const char* control, int id, Command command) {
  return {caption, control, id, command, {}};
}

MenuEntry Separator(const char* control, int id) {
  return {"-", control, id, std::nullopt, {}};
}

MenuEntry Submenu(const char* caption, const char* control, int id, std::vector<MenuEntry> items) {
  return {caption, control, id, std::nullopt, std::move(items)};
}

std::optional<Command> Find(const std::vector<MenuEntry>& entries, int id) {
  for (const MenuEntry& entry : entries) {
    if (entry.id == id && entry.command) return entry.command;
    if (const auto found = Find(entry.items, id)) return found;
  }
  return std::nullopt;
}

}  // namespace

const std::vector<std::string>& CommandButtonCaptions() {
  static const std::vector<std::string> captions = {"&Apply", "P&review", "&Ping Configuration",
                                                    "&Help"};
  return captions;
}

const std::vector<MenuEntry>& MainMenu() {
  using C = Command;
  namespace i = ids;
  static const std::vector<MenuEntry> menu = {
      Submenu("&File", "mnuFile", 0,
              {Item("&Apply New Settings", "mnuApplyNewSettings", i::mnuApplyNewSettings, C::Apply),
               Item("Preview &Changes...", "mnuPreview", i::mnuPreview, C::Preview),
               Item("Find the &Largest MTU...", "mnuFindMtu", i::mnuFindMtu, C::FindLargestMtu),
               Item("&Registry Backup", "mnuRegistryBackup", i::mnuRegistryBackup, C::Backup),
               Item("&Ping Configuration", "mnuPingConfiguration", i::mnuPingConfiguration,
                    C::PingConfiguration),
               Separator("mnudash1", i::mnudash1),
               Item("Restore &Windows Original Settings", "mnuRestore", i::mnuRestore, C::Restore),
               Item("&Undo All Changes by Kestrel", "mnuUndo", i::mnuUndo, C::Undo),
               Separator("mnudash2", i::mnudash2), Item("&Exit", "mnuExit", i::mnuExit, C::Exit)}),
      Submenu("&View", "mnuView", 0,
              {Item("&ToolBar", "mnuToolBar", i::mnuToolBar, C::ToolBar),
               Item("&Status Bar", "mnuStatusBar", i::mnuStatusBar, C::StatusBar),
               Separator("mnudash3", i::mnudash3),
               Submenu("&Control Panel", "mnuControlPanel", i::mnuControlPanel,
                       {Item("&Systems...", "mnuSystem", i::mnuSystem, C::SystemOptions),
                        Item("&Internet...", "mnuInternet", i::mnuInternet, C::InternetOptions),
                        Item("&Modems...", "mnumodem", i::mnumodem, C::ModemOptions),
                        Item("&Networks...", "mnuNetwork", i::mnuNetwork, C::NetworkOptions)})}),
      Submenu("&Help", "mnuHelpMenu", 0,
              {Item("User's Guide", "mnuHelp1", i::mnuHelp1, C::Help),
               Item("&Tip of the Day", "mnutip", i::mnutip, C::TipOfTheDay),
               Separator("mnudash9", i::mnudash9),
               Submenu("Contact us", "mnucontactus1", i::mnucontactus1,
                       {Item("Visit our Web Site", "mnuwebsite1", i::mnuwebsite1, C::WebSite),
                        Item("Email us", "mnuemail1", i::mnuemail1, C::Email)})}),
  };
  return menu;
}

std::optional<Command> MenuCommand(int id) {
  return Find(MainMenu(), id);
}

const std::vector<ToolbarButton>& Toolbar() {
  // Image 11 is drawn for the Help button, which has none of the ten.
  static const std::vector<ToolbarButton> buttons = {
      {"Apply", "Apply New Settings", 10},
      {"Ping", "Ping Configuration", 5},
      {},
      {"Restore", "Restore Original Settings", 9},
      {"Backup", "Backup Registry", 4},
      {},
      {"Internet", "Internet Options", 6},
      {"System", "System Options", 3},
      {"Modem", "Modem Options", 2},
      {"Network", "Network Options", 1},
      {},
      {"Help", "Help", 11},
  };
  return buttons;
}

std::optional<Command> ToolbarCommand(const std::string& key) {
  using C = Command;
  static const std::pair<const char*, Command> kDispatch[] = {
      {"Apply", C::Apply},        {"Ping", C::PingConfiguration},   {"Restore", C::Restore},
      {"Backup", C::Backup},      {"Internet", C::InternetOptions}, {"System", C::SystemOptions},
      {"Modem", C::ModemOptions}, {"Network", C::NetworkOptions},   {"Help", C::Help},
  };
  for (const auto& [name, command] : kDispatch) {
    if (key == name) return command;
  }
  return std::nullopt;
}

}  // namespace kestrel
