#include "tests/e2e/driver/message_box.h"

#include <algorithm>
#include <cstdlib>

#include "tests/e2e/driver/screenshot.h"

namespace e2e {
namespace {

struct IconCandidate {
  MessageIcon kind;
  WORD resource;
};

constexpr IconCandidate kIcons[] = {
    {MessageIcon::kInformation, 32516},  // IDI_INFORMATION
    {MessageIcon::kWarning, 32515},      // IDI_WARNING
    {MessageIcon::kError, 32513},        // IDI_ERROR
    {MessageIcon::kQuestion, 32514},     // IDI_QUESTION
};

// The system's icon drawn over a plain background of the colour.
Image RenderIcon(WORD resource, int width, int height, COLORREF background) {
  return e2e::RenderIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(resource)), width, height,
                         background);
}

bool Close(std::uint32_t a, std::uint32_t b) {
  for (int shift = 0; shift < 24; shift += 8) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) >
        8) {
      return false;
    }
  }
  return true;
}

// The share of the icon's opaque pixels (those that come out the same over
// black and over white) that the screen shows in the icon's colour.
double Match(const Image& shown, WORD resource) {
  const Image over_black = RenderIcon(resource, shown.width, shown.height, RGB(0, 0, 0));
  const Image over_white = RenderIcon(resource, shown.width, shown.height, RGB(255, 255, 255));
  int opaque = 0;
  int matching = 0;
  for (int y = 0; y < shown.height; ++y) {
    for (int x = 0; x < shown.width; ++x) {
      if (over_black.At(x, y) != over_white.At(x, y)) continue;
      ++opaque;
      if (Close(over_black.At(x, y), shown.At(x, y))) ++matching;
    }
  }
  return opaque == 0 ? 0.0 : static_cast<double>(matching) / opaque;
}

bool IsPlain(const Image& image) {
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      if (image.At(x, y) != image.At(0, 0)) return false;
    }
  }
  return true;
}

}  // namespace

const char* ToString(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kNone:
      return "none";
    case MessageIcon::kInformation:
      return "information";
    case MessageIcon::kWarning:
      return "warning";
    case MessageIcon::kError:
      return "error";
    case MessageIcon::kQuestion:
      return "question";
    case MessageIcon::kOther:
      return "other";
  }
  return "?";
}

MessageIcon MessageBoxWindow::Icon() const {
  const std::optional<Window> control = FindChild(kIconId);
  // Wine keeps the icon control of a box without icon, empty and under the text.
  if (!control || !control->Visible() || !control->Send(STM_GETICON)) return MessageIcon::kNone;
  const Image shown = CaptureWindow(*control);
  if (shown.width == 0 || IsPlain(shown)) return MessageIcon::kNone;
  MessageIcon best = MessageIcon::kOther;
  double best_match = 0.95;  // below this, it is an icon of the program's own
  for (const IconCandidate& candidate : kIcons) {
    const double match = Match(shown, candidate.resource);
    if (match > best_match) {
      best_match = match;
      best = candidate.kind;
    }
  }
  return best;
}

int MessageBoxWindow::DefaultButton() const {
  // The button drawn as the default one; the dialog's own DM_GETDEFID
  // answers with the first button under Wine.
  for (const Window& child : Descendants()) {
    if (child.ClassName() == "Button" &&
        (GetWindowLongA(child.Handle(), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      return child.Id();
    }
  }
  return 0;
}

std::vector<int> MessageBoxWindow::Buttons() const {
  std::vector<Window> buttons;
  for (const Window& child : Descendants()) {
    if (child.ClassName() == "Button" && child.Visible()) buttons.push_back(child);
  }
  std::sort(buttons.begin(), buttons.end(),
            [](const Window& a, const Window& b) { return a.Rect().left < b.Rect().left; });
  std::vector<int> ids;
  for (const Window& button : buttons) ids.push_back(button.Id());
  return ids;
}

void MessageBoxWindow::Answer(int button_id) const {
  const std::optional<Window> button = FindChild(button_id);
  if (!button || !button->Visible()) {
    throw Failure(Describe() + " has no button with id " + std::to_string(button_id));
  }
  button->Click();
}

void MessageBoxWindow::AnswerAndWait(int button_id, Millis timeout) const {
  // Described before the answer: afterwards the box may be gone at any moment.
  const std::string what = "the answered " + Describe() + " to close";
  Answer(button_id);
  WaitUntil([&] { return !Visible(); }, what, timeout);
}

std::string MessageBoxWindow::Describe() const {
  // Only texts read without messages, so that a description made while the
  // box closes cannot fail.
  if (!Exists()) return "message box (gone)";
  std::string buttons;
  for (const Window& child : Descendants()) {
    if (child.ClassName() == "Button") buttons += " [" + WindowTitle(child) + "]";
  }
  const std::optional<Window> text = FindChild(kTextId);
  return "message box \"" + WindowTitle(*this) + "\": \"" +
         (text ? WindowTitle(*text) : std::string()) + "\"" + buttons;
}

std::optional<MessageBoxWindow> FindMessageBox(DWORD process_id) {
  for (const Window& dialog : TopLevelWindows("#32770", process_id)) {
    if (dialog.FindChild(MessageBoxWindow::kTextId)) return MessageBoxWindow(dialog);
  }
  return std::nullopt;
}

}  // namespace e2e
