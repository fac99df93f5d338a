#pragma once
// Help for tests: records what was asked.

#include <string>
#include <vector>

#include "platform/ui/Help.h"

namespace platform::testing {

class RecordingHelp final : public ui::Help {
public:
    void ShowContents(const std::string& book) override { requests.push_back(book); }
    void ShowKeyword(const std::string& book, const std::string& keyword) override
    {
        requests.push_back(book + "#" + keyword);
    }
    std::vector<std::string> requests;
};

} // namespace platform::testing
