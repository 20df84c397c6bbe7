#pragma once

// The hidden window of the tray monitor and the ids of its popup menu. The
// view creates them; the end-to-end driver finds the window and chooses the
// same commands.
namespace tidewatch::ids {

inline constexpr const char* kHiddenFormClass = "TidewatchHiddenForm";
inline constexpr const char* kHiddenFormCaption = "Tidewatch";

// Commands of the popup menu.
inline constexpr int mnuKestrel = 201;
inline constexpr int mnuPingConfiguration = 202;
inline constexpr int mnuPingNow = 203;
inline constexpr int mnuContact = 204;  // the submenu itself sends nothing
inline constexpr int mnuWebsite = 205;
inline constexpr int mnuemail = 206;
inline constexpr int mnuHelp = 207;
inline constexpr int mnuDisable = 208;
inline constexpr int mnuExit = 209;
inline constexpr int mnuConnectionLog = 210;
inline constexpr int mnuNotifyMe = 211;

// Positions for a user who works the menu with the keyboard, counted from 1
// without the separators: the driver chooses items by these.
namespace position {
inline constexpr int kKestrel = 1;
inline constexpr int kPingConfiguration = 2;
inline constexpr int kPingNow = 3;
inline constexpr int kContact = 4;
inline constexpr int kWebsite = 1;  // in "Contact us"
inline constexpr int kEmail = 2;    // in "Contact us"
inline constexpr int kHelp = 5;
inline constexpr int kConnectionLog = 6;
inline constexpr int kNotifyMe = 7;
inline constexpr int kDisable = 8;
inline constexpr int kExit = 9;
}  // namespace position

}  // namespace tidewatch::ids
