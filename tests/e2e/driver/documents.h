#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tests/e2e/driver/wait.h"

namespace e2e {

// Makes Wine's shell hand every web page and mail address it opens to the
// recording stand-in record-document.sh (KESTREL_DOCUMENT_RECORDER) instead
// of a browser or mail program, through HKCU\Software\Wine\WineBrowser.
// The stand-in writes C:\documents.log of the prefix, one line a document.
class DocumentRecorder {
 public:
  DocumentRecorder();
  DocumentRecorder(const DocumentRecorder&) = delete;
  DocumentRecorder& operator=(const DocumentRecorder&) = delete;
  ~DocumentRecorder();

  // What was opened so far, as the shell passed it on (a file becomes a
  // file:// address of its Unix path), oldest first.
  std::vector<std::string> Documents() const;
  // Waits until count documents were opened, and returns them.
  std::vector<std::string> WaitForDocuments(std::size_t count,
                                            Millis timeout = kDefaultTimeout) const;
};

}  // namespace e2e
