#include "platform/wx/WxDialogs.h"

#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/filedlg.h>
#include <wx/html/helpctrl.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

namespace platform::wx {

namespace {

    wxWindow* TopWindow() { return wxTheApp ? wxTheApp->GetTopWindow() : nullptr; }

    // Our end codes and control ids as wx ids and back.
    int ToolkitId(int id)
    {
        if (id == ui::kEndOk)
            return wxID_OK;
        if (id == ui::kEndCancel)
            return wxID_CANCEL;
        return id;
    }
    int OurId(int id)
    {
        if (id == wxID_OK)
            return ui::kEndOk;
        if (id == wxID_CANCEL)
            return ui::kEndCancel;
        return id;
    }

    class WxControls final : public ui::IDialogControls {
    public:
        explicit WxControls(wxDialog& dialog)
            : m_dialog(dialog)
        {
        }
        bool HasControl(int id) const override { return Find(id) != nullptr; }
        bool IsChecked(int id) const override
        {
            if (auto* check = dynamic_cast<wxCheckBox*>(Find(id)))
                return check->GetValue();
            if (auto* radio = dynamic_cast<wxRadioButton*>(Find(id)))
                return radio->GetValue();
            return false;
        }
        void SetChecked(int id, bool checked) override
        {
            if (auto* check = dynamic_cast<wxCheckBox*>(Find(id)))
                check->SetValue(checked);
            else if (auto* radio = dynamic_cast<wxRadioButton*>(Find(id)))
                radio->SetValue(checked);
        }
        void SetCheckReadOnly(int id, bool readOnly) override
        {
            if (readOnly)
                m_readOnly.insert(id);
            else
                m_readOnly.erase(id);
        }
        bool IsReadOnly(int id) const { return m_readOnly.count(id) > 0; }
        void SetSliderRange(int id, int minimum, int maximum) override
        {
            if (auto* slider = dynamic_cast<wxSlider*>(Find(id)))
                slider->SetRange(minimum, maximum);
        }
        void SetSliderTicks(int id, int frequency) override
        {
            if (auto* slider = dynamic_cast<wxSlider*>(Find(id)))
                slider->SetTickFreq(frequency);
        }
        void SetSliderPos(int id, int position) override
        {
            if (auto* slider = dynamic_cast<wxSlider*>(Find(id)))
                slider->SetValue(position);
        }
        int GetSliderPos(int id) const override
        {
            auto* slider = dynamic_cast<wxSlider*>(Find(id));
            return slider ? slider->GetValue() : 0;
        }
        std::string GetText(int id) const override
        {
            wxWindow* window = Find(id);
            if (auto* text = dynamic_cast<wxTextCtrl*>(window))
                return text->GetValue().ToStdString(wxConvUTF8);
            return window ? window->GetLabel().ToStdString(wxConvUTF8) : std::string();
        }
        void SetText(int id, const std::string& text) override
        {
            wxWindow* window = Find(id);
            if (auto* ctrl = dynamic_cast<wxTextCtrl*>(window))
                ctrl->ChangeValue(wxString::FromUTF8(text));
            else if (window)
                window->SetLabel(wxString::FromUTF8(text));
        }
        std::string Caption() const override { return m_dialog.GetTitle().ToStdString(wxConvUTF8); }

