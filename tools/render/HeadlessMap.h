#pragma once
// A map view on a headless host, for the renderer, the tests and the
// benchmarks: the game object, its view, fake services whose asset folder
// holds the pictures, and a host whose "screen" surface receives the
// presents.

#include <filesystem>
#include <memory>
#include <string>

#include "ai/Game.h"
#include "mapview/MapView.h"
#include "platform/testing/HeadlessServices.h"
#include "platform/testing/HeadlessWindowHost.h"

// Shows the game's battle in a created view: the mode, rotated or not, with
// the hex (map terms) in the centre. A view on any host.
void ShowBattle(CMapView& view, CGame& game, int mode, bool rotated, HexPos centre);

class HeadlessMap {
public:
    // The game object starts in `dataFolder` (it reads its data files there
    // at once); pictures come from `artFolder`; a client of the given size.
    HeadlessMap(const std::filesystem::path& dataFolder, const std::filesystem::path& artFolder, platform::Size client);
    ~HeadlessMap();
    HeadlessMap(const HeadlessMap&) = delete;
    HeadlessMap& operator=(const HeadlessMap&) = delete;

    // Reads a battle file (its data files from the data folder); the
    // reader's error text on failure.
    bool ReadBattle(const std::filesystem::path& battleFile, std::string& error);
    // Creates the window (once) and shows the battle in the mode, rotated or
    // not, with the view hex (map terms) in the centre.
    void Show(int mode, bool rotated, HexPos centre);

    CGame& Game() { return *m_game; }
    CMapView& View() { return *m_view; }
    platform::testing::HeadlessServices& Services() { return m_services; }
    platform::testing::HeadlessWindowHost& Host() { return *m_host; }
    const platform::gfx::Surface& Screen() const { return m_host->ScreenSurface(); }

private:
    std::filesystem::path m_dataFolder;
    std::unique_ptr<CGame> m_game;
    platform::testing::HeadlessServices m_services;
    std::unique_ptr<CMapView> m_view;
    std::unique_ptr<platform::testing::HeadlessWindowHost> m_host;
    bool m_created = false;
};
