#pragma once

#include <optional>
#include <string>

#include "kestrel/kestrel_app.h"
#include "kestrel/settings_panel.h"

namespace kestrel {

// The message of the first problem of a Manual panel, or nothing when it is valid.
std::optional<std::string> FindSettingsProblem(const SettingsPanel& panel);

// Shows the first problem's message, and says whether there was one: true
// when the panel is invalid.
bool TellIfSettingsInvalid(const SettingsPanel& panel, platform::MessageBoxes& messages);

// Apply: validates a Manual panel, saves and writes the settings, tells the
// user and offers the restart.
void ApplySettings(KestrelApp& app, const SettingsPanel& panel, SettingsPanelHost& host);

}  // namespace kestrel
