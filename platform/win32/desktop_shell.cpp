#include <string>

#include "platform/win32/adapters.h"
// The shell's automation interfaces; they need the shim's headers first.
#include <exdisp.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

namespace platform::win32 {

namespace {

// One reference to a COM object, released at the end of its scope.
template <typename Interface>
class ComReference {
 public:
  ComReference() = default;
  ComReference(const ComReference&) = delete;
  ComReference& operator=(const ComReference&) = delete;
  ~ComReference() {
    if (object_) object_->Release();
  }
  Interface** Out() { return &object_; }
  void** OutVoid() { return reinterpret_cast<void**>(&object_); }
  Interface* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  Interface* object_ = nullptr;
};

// COM on this thread for the length of one call, balanced whether or not
// the thread had it already.
class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  // A thread already in another kind of apartment still has COM.
  bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

// A text variant of the system code page's text, freed with the variant.
class TextVariant {
 public:
  explicit TextVariant(const std::string& text) {
    VariantInit(&value_);
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    value_.vt = VT_BSTR;
    value_.bstrVal = SysAllocString(wide.c_str());
  }
  TextVariant(const TextVariant&) = delete;
  TextVariant& operator=(const TextVariant&) = delete;
  ~TextVariant() { VariantClear(&value_); }
  const VARIANT& get() const { return value_; }
  BSTR text() const { return value_.bstrVal; }

 private:
  VARIANT value_;
};

// The automation object of the desktop shell's own process: the shell
// window's view of the desktop folder leads to it.
bool DesktopShellExecute(const std::string& file, const std::string& parameters, ShowCode show) {
  if (!GetShellWindow()) return false;
  const ComApartment apartment;
  if (!apartment.Usable()) return false;
  ComReference<IShellWindows> windows;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                              windows.OutVoid())) ||
      !windows) {
    return false;
  }
  VARIANT empty;
  VariantInit(&empty);
  long desktopWindow = 0;
  ComReference<IDispatch> desktopDispatch;
  if (windows->FindWindowSW(&empty, &empty, SWC_DESKTOP, &desktopWindow, SWFO_NEEDDISPATCH,
                            desktopDispatch.Out()) != S_OK ||
      !desktopDispatch) {
    return false;
  }
  ComReference<IServiceProvider> services;
  ComReference<IShellBrowser> browser;
  ComReference<IShellView> view;
  ComReference<IDispatch> background;
  ComReference<IShellFolderViewDual> folderView;
  ComReference<IDispatch> application;
  ComReference<IShellDispatch2> shell;
  if (FAILED(desktopDispatch->QueryInterface(IID_IServiceProvider, services.OutVoid())) ||
      !services ||
      FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.OutVoid())) ||
      !browser || FAILED(browser->QueryActiveShellView(view.Out())) || !view ||
      FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.OutVoid())) ||
      !background ||
      FAILED(background->QueryInterface(IID_IShellFolderViewDual, folderView.OutVoid())) ||
      !folderView || FAILED(folderView->get_Application(application.Out())) || !application ||
      FAILED(application->QueryInterface(IID_IShellDispatch2, shell.OutVoid())) || !shell) {
    return false;
  }
  const TextVariant fileText(file);
  const TextVariant parameterText(parameters);
  const TextVariant verb("open");
  VARIANT showCode;
  VariantInit(&showCode);
  showCode.vt = VT_I4;
  showCode.lVal = static_cast<LONG>(show);
  return SUCCEEDED(shell->ShellExecute(fileText.text(), parameterText.get(), empty, verb.get(),
                                       showCode));
}

}  // namespace

bool Win32DesktopShell::RunsElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  const UniqueHandle owned(token);
  TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
  DWORD size = 0;
  // Systems before Vista know no elevation: the call fails there.
  if (!GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size)) return false;
  return type == TokenElevationTypeFull;
}

bool Win32DesktopShell::OpenAsDesktop(const std::string& file, const std::string& parameters,
                                      ShowCode show) {
  return DesktopShellExecute(file, parameters, show);
}

void Win32DesktopShell::PostToAllWindows(const std::string& messageName) {
  const UINT message = RegisterWindowMessageA(messageName.c_str());
  if (message != 0) PostMessageA(HWND_BROADCAST, message, 0, 0);
}

}  // namespace platform::win32
