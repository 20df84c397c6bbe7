#include "tests/e2e/driver/window.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <utility>

namespace e2e {
namespace {

std::string Hex(std::uintptr_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(value));
  return text;
}

std::string FromWide(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

// Memory in the target process for a message whose pointer Wine passes on
// unchanged, as it does for every message of the common controls.
class RemoteBuffer {
 public:
  RemoteBuffer(DWORD process_id, std::size_t size) : size_(size) {
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id);
    if (!process_) {
      throw Failure("cannot open process " + Hex(process_id) + " for a message buffer: error " +
                    std::to_string(GetLastError()));
    }
    address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address_) {
      const DWORD error = GetLastError();
      CloseHandle(process_);
      throw Failure("cannot allocate a message buffer in process " + Hex(process_id) + ": error " +
                    std::to_string(error));
    }
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  ~RemoteBuffer() {
    VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    CloseHandle(process_);
  }

  LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }

  void Write(const void* data, std::size_t size) const {
    SIZE_T written = 0;
    if (!WriteProcessMemory(process_, address_, data, size, &written) || written != size) {
      throw Failure("cannot write a message buffer: error " + std::to_string(GetLastError()));
    }
  }

  void Read(void* out, std::size_t size) const {
    SIZE_T read = 0;
    if (!ReadProcessMemory(process_, address_, out, size, &read) || read != size) {
      throw Failure("cannot read a message buffer: error " + std::to_string(GetLastError()));
    }
  }

  std::string ReadString() const {
    std::string bytes(size_, '\0');
    SIZE_T read = 0;
    if (!ReadProcessMemory(process_, address_, bytes.data(), size_, &read)) {
      throw Failure("cannot read a message buffer: error " + std::to_string(GetLastError()));
    }
    bytes.resize(read);
    const std::size_t end = bytes.find('\0');
    if (end != std::string::npos) bytes.resize(end);
    return bytes;
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  std::size_t size_;
};

struct EnumState {
  std::string_view class_name;
  DWORD process_id;
  Visibility visibility;
  std::vector<Window>* out;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM lparam) {
  auto& state = *reinterpret_cast<EnumState*>(lparam);
  const Window window(hwnd);
  if (state.process_id != 0 && window.ProcessId() != state.process_id) return TRUE;
  if (state.visibility == Visibility::kVisible && !IsWindowVisible(hwnd)) return TRUE;
  if (!state.class_name.empty() && window.ClassName() != state.class_name) return TRUE;
  state.out->push_back(window);
  return TRUE;
}

}  // namespace

bool Window::Exists() const {
  return hwnd_ && IsWindow(hwnd_);
}

DWORD Window::ProcessId() const {
  DWORD id = 0;
  if (hwnd_) GetWindowThreadProcessId(hwnd_, &id);
  return id;
}

std::string Window::ClassName() const {
  char name[256] = "";
  if (hwnd_) GetClassNameA(hwnd_, name, sizeof name);
  return name;
}

int Window::Id() const {
  return hwnd_ ? GetDlgCtrlID(hwnd_) : 0;
}
bool Window::Visible() const {
  return Exists() && IsWindowVisible(hwnd_);
}
bool Window::Enabled() const {
  return Exists() && IsWindowEnabled(hwnd_);
}

RECT Window::Rect() const {
  RequireExists("read the rectangle of");
  RECT rect{};
  GetWindowRect(hwnd_, &rect);
  return rect;
}

std::string Window::Text() const {
  RequireExists("read the text of");
  const auto length = static_cast<std::size_t>(Send(WM_GETTEXTLENGTH));
  std::string text(length + 1, '\0');
  const auto copied = static_cast<std::size_t>(
      Send(WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data())));
  text.resize(std::min(copied, length));
  return text;
}

std::string Window::Describe() const {
  if (!Exists()) return "window " + Hex(reinterpret_cast<std::uintptr_t>(hwnd_)) + " (gone)";
  const std::string title = WindowTitle(*this);
  std::string out = ClassName() + " " + Hex(reinterpret_cast<std::uintptr_t>(hwnd_));
  if (GetWindowLongA(hwnd_, GWL_STYLE) & WS_CHILD) out += " id " + std::to_string(Id());
  out += " \"" + title + "\"";
  if (!IsWindowVisible(hwnd_)) out += " (hidden)";
  return out;
}

std::optional<Window> Window::FindChild(int id) const {
  if (!Exists()) return std::nullopt;
  // Breadth first: a control that is a direct child wins over one nested in a frame.
  for (const Window& child : Descendants()) {
    if (child.Id() == id) return child;
  }
  return std::nullopt;
}

Window Window::Child(int id) const {
  RequireExists("find a control in");
  if (auto child = FindChild(id)) return *child;
  throw Failure("no control with id " + std::to_string(id) + " in " + Describe());
}

