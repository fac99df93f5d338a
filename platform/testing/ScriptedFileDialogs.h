#pragma once
// File dialogs for tests: each request is recorded and takes the next
// scripted choice (empty: cancelled). A request with no choice left is
// recorded as unexpected and cancelled.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/FileDialogs.h"

namespace platform::testing {

class ScriptedFileDialogs final : public ui::FileDialogs {
public:
    std::optional<std::string> Run(const ui::FileDialogRequest& request) override
    {
        requests.push_back(request);
        if (choices.empty()) {
            unexpected.push_back(request);
            return std::nullopt;
        }
        auto choice = choices.front();
        choices.pop_front();
        return choice;
    }
    void Choose(std::string file) { choices.push_back(std::move(file)); }
    void Cancel() { choices.push_back(std::nullopt); }

    std::deque<std::optional<std::string>> choices;
    std::vector<ui::FileDialogRequest> requests;
    std::vector<ui::FileDialogRequest> unexpected;
};

} // namespace platform::testing
