#pragma once
// Message boxes for tests: each box shown is recorded and takes the next
// scripted answer. A box with no answer left is recorded as unexpected and
// answered Cancel (OK for a box that has only OK), so a test that checks
// Unexpected() fails on it.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/MessageBoxes.h"

namespace platform::testing {

class ScriptedMessageBoxes final : public ui::MessageBoxes {
public:
    struct Box {
        std::string text;
        std::string caption;
        int type = 0;
        bool owned = true;
    };

    int Show(const std::string& text, const std::string& caption, int type, bool owned = true) override
    {
        shown.push_back({ text, caption, type, owned });
        // Events that arrive while a modal box is up.
        if (whileShown) {
            auto events = std::move(whileShown);
            whileShown = nullptr;
            events();
        }
        if (!answers.empty()) {
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        unexpected.push_back(shown.back());
        return (type & 0xF) == ui::kBoxOk ? ui::kAnswerOk : ui::kAnswerCancel;
    }
    void Answer(int answer) { answers.push_back(answer); }
    // Every box expected so far was answered, and no other box came.
    bool AllAnswered() const { return answers.empty() && unexpected.empty(); }

    // Runs once, while the next box is up.
    std::function<void()> whileShown;
    std::deque<int> answers;
    std::vector<Box> shown;
    std::vector<Box> unexpected;
};

} // namespace platform::testing
