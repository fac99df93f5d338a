#pragma once
// The toolkit's message boxes, file dialogs, XRC dialogs and HTML help,
// owned by the program's frame (the application's top window).

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/core/Services.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/Help.h"
#include "platform/ui/MessageBoxes.h"

class wxHtmlHelpController;

namespace platform::wx {

class WxMessageBoxes final : public ui::MessageBoxes {
public:
    int Show(const std::string& text, const std::string& caption, int type, bool owned = true) override;
};

class WxFileDialogs final : public ui::FileDialogs {
public:
    std::optional<std::string> Run(const ui::FileDialogRequest& request) override;
};

// Dialogs from "<folder>/<Template>.xrc"; control names are numeric ids.
class XrcDialogHost final : public ui::DialogHost {
public:
    explicit XrcDialogHost(ui::Help& help)
        : m_help(help)
    {
    }
    void SetTemplateFolder(std::filesystem::path folder) { m_folder = std::move(folder); }
    int RunModal(ui::Dialog& dialog) override;

private:
    ui::Help& m_help;
    std::filesystem::path m_folder;
    std::set<std::string> m_loaded;
};

// Books "<folder>/<book>.hhp".
class WxHelp final : public ui::Help {
public:
    WxHelp();
    ~WxHelp() override;
    void SetBookFolder(std::filesystem::path folder) { m_folder = std::move(folder); }
    void ShowContents(const std::string& book) override;
    void ShowKeyword(const std::string& book, const std::string& keyword) override;

private:
    wxHtmlHelpController* Book(const std::string& book);
    std::filesystem::path m_folder;
    std::map<std::string, std::unique_ptr<wxHtmlHelpController>> m_books;
};

} // namespace platform::wx
