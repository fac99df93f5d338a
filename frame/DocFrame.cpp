#include "frame/DocFrame.h"

#include <fstream>

#include "model/DataFile.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/MessageBoxes.h"

using namespace platform::ui;

CDocFrame::CDocFrame(platform::Services& services, std::string path)
    : m_services(services)
    , m_guard(services.dispatcher, services.pump)
    , m_pathName(std::move(path))
{
    SetHandlerGuard(&m_guard);
}

int CDocFrame::ShowBox(const std::string& text, const std::string& caption, int type) const
{
    return m_services.boxes.Show(text, caption, type);
}

bool CDocFrame::QuerySaveChanges()
{
    if (!m_modified)
        return true;
    const int answer
        = ShowBox("Do you want to save the current file?", "File Has Changed", kBoxYesNoCancel | kBoxIconQuestion);
    if (answer == kAnswerCancel)
        return false;
    if (answer == kAnswerYes) {
        OnFileSave();
        return !m_modified;
    }
    m_modified = false;
    return true;
}

void CDocFrame::OnCloseRequest()
{
    if (QuerySaveChanges())
        FrameWindow::OnCloseRequest();
}

void CDocFrame::OnFileNew()
{
    if (!QuerySaveChanges())
        return;
    m_pathName.clear();
    m_modified = false;
    StartNewBattle();
}

void CDocFrame::OnFileOpen()
{
    if (!QuerySaveChanges())
        return;
    FileDialogSettings settings;
    PrepareOpenDialog(settings);
    m_binary = settings.binary;
    const auto chosen = m_services.fileDialogs.Run(settings.ToRequest(false));
    if (!chosen)
        return;
    m_pathName = *chosen;
    ReadFile();
}

void CDocFrame::OnFileSave()
{
    if (!m_pathName.empty())
        WriteFile();
    else
        OnFileSaveAs();
}

void CDocFrame::OnFileSaveAs()
{
    FileDialogSettings settings;
    PrepareSaveDialog(settings);
    m_binary = settings.binary;
    const auto chosen = m_services.fileDialogs.Run(settings.ToRequest(true));
    if (!chosen)
        return;
    m_pathName = *chosen;
    WriteFile();
}

void CDocFrame::OnFileExit()
{
    if (Host())
        Host()->PostClose();
}

bool CDocFrame::ReadFile()
{
    std::ifstream in(m_pathName, m_binary ? std::ios::in | std::ios::binary : std::ios::in);
    if (!in) {
        ShowBox("Unable to open file", "File Read Error", kBoxOk | kBoxIconExclamation);
        return false;
    }
    if (!ReadDocument(in)) {
        ShowBox("Error reading file", "File Read Error", kBoxOk | kBoxIconExclamation);
        // Nothing may save the emptied battle over the file it failed to read.
        m_pathName.clear();
        m_modified = false;
        return false;
    }
    m_modified = false;
    return true;
}

bool CDocFrame::WriteFile()
{
    bool opened = false;
    bool written = false;
    const std::string error = WriteFileAtomically(m_pathName, [&](std::ostream& out) {
        opened = true;
        written = WriteDocument(out);
        return written;
    });
    if (error.empty()) {
        m_modified = false;
        return true;
    }
    const char* text = !opened ? "Unable to open file" : !written ? "Error writing file" : "Error closing file";
    ShowBox(text, "File Write Error", kBoxOk | kBoxIconExclamation);
    return false;
}