    private:
        wxWindow* Find(int id) const { return m_dialog.FindWindow(ToolkitId(id)); }
        wxDialog& m_dialog;
        std::set<int> m_readOnly;
    };

} // namespace

int WxMessageBoxes::Show(const std::string& text, const std::string& caption, int type, bool owned)
{
    long style = 0;
    switch (type & 0xF) {
    case ui::kBoxOkCancel:
        style = wxOK | wxCANCEL;
        break;
    case ui::kBoxYesNoCancel:
        style = wxYES_NO | wxCANCEL;
        break;
    case ui::kBoxYesNo:
        style = wxYES_NO;
        break;
    default:
        style = wxOK;
        break;
    }
    switch (type & 0xF0) {
    case ui::kBoxIconStop:
        style |= wxICON_ERROR;
        break;
    case ui::kBoxIconQuestion:
        style |= wxICON_QUESTION;
        break;
    case ui::kBoxIconExclamation:
        style |= wxICON_EXCLAMATION;
        break;
    case ui::kBoxIconInformation:
        style |= wxICON_INFORMATION;
        break;
    default:
        break;
    }
    wxMessageDialog box(owned ? TopWindow() : nullptr, wxString::FromUTF8(text), wxString::FromUTF8(caption), style);
    switch (box.ShowModal()) {
    case wxID_YES:
        return ui::kAnswerYes;
    case wxID_NO:
        return ui::kAnswerNo;
    case wxID_OK:
        return ui::kAnswerOk;
    default:
        return ui::kAnswerCancel;
    }
}

std::optional<std::string> WxFileDialogs::Run(const ui::FileDialogRequest& request)
{
    long style = request.save ? wxFD_SAVE : wxFD_OPEN;
    if (request.mustExist && !request.save)
        style |= wxFD_FILE_MUST_EXIST;
    if (request.overwritePrompt && request.save)
        style |= wxFD_OVERWRITE_PROMPT;
    const wxString folder = wxString::FromUTF8(std::filesystem::absolute(request.folder).string());
    wxFileDialog dialog(TopWindow(), wxEmptyString, folder, wxString::FromUTF8(request.fileName),
        wxString::FromUTF8(ui::ToToolkitFilter(request.filter)), style);
    dialog.CentreOnParent();
    if (dialog.ShowModal() != wxID_OK)
        return std::nullopt;
    return ui::WithDefaultExtension(dialog.GetPath().ToStdString(wxConvUTF8), request.defaultExtension);
}

int XrcDialogHost::RunModal(ui::Dialog& logic)
{
    wxXmlResource* resources = wxXmlResource::Get();
    if (m_loaded.empty())
        resources->InitAllHandlers();
    const std::string file = (m_folder / (logic.Template() + ".xrc")).string();
    if (!m_loaded.count(file)) {
        if (!resources->Load(wxString::FromUTF8(file)))
            return -1;
        m_loaded.insert(file);
    }
    wxDialog dialog;
    if (!resources->LoadDialog(&dialog, TopWindow(), wxString::FromUTF8(logic.Template())))
        return -1;
    WxControls controls(dialog);
    logic.Bind(&controls);
    logic.ResetEnd();
    const auto endIfAsked = [&] {
        if (logic.EndCode() != 0 && dialog.IsModal())
            dialog.EndModal(ToolkitId(logic.EndCode()));
    };
    dialog.Bind(wxEVT_BUTTON, [&](wxCommandEvent& event) {
        const int id = OurId(event.GetId());
        if (id == ui::kEndOk)
            logic.OnOk();
        else if (id == ui::kEndCancel)
            logic.OnCancel();
        else if (!logic.OnCommand(id) && id == ui::kEndHelp)
            m_help.ShowKeyword("vl", controls.Caption());
        endIfAsked();
    });
    const auto toggled = [&](wxCommandEvent& event) {
        const int id = OurId(event.GetId());
        if (controls.IsReadOnly(id))
            controls.SetChecked(id, !controls.IsChecked(id));
        logic.OnCommand(id);
        endIfAsked();
    };
    dialog.Bind(wxEVT_CHECKBOX, toggled);
    dialog.Bind(wxEVT_RADIOBUTTON, toggled);
    dialog.Bind(wxEVT_CLOSE_WINDOW, [&](wxCloseEvent&) {
        logic.OnCancel();
        if (logic.EndCode() == 0)
            logic.EndDialog(ui::kEndCancel);
        endIfAsked();
    });
    dialog.SetEscapeId(wxID_CANCEL);
    logic.OnInitDialog();
    dialog.CentreOnParent();
    dialog.ShowModal();
    logic.OnDestroy();
    logic.Bind(nullptr);
    return logic.EndCode() ? logic.EndCode() : ui::kEndCancel;
}

WxHelp::WxHelp() = default;
WxHelp::~WxHelp() = default;

wxHtmlHelpController* WxHelp::Book(const std::string& book)
{
    const auto it = m_books.find(book);
    if (it != m_books.end())
        return it->second.get();
    const auto file = m_folder / (book + ".hhp");
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        return nullptr;
    auto controller = std::make_unique<wxHtmlHelpController>(wxHF_DEFAULT_STYLE, TopWindow());
    if (!controller->AddBook(wxString::FromUTF8(file.string())))
        return nullptr;
    return (m_books[book] = std::move(controller)).get();
}

void WxHelp::ShowContents(const std::string& book)
{
    if (auto* controller = Book(book))
        controller->DisplayContents();
}

void WxHelp::ShowKeyword(const std::string& book, const std::string& keyword)
{
    if (auto* controller = Book(book))
        controller->KeywordSearch(wxString::FromUTF8(keyword));
}

} // namespace platform::wx