Window Window::WaitForChild(int id, Millis timeout) const {
  return WaitFor<Window>([&] { return FindChild(id); },
                         "a control with id " + std::to_string(id) + " in " + Describe(), timeout);
}

std::vector<Window> Window::Descendants() const {
  std::vector<Window> out;
  if (!Exists()) return out;
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    out.emplace_back(child);
  }
  // out grows while it is walked: each window's children follow all windows
  // of its own generation.
  for (std::size_t i = 0; i < out.size(); ++i) {
    for (HWND child = GetWindow(out[i].hwnd_, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
      out.emplace_back(child);
    }
  }
  return out;
}

LRESULT Window::Send(UINT message, WPARAM wparam, LPARAM lparam, Millis timeout) const {
  RequireExists("send a message to");
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(hwnd_, message, wparam, lparam, SMTO_ABORTIFHUNG,
                           static_cast<UINT>(timeout.count()), &result)) {
    const DWORD error = GetLastError();
    throw Failure(Describe() + " did not answer message " + Hex(message) + " within " +
                  std::to_string(timeout.count()) + " ms (error " + std::to_string(error) + ")");
  }
  return static_cast<LRESULT>(result);
}

void Window::Post(UINT message, WPARAM wparam, LPARAM lparam) const {
  RequireExists("post a message to");
  if (!PostMessageA(hwnd_, message, wparam, lparam)) {
    throw Failure("cannot post message " + Hex(message) + " to " + Describe() + ": error " +
                  std::to_string(GetLastError()));
  }
}

void Window::Click() const {
  if (!Enabled()) throw Failure("cannot click " + Describe() + ": it is disabled");
  Post(BM_CLICK);
}

int Window::CheckState() const {
  return static_cast<int>(Send(BM_GETCHECK));
}

void Window::SetText(std::string_view text) const {
  const std::string copy(text);
  if (!Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()))) {
    throw Failure(Describe() + " refused the text \"" + copy + "\"");
  }
}

void Window::Type(std::string_view text) const {
  RequireExists("type into");
  const bool edit = ClassName() == "Edit";
  // The edit's modified flag marks where the typed characters end: posted
  // after them, the reset shows when the edit has taken the last one.
  if (edit) {
    // Typing goes to the end of the text, as after a click behind it.
    const auto end = static_cast<WPARAM>(Send(WM_GETTEXTLENGTH));
    Send(EM_SETSEL, end, static_cast<LPARAM>(end));
    Send(EM_SETMODIFY, TRUE);
  }
  for (char c : text) Post(WM_CHAR, static_cast<unsigned char>(c), 1);
  if (!edit) return;
  Post(EM_SETMODIFY, FALSE);
  WaitUntil([&] { return Send(EM_GETMODIFY) == 0; },
            "the characters \"" + std::string(text) + "\" typed into " + Describe());
  Send(EM_SETMODIFY, TRUE);
}

int Window::ComboCount() const {
  return static_cast<int>(Send(CB_GETCOUNT));
}
int Window::ComboSelection() const {
  return static_cast<int>(Send(CB_GETCURSEL));
}

std::string Window::ComboItem(int index) const {
  RequireExists("read an item of");
  // Wine copies the item text of CB_GETLBTEXT between processes, but answers
  // the ANSI message with UTF-16 text; the wide message gets it right.
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG,
                           static_cast<UINT>(kMessageTimeout.count()), &length)) {
    throw Failure(Describe() + " did not answer CB_GETLBTEXTLEN");
  }
  if (static_cast<LRESULT>(length) == CB_ERR) {
    throw Failure(Describe() + " has no item " + std::to_string(index) + " (it has " +
                  std::to_string(ComboCount()) + ")");
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(index),
                           reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           static_cast<UINT>(kMessageTimeout.count()), &copied) ||
      static_cast<LRESULT>(copied) == CB_ERR) {
    throw Failure(Describe() + " did not give item " + std::to_string(index));
  }
  text.resize(std::min<std::size_t>(copied, length));
  return FromWide(text);
}

std::vector<std::string> Window::ComboItems() const {
  std::vector<std::string> items;
  const int count = ComboCount();
  for (int i = 0; i < count; ++i) items.push_back(ComboItem(i));
  return items;
}

std::string Window::ComboSelectedText() const {
  const int selection = ComboSelection();
  return selection == CB_ERR ? std::string() : ComboItem(selection);
}

void Window::ComboSelect(int index) const {
  if (!Enabled()) throw Failure("cannot choose in " + Describe() + ": it is disabled");
  if (Send(CB_SETCURSEL, static_cast<WPARAM>(index)) == CB_ERR && index != -1) {
    throw Failure(Describe() + " has no item " + std::to_string(index) + " (it has " +
                  std::to_string(ComboCount()) + ")");
  }
  const Window parent(GetParent(hwnd_));
  parent.Post(WM_COMMAND, MAKEWPARAM(Id(), CBN_SELCHANGE), reinterpret_cast<LPARAM>(hwnd_));
}

