#pragma once

#include <string>
#include <vector>

#include "platform/shell.h"

namespace platform {

// One choice of a file dialog's type list: "Text Document (*.txt)" listing "*.txt".
struct FileType {
  std::string description;
  std::string pattern;
};

struct SaveFileRequest {
  WindowHandle owner = 0;
  std::string title;
  std::vector<FileType> types;
  std::string initialDirectory;
  std::string fileName;  // proposed in the dialog; empty for none
  // Added to a name typed without an extension (without its dot). The
  // dialog takes the extension of the type chosen in its list instead, when
  // that type has one.
  std::string defaultExtension;
};

// The system's common file dialogs.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // Shows the save dialog modally over the owner and returns the full path
  // chosen, or an empty text when the user cancels.
  virtual std::string AskSaveFileName(const SaveFileRequest& request) = 0;
};

}  // namespace platform
