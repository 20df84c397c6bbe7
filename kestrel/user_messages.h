#pragma once

#include <string>

#include "kestrel/kestrel_app.h"
#include "kestrel/settings_file.h"

namespace kestrel {

// An information box with the program's title; returns the answer.
platform::MessageAnswer Tell(KestrelApp& app, const std::string& text,
                             platform::MessageButtons buttons = platform::MessageButtons::Ok);

// Tells the user why saving the settings stopped short, the same for every
// action that saves them. True when it told something, false for Saved.
bool TellIfNotSaved(KestrelApp& app, SaveResult result);

// Asks whether to restart Windows now, so that the registry's new values take
// effect, and restarts it on Yes; on No, reminds the user that a restart is
// still needed.
void OfferRestart(KestrelApp& app, const std::string& question, const std::string& reminder);

// Tells the user that a program could not be started, naming its command line.
void TellNotStarted(KestrelApp& app, const std::string& commandLine);

}  // namespace kestrel
