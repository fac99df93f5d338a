#pragma once
// The tool bar, painted by the game: one picture holds every button's image
// in a row, pressed or checked images in a second row. Separators leave a
// gap; a wrapped separator starts a new row. Clicks run the button's
// command through the frame; the frame tells each button's state.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "mapview/BitmapSurface.h"
#include "mapview/DirectDrawWnd.h"
#include "platform/ui/CommandTable.h"

class CGameToolBar : public CDirectDrawWnd {
public:
    static constexpr int kSeparatorWidth = 8;

    struct Button {
        int id = 0; // 0: separator
        int image = -1;
        bool wrapped = false;
        platform::Rect place;
    };

    using CommandQuery = std::function<platform::ui::CmdUI(int id)>;
    using CommandRun = std::function<void(int id)>;
    using ToolTipShow = std::function<void(const std::string& text)>;

    CGameToolBar() = default;
    ~CGameToolBar() override = default;

    // The picture of the buttons, loaded when the window is created.
    void SetPicture(std::string file) { m_pictureFile = std::move(file); }
    void SetCallbacks(CommandQuery query, CommandRun run, ToolTipShow tip)
    {
        m_query = std::move(query);
        m_run = std::move(run);
        m_tip = std::move(tip);
    }
    void SetToolTipText(std::function<std::string(int id)> text) { m_tipText = std::move(text); }

    int OnCreate() override;
    void OnSize(platform::Size client) override;
    void OnMouse(const platform::MouseEvent& event) override;

    // The buttons (0 = separator); cell and button sizes from the picture.
    void SetButtonSet(const std::vector<int>& ids);
    // A button changes its command (same image and place).
    bool ReplaceButton(int id, int newId);
    // Wraps at separators so that no button reaches past the width; the
    // height the buttons then need.
    int Wrap(int width);
    int RequiredHeight() const;
    // The button at a client point, or null.
    const Button* ButtonAt(platform::Point point) const;
    const std::vector<Button>& Buttons() const { return m_buttons; }
    platform::Size ButtonSize() const { return m_buttonSize; }
    platform::Size ImageSize() const { return { m_buttonSize.width - 7, m_buttonSize.height - 6 }; }

    // Repaints when a button's state changed (or always).
    void UpdateButtons(bool always = false);
    void Paint();

private:
    void Layout();

    std::string m_pictureFile;
    std::unique_ptr<BitmapSurface> m_picture;
    std::vector<Button> m_buttons;
    std::vector<platform::ui::CmdUI> m_states;
    platform::Size m_buttonSize { 24, 22 };
    int m_pressed = 0;
    int m_hover = 0;
    CommandQuery m_query;
    CommandRun m_run;
    ToolTipShow m_tip;
    std::function<std::string(int id)> m_tipText;
};
