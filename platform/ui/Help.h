#pragma once
// The help books (HTML, resources/help/<book>.hhp): their contents or the
// topic of a keyword. A missing book or keyword does nothing.

#include <string>

namespace platform::ui {

class Help {
public:
    virtual ~Help() = default;
    virtual void ShowContents(const std::string& book) = 0;
    virtual void ShowKeyword(const std::string& book, const std::string& keyword) = 0;
};

} // namespace platform::ui
