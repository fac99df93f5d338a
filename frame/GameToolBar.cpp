#include "frame/GameToolBar.h"

#include <algorithm>

#include "frame/Theme.h"

using namespace platform;

namespace {

ui::CmdUI MakeCmdUI(int id)
{
    ui::CmdUI state;
    state.id = id;
    return state;
}

} // namespace

int CGameToolBar::OnCreate()
{
    if (CDirectDrawWnd::OnCreate() == -1)
        return -1;
    if (!m_pictureFile.empty()) {
        m_picture = std::make_unique<BitmapSurface>(Host()->GetServices().assets, m_pictureFile);
        m_picture->SetColorKeyFromCorner();
    }
    if (!m_buttons.empty()) {
        std::vector<int> ids;
        for (const Button& button : m_buttons)
            ids.push_back(button.id);
        SetButtonSet(ids);
    }
    return 0;
}

void CGameToolBar::OnSize(Size client)
{
    CDirectDrawWnd::OnSize(client);
    if (client.width > 0 && client.height > 0)
        Paint();
}

void CGameToolBar::SetButtonSet(const std::vector<int>& ids)
{
    m_buttons.clear();
    int image = 0;
    for (int id : ids)
        m_buttons.push_back({ id, id ? image++ : -1, false, {} });
    if (m_picture && m_picture->IsLoaded() && image > 0)
        m_buttonSize = { m_picture->Width() / image, m_picture->Height() / 2 };
    m_states.assign(m_buttons.size(), {});
    Layout();
}

bool CGameToolBar::ReplaceButton(int id, int newId)
{
    for (Button& button : m_buttons) {
        if (button.id == id && id != 0) {
            button.id = newId;
            UpdateButtons(true);
            return true;
        }
    }
    return false;
}

void CGameToolBar::Layout()
{
    int x = 0;
    int y = 0;
    for (Button& button : m_buttons) {
        const int width = button.id ? m_buttonSize.width : kSeparatorWidth;
        button.place = Rect::FromPointSize({ x, y }, { width, m_buttonSize.height });
        x += width;
        if (button.id == 0 && button.wrapped) {
            x = 0;
            y += m_buttonSize.height;
        }
    }
}

int CGameToolBar::Wrap(int width)
{
    for (Button& button : m_buttons)
        button.wrapped = false;
    // Lay out on one row and wrap at the last separator before a button
    // whose right half would leave the width; then go on from the new row.
    Button* lastSeparator = nullptr;
    int x = 0;
    for (Button& button : m_buttons) {
        if (button.id == 0) {
            lastSeparator = &button;
            x += kSeparatorWidth;
            continue;
        }
        if (x + m_buttonSize.width + m_buttonSize.width / 2 > width && lastSeparator && !lastSeparator->wrapped) {
            lastSeparator->wrapped = true;
            // The buttons after the separator start the new row.
            x = 0;
            bool after = false;
            for (Button& b : m_buttons) {
                if (&b == lastSeparator) {
                    after = true;
                    continue;
                }
                if (after && &b != &button)
                    x += b.id ? m_buttonSize.width : kSeparatorWidth;
                if (&b == &button)
                    break;
            }
        }
        x += m_buttonSize.width;
    }
    Layout();
    return RequiredHeight();
}

int CGameToolBar::RequiredHeight() const
{
    int rows = 1;
    for (const Button& button : m_buttons)
        if (button.id == 0 && button.wrapped)
            ++rows;
    return rows * m_buttonSize.height;
}

const CGameToolBar::Button* CGameToolBar::ButtonAt(Point point) const
{
    for (const Button& button : m_buttons)
        if (button.id && button.place.Contains(point))
            return &button;
    return nullptr;
}

void CGameToolBar::OnMouse(const MouseEvent& event)
{
    const Button* button = ButtonAt(event.point);
    switch (event.kind) {
    case MouseKind::LeftDown:
        m_pressed = button ? button->id : 0;
        Paint();
        break;
    case MouseKind::LeftUp: {
        const int pressed = m_pressed;
        m_pressed = 0;
        Paint();
        if (button && button->id == pressed && m_run) {
            const ui::CmdUI state = m_query ? m_query(pressed) : MakeCmdUI(pressed);
            if (state.enabled)
                m_run(pressed);
        }
        break;
    }
    case MouseKind::Move: {
        const int hover = button ? button->id : 0;
        if (hover != m_hover) {
            m_hover = hover;
            if (m_tip)
                m_tip(hover && m_tipText ? m_tipText(hover) : std::string());
        }
        break;
    }
    case MouseKind::Leave:
        m_hover = 0;
        break;
    default:
        break;
    }
}

void CGameToolBar::UpdateButtons(bool always)
{
    bool changed = always;
    m_states.resize(m_buttons.size());
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        if (!m_buttons[i].id)
            continue;
        const ui::CmdUI state = m_query ? m_query(m_buttons[i].id) : MakeCmdUI(m_buttons[i].id);
        if (state.enabled != m_states[i].enabled || state.checked != m_states[i].checked || state.id != m_states[i].id)
            changed = true;
        m_states[i] = state;
    }
    if (changed)
        Paint();
}

void CGameToolBar::Paint()
{
    if (!Host())
        return;
    const Size client = ClientSize();
    if (client.width <= 0 || client.height <= 0)
        return;
    gfx::Canvas canvas(BackBuffer());
    canvas.FillRect(Rect::FromSize(client), theme::kButtonFace);
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        const Button& button = m_buttons[i];
        if (!button.id)
            continue;
        const bool down = button.id == m_pressed || (i < m_states.size() && m_states[i].checked);
        if (m_picture && m_picture->IsLoaded()) {
            const Point from { button.image * m_buttonSize.width, down ? m_buttonSize.height : 0 };
            canvas.DrawSurface(button.place.TopLeft(), m_picture->Surface(), Rect::FromPointSize(from, m_buttonSize),
                m_picture->IsKeyed());
        } else {
            // No picture: a plain raised or sunk button.
            const Rect r = button.place;
            canvas.FillRect(r, down ? theme::kButtonShadow : theme::kButtonHighlight);
            canvas.FillRect({ r.left + 1, r.top + 1, r.right - 1, r.bottom - 1 }, theme::kButtonFace);
        }
    }
    PresentClient();
}
