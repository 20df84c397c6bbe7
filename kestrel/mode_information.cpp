#include "kestrel/mode_information.h"

#include "kestrel/connection_settings.h"

namespace kestrel {

ModeInformation MakeModeInformation(const std::string& connectionTypeText,
                                    const std::string& optimizationModeText,
                                    std::int16_t optiMode) {
  ModeInformation info;
  info.title = connectionTypeText;
  if (optiMode == kManualMode) {
    info.label1 = "You choose to use the \"Manual Optimization Mode\".";
    info.label2 =
        "Try various settings combinations and watch your Internet performance to find out which "
        "configuration suits you best.\r\n\r\n"
        "In order that your settings will take effect you will have to press the 'Apply' Button "
        "which is located in the bottom of the screen.";
  } else {
    info.label1 = "You choose to use the \"" + optimizationModeText + " Optimization Mode\".";
    info.label2 =
        "After a lot of research, Kestrel offers three different Automatic Optimization Modes "
        "which will improve your connection speed.\r\n\r\n"
        "You should try all three of them to find out which one suits your Hardware "
        "Configuration best.";
  }
  return info;
}

}  // namespace kestrel
