#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace doubles {

// Records every box; answers Yes/No questions from a script (No when it runs out).
class RecordingMessageBoxes : public platform::MessageBoxes {
 public:
  struct Shown {
    std::string text;
    std::string caption;
    platform::MessageButtons buttons;
    platform::MessageIcon icon;
  };
  std::vector<Shown> shown;
  std::deque<platform::MessageAnswer> answers;
  // Runs while a box is open, as the events that a box's message loop
  // dispatches would (a timer tick, say).
  std::function<void()> whileOpen;

  platform::MessageAnswer Show(const std::string& text, const std::string& caption,
                               platform::MessageButtons buttons,
                               platform::MessageIcon icon) override {
    shown.push_back({text, caption, buttons, icon});
    if (whileOpen) whileOpen();
    if (buttons == platform::MessageButtons::Ok) return platform::MessageAnswer::Ok;
    if (answers.empty()) return platform::MessageAnswer::No;
    const auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& s : shown) texts.push_back(s.text);
    return texts;
  }
};

}  // namespace doubles
