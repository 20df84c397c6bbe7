#include <vector>

#include "platform/win32/adapters.h"

namespace platform::win32 {

std::string Win32FileDialogs::AskSaveFileName(const SaveFileRequest& request) {
  // The type list as the dialog takes it: description and pattern, each
  // ending with a zero, and one more zero after the last pair.
  std::string filter;
  for (const FileType& type : request.types) {
    filter += type.description;
    filter += '\0';
    filter += type.pattern;
    filter += '\0';
  }
  filter += '\0';

  std::vector<char> file(32768, '\0');
  request.fileName.copy(file.data(), file.size() - 1);

  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = AsHwnd(request.owner);
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir =
      request.initialDirectory.empty() ? nullptr : request.initialDirectory.c_str();
  dialog.lpstrTitle = request.title.c_str();
  dialog.lpstrDefExt =
      request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
  // A read-only file cannot take the new contents, and replacing a file the
  // user already has is asked first.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT |
                 OFN_NOREADONLYRETURN | OFN_NOCHANGEDIR;
  // Cancelling, like any failure of the dialog or a missing library, gives no name.
  const auto askSave = library_.Entry("GetSaveFileNameA", askSave_);
  if (!askSave || !askSave(&dialog)) return {};
  return file.data();
}

}  // namespace platform::win32
