#include "tools/render/HeadlessMap.h"

#include <sstream>

#include "model/DataFile.h"

namespace {

// Runs in a folder and returns to where it was.
class InFolder {
public:
    explicit InFolder(const std::filesystem::path& folder)
    {
        std::error_code ec;
        m_before = std::filesystem::current_path(ec);
        std::filesystem::current_path(folder, ec);
        m_ok = !ec;
    }
    ~InFolder()
    {
        std::error_code ec;
        std::filesystem::current_path(m_before, ec);
    }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;
    bool Ok() const { return m_ok; }

private:
    std::filesystem::path m_before;
    bool m_ok = false;
};

} // namespace

HeadlessMap::HeadlessMap(
    const std::filesystem::path& dataFolder, const std::filesystem::path& artFolder, platform::Size client)
    : m_dataFolder(std::filesystem::absolute(dataFolder))
    , m_services(std::filesystem::absolute(artFolder))
{
    {
        InFolder in(m_dataFolder);
        m_game = std::make_unique<CGame>();
    }
    m_view = std::make_unique<CMapView>(m_game.get());
    m_host = std::make_unique<platform::testing::HeadlessWindowHost>(*m_view, m_services.Get(), client);
    m_services.screen.SetSize({ std::max(client.width, 1280), std::max(client.height, 1024) });
}

HeadlessMap::~HeadlessMap()
{
    m_host.reset();
    m_view.reset();
}

bool HeadlessMap::ReadBattle(const std::filesystem::path& battleFile, std::string& error)
{
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::absolute(battleFile, ec);
    InFolder in(m_dataFolder);
    std::string text;
    if (!in.Ok() || ReadDataFileText(path.string(), text) != DataFileRead::kRead) {
        error = "cannot read " + battleFile.string();
        return false;
    }
    std::istringstream stream(text);
    // The view needs the battle itself; the computer opponent's blocks,
    // which a scenario need not carry, are the frame's business.
    if (!m_game->CGameData::ReadBattleFile(stream, false)) {
        error = m_game->m_battleReadError.c_str();
        return false;
    }
    return true;
}

void HeadlessMap::Show(int mode, bool rotated, HexPos centre)
{
    if (!m_created) {
        m_created = m_host->Create();
        // The view follows its map: a battle read before or after creation.
        m_view->SetMap(&m_game->m_map);
    }
    ShowBattle(*m_view, *m_game, mode, rotated, centre);
}

void ShowBattle(CMapView& view, CGame& game, int mode, bool rotated, HexPos centre)
{
    view.AttachBattle(game.m_terrain, false);
    if (rotated != view.IsRotated())
        view.ToggleRotation(centre.column, centre.row);
    const HexPos v = view.RotateHex(centre);
    view.SetViewMode(mode, v.column, v.row);
}