void Window::ComboSelect(std::string_view item) const {
  const std::vector<std::string> items = ComboItems();
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i] == item) return ComboSelect(static_cast<int>(i));
  }
  std::string known;
  for (const auto& each : items) known += (known.empty() ? "\"" : ", \"") + each + "\"";
  throw Failure(Describe() + " has no item \"" + std::string(item) + "\"; it has " + known);
}

int Window::StatusPanelCount() const {
  return static_cast<int>(Send(SB_GETPARTS, 0, 0));
}

std::string Window::StatusText(int panel) const {
  const int panels = StatusPanelCount();
  if (panel < 0 || panel >= panels) {
    throw Failure(Describe() + " has no panel " + std::to_string(panel) + " (it has " +
                  std::to_string(panels) + ")");
  }
  const auto length = LOWORD(Send(SB_GETTEXTLENGTHA, static_cast<WPARAM>(panel)));
  RemoteBuffer buffer(ProcessId(), std::size_t{length} + 1);
  Send(SB_GETTEXTA, static_cast<WPARAM>(panel), buffer.Address());
  return buffer.ReadString();
}

int Window::ListCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }

std::string Window::ListItemText(int row, int column) const {
  // The item record and the text it points to, both in the list's process.
  constexpr std::size_t kTextSize = 1024;
  RemoteBuffer buffer(ProcessId(), sizeof(LVITEMA) + kTextSize);
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<char*>(buffer.Address() + sizeof(LVITEMA));
  item.cchTextMax = static_cast<int>(kTextSize);
  buffer.Write(&item, sizeof item);
  const auto length = Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(row), buffer.Address());
  std::string all(sizeof(LVITEMA) + kTextSize, '\0');
  buffer.Read(all.data(), all.size());
  return all.substr(sizeof(LVITEMA), static_cast<std::size_t>(length));
}

RECT Window::ToolbarButtonRect(int command_id) const {
  RemoteBuffer buffer(ProcessId(), sizeof(RECT));
  if (!Send(TB_GETRECT, static_cast<WPARAM>(command_id), buffer.Address())) {
    throw Failure(Describe() + " has no button with the command id " + std::to_string(command_id));
  }
  RECT rect{};
  buffer.Read(&rect, sizeof rect);
  return rect;
}

void Window::SendDpiChanged(int dpi, const RECT& suggested) const {
  RemoteBuffer buffer(ProcessId(), sizeof(RECT));
  buffer.Write(&suggested, sizeof suggested);
  Send(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), buffer.Address());
}

void Window::ClickToolbarButton(int command_id) const {
  if (!Visible()) throw Failure("cannot click a button of " + Describe() + ": it is hidden");
  const RECT rect = ToolbarButtonRect(command_id);
  const LPARAM middle = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  Post(WM_MOUSEMOVE, 0, middle);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, middle);
  Post(WM_LBUTTONUP, 0, middle);
}

void Window::RequireExists(std::string_view action) const {
  if (!Exists()) {
    throw Failure("cannot " + std::string(action) + " window " +
                  Hex(reinterpret_cast<std::uintptr_t>(hwnd_)) + ": it no longer exists");
  }
}

std::vector<Window> TopLevelWindows(std::string_view class_name, DWORD process_id,
                                    Visibility visibility) {
  std::vector<Window> out;
  EnumState state{class_name, process_id, visibility, &out};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&state));
  return out;
}

int CountTopLevelWindows(std::string_view class_name, DWORD process_id, Visibility visibility) {
  return static_cast<int>(TopLevelWindows(class_name, process_id, visibility).size());
}

std::string WindowTitle(const Window& window) {
  wchar_t text[512] = L"";
  if (window.Handle()) {
    InternalGetWindowText(window.Handle(), text, static_cast<int>(std::size(text)));
  }
  return FromWide(text);
}

std::string DescribeWindows(const std::vector<Window>& windows) {
  if (windows.empty()) return "no windows";
  std::string out;
  for (const Window& window : windows) out += (out.empty() ? "" : "; ") + window.Describe();
  return out;
}

void SettleThread(const Window& list, const Window& described) {
  // Posted messages of one thread are handled in order.
  static std::atomic<LPARAM> next_marker{0x4b000000};
  const LPARAM marker = ++next_marker;
  list.Post(CB_SETITEMDATA, 0, marker);
  WaitUntil([&] { return list.Send(CB_GETITEMDATA, 0) == marker; },
            "the thread of " + described.Describe() + " to handle the messages posted to it",
            kDefaultTimeout, [&] { return described.Describe(); });
}

}  // namespace e2e
