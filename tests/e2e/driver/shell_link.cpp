#include "tests/e2e/driver/shell_link.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <vector>

#include "tests/e2e/driver/wait.h"

namespace e2e {
namespace {

// COM for the calling thread, for the life of the object.
class ComApartment {
 public:
  ComApartment() : result_(CoInitialize(nullptr)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT result_;
};

std::string Hex(HRESULT result) {
  char text[16];
  wsprintfA(text, "0x%08lX", static_cast<unsigned long>(result));
  return text;
}

}  // namespace

std::string CommonProgramsFolder() {
  char path[MAX_PATH] = {};
  const HRESULT result = SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, path);
  if (FAILED(result)) throw Failure("no common programs folder: " + Hex(result));
  return path;
}

std::string ShortcutTarget(const std::string& link) {
  const ComApartment apartment;
  Microsoft::WRL::ComPtr<IShellLinkA> shell_link;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(shell_link.GetAddressOf()));
  if (FAILED(result)) throw Failure("no shell link object: " + Hex(result));
  Microsoft::WRL::ComPtr<IPersistFile> file;
  result =
      shell_link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.GetAddressOf()));
  if (FAILED(result)) throw Failure("a shell link that cannot load: " + Hex(result));

  std::vector<wchar_t> wide(link.size() + 1);
  MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  result = file->Load(wide.data(), STGM_READ);
  if (FAILED(result)) throw Failure("cannot read the link " + link + ": " + Hex(result));
  char target[MAX_PATH] = {};
  result = shell_link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
  if (FAILED(result)) throw Failure("the link " + link + " names no file: " + Hex(result));
  return target;
}

}  // namespace e2e
