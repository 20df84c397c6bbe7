// Writes the guide's section "What Kestrel changes on your Windows" from the
// same table of facts the program shows in its preview, so that the two never
// tell different stories.
//
//   facts_page GUIDE           exit 1 when the section in GUIDE is not the one
//                              the table gives (a tier-a test)
//   facts_page --write GUIDE   replace the section in GUIDE
//
// The section lies between the two marker comments below.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "kestrel/registry_facts.h"

namespace {

using common::WindowsEra;
using kestrel::EraFacts;
using kestrel::ReadBy;
using kestrel::RegistryLayout;
using kestrel::ValueFacts;

const std::string kBegin = "<!-- registry facts: begin (tools/guide/facts_page.cpp) -->\n";
const std::string kEnd = "<!-- registry facts: end -->\n";

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '&') out += "&amp;";
    else if (c == '\\') out += "\\<wbr>";
    else out += c;
  }
  return out;
}

std::string Cell(const EraFacts& era) {
  std::string read;
  switch (era.read) {
    case ReadBy::Yes: read = "<b>yes</b>"; break;
    case ReadBy::No: read = "<b>no</b>"; break;
    case ReadBy::Undocumented: read = "<b>unknown</b>"; break;
  }
  std::string text = read + ": " + Escape(era.reason) + "<br>default: ";
  text += era.defaultValue ? std::to_string(*era.defaultValue) : "<i>removed</i>";
  return "<td>" + text + "</td>";
}

void Table(std::ostringstream& out, RegistryLayout layout, std::initializer_list<WindowsEra> eras) {
  out << "<table class=\"facts\">\n  <tr><th>Value</th><th>Meaning</th>";
  for (WindowsEra era : eras) out << "<th>" << kestrel::EraName(era) << "</th>";
  out << "</tr>\n";
  for (const ValueFacts& facts : kestrel::RegistryFacts()) {
    if (facts.layout != layout) continue;
    out << "  <tr><td><code>" << (facts.name.empty() ? "(Default)" : facts.name)
        << "</code><br><small>" << Escape(facts.where) << "</small></td><td>"
        << Escape(facts.meaning) << "</td>";
    for (WindowsEra era : eras) out << Cell(facts.For(era));
    out << "</tr>\n";
  }
  out << "</table>\n";
}

std::string Section() {
  std::ostringstream out;
  out << kBegin
      << "<h2 id=\"what-kestrel-changes\">15. What Kestrel changes on your Windows "
         "<a class=\"top\" href=\"#contents\">Contents</a></h2>\n"
      << "<p>Not every Windows reads every value that Kestrel writes. The tables say, for each "
         "value, what it means, whether each Windows reads it and what that Windows uses by "
         "default. <i>Removed</i> means that Windows uses a built-in default of its own: "
         "<span class=\"ui\">Windows Default</span> and <a href=\"#restore\">Restore</a> then "
         "delete the value instead of writing a number. <b>Preview</b> in the main window shows "
         "the same for your own Windows before anything is written.</p>\n"
      << "<div class=\"figure\">\n  <img src=\"images/preview-changes.png\" "
         "alt=\"The preview of the changes on Windows 10\">\n"
         "  <div class=\"caption\">The preview on Windows 10 after Automatic #1, with "
         "Automatic #3 chosen: it would remove the four receive-window values, which Windows 10 "
         "does not read; the greyed values would not change.</div>\n</div>\n"
      << "<h3 id=\"facts-95\">Windows 95, 98 and ME</h3>\n";
  Table(out, RegistryLayout::Windows95Family, {WindowsEra::Windows95Family});
  out << "<h3 id=\"facts-nt\">Windows NT, 2000, XP and later</h3>\n";
  Table(out, RegistryLayout::NtFamily,
        {WindowsEra::Nt4ToXp, WindowsEra::Server2003, WindowsEra::VistaAndLater});
  out << "<p>Internet Explorer 8 raised the connection limits; since Kestrel cannot tell which "
         "version runs on the NT family, it leaves them to WinINet there. From Vista on, "
         "Microsoft documents <code>netsh interface ipv4 set subinterface ... mtu=</code> to set "
         "an interface's MTU.</p>\n"
      << kEnd;
  return out.str();
}

}  // namespace

int main(int argc, char** argv) {
  const bool write = argc == 3 && std::string(argv[1]) == "--write";
  if (argc != 2 && !write) {
    std::cerr << "usage: facts_page [--write] GUIDE\n";
    return 2;
  }
  const std::string path = argv[argc - 1];
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  std::string guide = buffer.str();
  const auto begin = guide.find(kBegin);
  const auto end = guide.find(kEnd);
  if (!in || begin == std::string::npos || end == std::string::npos || end < begin) {
    std::cerr << path << ": the registry facts markers are missing\n";
    return 2;
  }
  const std::string wanted = Section();
  const std::string present = guide.substr(begin, end + kEnd.size() - begin);
  if (present == wanted) return 0;
  if (!write) {
    std::cerr << path << ": the registry facts section is out of date; run facts_page --write\n";
    return 1;
  }
  guide.replace(begin, present.size(), wanted);
  std::ofstream(path, std::ios::binary) << guide;
  return 0;
}
