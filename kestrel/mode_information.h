#pragma once

#include <cstdint>
#include <string>

namespace kestrel {

// The texts of the mode information dialog frmDisplay.
struct ModeInformation {
  std::string title;   // the chosen connection type
  std::string label1;  // which mode the user chose
  std::string label2;  // what to do with it
};

ModeInformation MakeModeInformation(const std::string& connectionTypeText,
                                    const std::string& optimizationModeText,
                                    std::int16_t optiMode);

}  // namespace kestrel
