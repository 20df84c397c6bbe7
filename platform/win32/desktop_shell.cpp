#include <string>

#include "platform/win32/adapters.h"
// The shell's automation interfaces; they need the shim's headers first.
#include <exdisp.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

namespace platform::win32 {

// The calls of COM that starting through the desktop shell needs, bound on
// its first use; a call that cannot be bound makes that start fail.
struct Win32DesktopShell::Com {
  LateBoundLibrary ole32{"OLE32.DLL"};
  LateBoundLibrary oleaut32{"OLEAUT32.DLL"};
  decltype(&CoInitializeEx) initialize = nullptr;
  decltype(&CoUninitialize) uninitialize = nullptr;
  decltype(&CoCreateInstance) createInstance = nullptr;
  decltype(&SysAllocString) allocString = nullptr;
  decltype(&VariantClear) clearVariant = nullptr;

  bool Bind() {
    return ole32.Entry("CoInitializeEx", initialize) &&
           ole32.Entry("CoUninitialize", uninitialize) &&
           ole32.Entry("CoCreateInstance", createInstance) &&
           oleaut32.Entry("SysAllocString", allocString) &&
           oleaut32.Entry("VariantClear", clearVariant);
  }
};

namespace {

using Com = Win32DesktopShell::Com;

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
  explicit ComApartment(const Com& com)
      : com_(com), result_(com.initialize(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(result_)) com_.uninitialize();
  }
  // A thread already in another kind of apartment still has COM.
  bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  const Com& com_;
  HRESULT result_;
};

// A text variant of the system code page's text, freed with the variant.
class TextVariant {
 public:
  TextVariant(const Com& com, const std::string& text) : com_(com) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    value_.vt = VT_BSTR;
    value_.bstrVal = com.allocString(wide.c_str());
  }
  TextVariant(const TextVariant&) = delete;
  TextVariant& operator=(const TextVariant&) = delete;
  ~TextVariant() { com_.clearVariant(&value_); }
  const VARIANT& get() const { return value_; }
  BSTR text() const { return value_.bstrVal; }

 private:
  const Com& com_;
  VARIANT value_{};  // empty until it holds the text
};

// The automation object of the desktop shell's own process: the shell
// window's view of the desktop folder leads to it.
bool DesktopShellExecute(Com& com, const std::string& file, const std::string& parameters,
                         ShowCode show) {
  if (!GetShellWindow() || !com.Bind()) return false;
  const ComApartment apartment(com);
  if (!apartment.Usable()) return false;
  ComReference<IShellWindows> windows;
  if (FAILED(com.createInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                              windows.OutVoid())) ||
      !windows) {
    return false;
  }
  VARIANT empty{};  // VT_EMPTY
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
  const TextVariant fileText(com, file);
  const TextVariant parameterText(com, parameters);
  const TextVariant verb(com, "open");
  VARIANT showCode{};
  showCode.vt = VT_I4;
  showCode.lVal = static_cast<LONG>(show);
  return SUCCEEDED(shell->ShellExecute(fileText.text(), parameterText.get(), empty, verb.get(),
                                       showCode));
}

}  // namespace

Win32DesktopShell::Win32DesktopShell() : com_(std::make_unique<Com>()) {}

Win32DesktopShell::~Win32DesktopShell() = default;

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
  return DesktopShellExecute(*com_, file, parameters, show);
}

void Win32DesktopShell::PostToAllWindows(const std::string& messageName) {
  const UINT message = RegisterWindowMessageA(messageName.c_str());
  if (message != 0) PostMessageA(HWND_BROADCAST, message, 0, 0);
}

}  // namespace platform::win32
