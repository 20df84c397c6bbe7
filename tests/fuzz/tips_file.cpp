// TIPs.TXT: any bytes that an editor, another program or a damaged disk can
// leave in the tips file: NUL bytes, line ends of any system or none at the
// end, lines of any length.
//
// Every line is one tip, empty lines included, and no tip holds a line end
// or loses a byte of its line; the tip window shows one of them whatever the
// random draws, and says "not found" only when there is no file.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <iterator>
#include <string>
#include <vector>

#include "kestrel/tip_of_the_day.h"
#include "tests/doubles/fake_platform.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/input_mixer.h"

namespace {

// The lines of text another way: every line end (CRLF, or a lone CR or LF)
// becomes one LF, and the text is cut at each LF. A line end at the very end
// closes the last line rather than opening an empty one.
std::vector<std::string> Lines(const std::string& text) {
  std::string joined;
  joined.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    joined += text[i] == '\r' ? '\n' : text[i];
  }
  std::vector<std::string> lines;
  if (joined.empty()) return lines;
  if (joined.back() == '\n') joined.pop_back();
  std::size_t start = 0;
  for (std::size_t end; (end = joined.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(joined.substr(start, end - start));
  }
  lines.push_back(joined.substr(start));
  return lines;
}

// The draws of the random source: ordinary ones, and the edges a source may
// stray to.
std::deque<double> Draws(InputMixer& m) {
  static constexpr double kEdges[] = {0.0, 0.5, 0.9999999999999999, 1.0, 1.5, -0.25, 1e300};
  std::deque<double> draws;
  for (int i = 0; i < 4; ++i) {
    const std::uint64_t n = m.Next();
    draws.push_back(n % 3 == 0 ? kEdges[(n >> 8) % std::size(kEdges)]
                               : static_cast<double>(n >> 11) / 9007199254740992.0);
  }
  return draws;
}

void Check(const std::string& text, InputMixer& m) {
  const std::size_t size = text.size();
  const std::vector<std::string> tips = kestrel::SplitTips(text);
  FUZZ_CHECK(tips == Lines(text));
  // Nothing is lost or added but the line ends.
  std::size_t kept = 0;
  for (const auto& tip : tips) {
    FUZZ_CHECK(tip.find_first_of("\r\n") == std::string::npos);
    kept += tip.size();
  }
  std::size_t ends = 0;
  std::size_t lineEndBytes = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == size || text[i + 1] != '\n'))) ++ends;
    lineEndBytes += text[i] == '\r' || text[i] == '\n';
  }
  FUZZ_CHECK(kept + lineEndBytes == size);
  // One tip per line end, and one more for a last line without one.
  const bool openLast = size > 0 && text.back() != '\n' && text.back() != '\r';
  FUZZ_CHECK(tips.size() == ends + (openLast ? 1 : 0));

  // The tip window over the file.
  doubles::FakeKestrel fake;
  fake.files.Put(fake.ProgramFile("\\TIPs.TXT"), text);
  fake.random.draws = Draws(m);
  kestrel::TipModel window(fake.app);
  window.Load();
  FUZZ_CHECK(window.TipList() == tips);
  FUZZ_CHECK(window.chkLoadTipsAtStartup() == 1 && kestrel::ShowTipsAtStartup(fake.app));
  FUZZ_CHECK(fake.messages.shown.empty());
  for (int next = 0; next < 3; ++next) {
    if (tips.empty()) {
      FUZZ_CHECK(window.lblTipText().empty());
    } else {
      FUZZ_CHECK(window.TipIndex() >= 1 && window.TipIndex() <= static_cast<int>(tips.size()));
      FUZZ_CHECK(window.lblTipText() == tips[static_cast<std::size_t>(window.TipIndex() - 1)]);
    }
    window.cmdNextTipClicked();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  InputMixer m(text);
  Check(text, m);
  // Now and then, a line of more than 64 KB: the fuzzer's own inputs stay
  // short, so that it keeps its pace. The line grows where the hash says,
  // from a byte of the text that is no line end.
  if (const std::uint64_t n = m.Next(); n % 1024 == 0) {
    const std::size_t at = static_cast<std::size_t>(n >> 8) % (size + 1);
    const char byte = at < size && text[at] != '\r' && text[at] != '\n' ? text[at] : 'x';
    std::string stretched = text;
    stretched.insert(at, 65536 + static_cast<std::size_t>(n >> 40) % 4096, byte);
    Check(stretched, m);
  }
  return 0;
}
