#include "tests/e2e/driver/documents.h"

#include <cstdlib>
#include <fstream>

#include "platform/win32/windows_shim.h"
#include "tests/e2e/driver/registry.h"

namespace e2e {
namespace {

constexpr const char* kLog = "C:\\documents.log";
constexpr const char* kWineBrowser = "HKCU\\Software\\Wine\\WineBrowser";
// The template prefix is made with Wine's HTML engine switched off, which
// leaves .htm without a program (Wine reads file types from the machine
// only); a browser installed brings the association back.
constexpr const char* kHtmAssociation = "HKLM\\Software\\Classes\\.htm";

std::string RequiredVariable(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) throw Failure(std::string("environment variable ") + name + " is not set");
  return value;
}

}  // namespace

DocumentRecorder::DocumentRecorder() {
  const std::string recorder = RequiredVariable("KESTREL_DOCUMENT_RECORDER");
  // The stand-in writes into drive C: of the prefix it was started from.
  DeleteFileA(kLog);
  WriteRegistryValue(kWineBrowser, "Browsers", StringValue(recorder));
  WriteRegistryValue(kWineBrowser, "Mailers", StringValue(recorder));
  WriteRegistryValue(kHtmAssociation, "", StringValue("htmlfile"));
}

DocumentRecorder::~DocumentRecorder() {
  DeleteRegistryValue(kWineBrowser, "Browsers");
  DeleteRegistryValue(kWineBrowser, "Mailers");
  DeleteRegistryKey(kHtmAssociation);
}

std::vector<std::string> DocumentRecorder::Documents() const {
  std::vector<std::string> documents;
  std::ifstream in(kLog, std::ios::binary);
  for (std::string line; std::getline(in, line);) documents.push_back(line);
  return documents;
}

std::vector<std::string> DocumentRecorder::WaitForDocuments(std::size_t count,
                                                            Millis timeout) const {
  std::vector<std::string> documents;
  WaitUntil([&] { return (documents = Documents()).size() >= count; },
            std::to_string(count) + " document(s) opened through the shell", timeout, [&] {
              std::string seen;
              for (const auto& d : documents) seen += " \"" + d + "\"";
              return "opened so far:" + (seen.empty() ? std::string(" nothing") : seen);
            });
  return documents;
}

}  // namespace e2e
