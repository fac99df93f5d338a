#pragma once
// The lowest layer of the main window: one document file (path, modified
// flag, binary or text) and the File commands New, Open, Save, Save As,
// Exit and the question on closing, all through hooks the layers above
// supply.

#include <istream>
#include <ostream>
#include <string>

#include "frame/FileDialogSettings.h"
#include "platform/core/Services.h"
#include "platform/ui/FrameWindow.h"
#include "platform/ui/HandlerGuard.h"

class CDocFrame : public platform::ui::FrameWindow {
public:
    explicit CDocFrame(platform::Services& services, std::string path = {});
    ~CDocFrame() override = default;

    // ---- hooks, in the frame's hook order ----
    // May the current battle be left? Asks to save a modified one.
    virtual bool QuerySaveChanges();
    virtual void StartNewBattle() = 0;
    virtual bool ReadDocument(std::istream& /*in*/) { return true; }
    virtual bool WriteDocument(std::ostream& /*out*/) { return true; }
    virtual void PrepareOpenDialog(FileDialogSettings& /*settings*/) { }
    virtual void PrepareSaveDialog(FileDialogSettings& /*settings*/) { }

    void SetPathName(std::string path) { m_pathName = std::move(path); }
    const std::string& GetPathName() const { return m_pathName; }
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    bool IsBinary() const { return m_binary; }

    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    // Asks the frame to close, as its close box does.
    void OnFileExit();
    // Closes only when QuerySaveChanges allows.
    void OnCloseRequest() override;
    // The document at the path through ReadDocument; its boxes on failure,
    // after which the path is empty and the battle not modified.
    bool ReadFile();
    // The document to the path through WriteDocument, replacing the file
    // whole or not at all; its boxes on failure.
    bool WriteFile();

    platform::Services& Services() const { return m_services; }
    platform::ui::HandlerGuard& Guard() { return m_guard; }
    // A box owned by the frame.
    int ShowBox(const std::string& text, const std::string& caption, int type) const;

private:
    platform::Services& m_services;
    platform::ui::HandlerGuard m_guard;
    bool m_modified = false;
    std::string m_pathName;
    bool m_binary = false;
};
