#pragma once
// The random map generator: its parameters, the cell grid and the passes that
// fill it, for the random map screen, the scenario writer and vlrandmap. The
// launcher keeps one and sets its parameters before each generation (some
// passes change them); every test builds its own.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/generator/MapGrid.h"
#include "launcher/shell/LauncherRandom.h"

// A label position recorded by the town and river passes.
struct MapLabelPosition {
    int column = 0;
    int row = 0;

    friend bool operator==(const MapLabelPosition&, const MapLabelPosition&) = default;
};

class RandomMap {
public:
    static constexpr int kMaxLabels = 200;
    static constexpr int kMinMapSize = 2;
    static constexpr int kMaxMapSize = 1000;
    static constexpr int kMaxLevel = 12;
    static constexpr const char* kDescriptionFileName = "Map Description.dat";
    static constexpr int kDescriptionFieldCount = 42;
    static constexpr int kMaxPlaceNames = 500;
    // Label lines stay within the map reader's line limit.
    static constexpr std::size_t kMaxPlaceNameLength = 254;
    // Version 3 carries feature layers 0..18.
    static constexpr int kMapFileLayerCount = 19;
    static constexpr const char* kWriteErrorText = "Write Error";
    static constexpr const char* kMapSizeErrorText = "Map size out of range";

    // Draws from the launcher's source, which outlives the generator.
    explicit RandomMap(LauncherRandom& random)
        : m_random(random)
    {
    }
    RandomMap(const RandomMap&) = delete;
    RandomMap& operator=(const RandomMap&) = delete;

    // Generation parameters: all 0 at start but the theme (-1, none), the
    // place-name list (1) and the file version (3). Widths as the launcher
    // stores them: the size in 16 bits, every other one a signed byte used as
    // a percentage 0..100 or a weight.
    std::int16_t m_mapWidth = 0;
    std::int16_t m_mapHeight = 0;
    std::int8_t m_mapBaseElevation = 0;
    std::int8_t m_mapHills = 0;
    std::int8_t m_mapForest = 0;
    std::int8_t m_mapVineyard = 0;
    std::int8_t m_mapCactus = 0;
    std::int8_t m_mapHammada = 0;
    std::int8_t m_mapScrub = 0;
    std::int8_t m_mapSoftSand = 0;
    std::int8_t m_mapWadi = 0;
    std::int8_t m_mapRicePaddy = 0;
    std::int8_t m_mapFloodedPaddy = 0;
    std::int8_t m_mapPalmTrees = 0;
    std::int8_t m_mapLightJungle = 0;
    std::int8_t m_mapJungle = 0;
    std::int8_t m_mapKunai = 0;
    std::int8_t m_mapLakes = 0;
    std::int8_t m_mapMajorRiverWidth = 0;
    std::int8_t m_mapRivers = 0;
    std::int8_t m_mapStreams = 0;
    std::int8_t m_mapGullies = 0;
    std::int8_t m_mapMarsh = 0;
    std::int8_t m_mapRough = 0;
    std::int8_t m_mapEmbankments = 0;
    std::int8_t m_mapCliffs = 0;
    std::int8_t m_mapEscarpments = 0;
    std::int8_t m_mapFields = 0;
    std::int8_t m_mapOrchards = 0;
    std::int8_t m_mapTowns = 0;
    std::int8_t m_mapCities = 0;
    std::int8_t m_mapSuburbs = 0;
    std::int8_t m_mapIndustry = 0;
    std::int8_t m_mapRoads = 0;
    std::int8_t m_mapUnpavedRoads = 0;
    std::int8_t m_mapPaths = 0;
    std::int8_t m_mapRailways = 0;
    std::int8_t m_mapHedges = 0;
    std::int8_t m_mapDunes = 0;
    std::int8_t m_mapBocage = 0;
    std::int8_t m_mapHighWalls = 0;
    std::int8_t m_mapStoneWalls = 0;
    std::int8_t m_mapReef = 0; // accepted; no pass reads it
    std::int8_t m_mapSpare1 = 0; // accepted; no pass reads it
    std::int8_t m_mapSpare2 = 0; // accepted; no pass reads it
    std::int8_t m_mapLakeFlag = 0;
    std::int8_t m_mapRiverCrossing = 0;
    std::int8_t m_mapCoastFlag = 0;
    std::int8_t m_mapTheme = -1; // -1 none, 0..4
    std::int8_t m_placeNameFile = 1; // n of "mapname%d.txt"
    std::int8_t m_mapFileVersion = 3; // the writer always writes version 3

    // The folder "Map Description.dat" and the place-name lists are read
    // from; empty is the working folder.
    void SetDataFolder(std::filesystem::path folder) { m_dataFolder = std::move(folder); }
    const std::filesystem::path& DataFolder() const { return m_dataFolder; }
    // The name to open a data file of the data folder by.
    std::string DataFilePath(std::string_view name) const;

    LauncherRandom& Random() { return m_random; }

    // Loads the parameters of one line of "Map Description.dat" (counted from
    // 1; a line below 1 is line 1, a file with fewer lines gives its last one)
    // and returns the line's description text. Every parameter the lines set
    // is cleared first (the theme to -1); values are held to 0..100, the theme
    // to -1..4 (else -1); a field missing or not a number ends the parse and
    // leaves the rest cleared. A file missing, empty, or unreadable up to the
    // line (an over-long line) gives the empty text and changes nothing.
    std::string ReadMapDescription(int line);

    // Generation -----------------------------------------------------------

    // The whole generation: seeds the random numbers from their time source,
    // clears the label lists, makes the grid (the base elevation held to
    // 0..12 first), raises the hills, scatters the terrain, lays the water,
    // smooths the slopes, grows towns and roads, sets the remaining hexside
    // features and writes the map file at path. Returns the empty text, kWriteErrorText when the file could
    // not be written (no file then, an old one untouched; the grid stays valid
    // either way) or kMapSizeErrorText for a size IsValidMapSize refuses
    // (nothing made or written). The grid stays until FreeMapCells.
    std::string GenerateRandomMap(const std::filesystem::path& path);

    // count = (width x height / 400) x hills / 20 + 5 hills or ridges of up
    // to 12 x hills / 100 levels above the base (the base goes down when the
    // two pass 12; a level above 12 is 12).
    void GenerateHills();
    // Each level from the base up to top: a window of 4-sided dice around
    // (x, y), its cells raised to the level with chance 1/2.
    void RaiseHill(int x, int y, int top);
    // 4d4 hills stepping in a direction that turns with chance 1/5.
    void RaiseRidge(int x, int y, int top);
    // Patches of the thirteen scatter letters, a later one over an earlier.
    void ScatterTerrain();
    void ScatterTerrainLetter(int p, char letter);

    // Water ----------------------------------------------------------------

    // Lakes, the central lake, major river and north coast of the three
    // toggles, and rivers and streams from the four edges. Under a crossing
    // the major river width, gullies and streams lose a fifth first (the
    // parameters stay changed).
    void GenerateWater();
    // Watercourses on water hexes go; a River side drops Stream and Gully,
    // a Stream side drops Gully.
    void ResolveWatercoursePriorities();
    // Rivers, streams and gullies walking from (x, y) in direction d (0 marks
    // nothing in the first hex and turns to 6 at the first step).
    void TraceRiver(int x, int y, int d);
    void TraceStream(int x, int y, int d);
    void TraceGully(int x, int y, int d);
    // A block-wide river from (x, y), labelled there, to the map's edge.
    void TraceMajorRiver(int x, int y);
    // steps blocks of 2..4 hexes walking from (x, y), sending off rivers and
    // streams now and then.
    void GrowLake(int x, int y, int steps);
    // A sea along the north edge, with beaches and shallows.
    void BuildCoast();
    // size x size hexes of water at level 0 from i south-east, cut at the
    // map's edges, their River and Stream sides cleared.
    void FillWaterBlock(int i, int size);
    // The next direction of a watercourse, -1 when it has no level or higher
    // way on (off the map counts as a way).
    int ChooseCourseDirection(int i, int previous, int main);
    // Inward from an edge hex; a random direction elsewhere.
    int EdgeStartDirection(int x, int y);
    // The major river's main direction swings between 2 and 3, 5 and 6.
    int DriftMajorRiverDirection(int d);
    // The sides of hex i along which a course arriving in direction previous
    // and leaving in next runs; nothing for a previous outside 1..6.
    void MarkCourseThroughCell(int i, int previous, int next, int layer);

    // Towns, roads, slopes and hexside features ---------------------------

    // Neighbours more than one level above or below hex i come down (with
    // chances the hills parameter damps); pits rise and tops fall by one.
    void SmoothSlopes();
    // Marsh and swamp within two hexes of water, rivers and streams.
    void PlaceWetTerrain();
    // Towns grown at random hexes and roads of every layer from the edges.
    void GenerateTownsAndRoads();
    void GrowTown(int x, int y, int size);
    void GrowFarmland(int x, int y, int amount);
    // A Road, Rail, Unpaved or Path walk from (x, y) leaving in direction d.
    void BuildRoad(int x, int y, int d, int layer);
    // The next direction of a road, or -1 when it ends (a join sets its side).
    int ChooseRoadDirection(int i, int d, int layer);
    bool IsIndustrySite(int i) const;
    bool IsSuburbSite(int i) const;
    // Unpaved links between villages and their neighbours; one road layer a
    // side (Rail over Road over Unpaved); no roads on edge water hexes.
    void LinkVillagesAndTidyRoads();
    void PlaceRoughAndSlopes();
    void PlaceSlopeFeature(int i, int d, int p, int layer);
    void PlaceBoundaryFeatures();
    void PlaceBetweenLikeCells(int p, int layer, char letter);
    void PlaceShoreFeature(int p, int layer);
    void PlaceShoreWalls();
    // Sets a road layer on side d of hex i and, when a watercourse runs along
    // the side, the bridge of the layer (every road side goes through here).
    void SetRoadSide(int i, int d, int layer);

    // The walks that end only by chance and the rewinds of the slope smoothing
    // stop after 8 x width x height steps; how often that happened since the
    // grid was made (never on a real map).
    int WalkLimitHits() const { return m_walkLimitHits; }

    // The map file -------------------------------------------------------

    // Writes the grid as a map file of version 3 through a temporary file:
    // the empty text, or kWriteErrorText (no file written, an old one kept).
    std::string WriteMapFile(const std::filesystem::path& path);
    // Appends the label lines: a town or river label each, named from the
    // place-name list (one RollRandom a label); nothing without names.
    void WriteMapLabels(std::string& text);
    // ReadPlaceNameFile of m_placeNameFile.
    std::vector<std::string> LoadPlaceNames() const;
    // "mapname<number>.txt" of the data folder: one name a line (CR dropped,
    // cut to 254 characters), blank lines skipped, at most 500; a missing
    // file gives none, an over-long line ends the list.
    std::vector<std::string> ReadPlaceNameFile(int number) const;
    // One row of W characters: terrain letters; levels ('0'..'9', 'a'..'c',
    // '6' for anything else); a layer's side bits + 32; the random values
    // encoded like levels.
    void FormatTerrainRow(std::string& buffer, int row) const;
    void FormatElevationRow(std::string& buffer, int row) const;
    void FormatLayerRow(std::string& buffer, int layer, int row) const;
    void FormatRandomRow(std::string& buffer, int row) const;

    // The grid -------------------------------------------------------------

    // Width even and both sizes 2..1000 (the map reader's limit).
    static bool IsValidMapSize(int width, int height);
    // Makes the geometry and the cells for the current size, visiting the
    // cells in index order: terrain ' ', the base elevation, RollRandom(6),
    // empty layers. A size IsValidMapSize refuses makes nothing: false.
    bool AllocateMapCells();
    void FreeMapCells();
    bool HasCells() const { return m_geometry.has_value(); }
    // Valid from AllocateMapCells to FreeMapCells.
    const MapGeometry& Geometry() const { return *m_geometry; }
    std::vector<MapCell>& Cells() { return m_cells; }
    const std::vector<MapCell>& Cells() const { return m_cells; }
    MapCell& Cell(int i) { return m_cells[static_cast<std::size_t>(i)]; }
    const MapCell& Cell(int i) const { return m_cells[static_cast<std::size_t>(i)]; }

    // Both the column and the row of the neighbour lie on the map.
    bool HasNeighbourCell(int i, int d) const;
    // A hexside feature lies on both hexes sharing the side: the bit of d in
    // cell i's layer and, when the neighbour is on the map, the opposite bit
    // in the neighbour's.
    void SetHexside(int i, int d, int layer);
    void ClearHexside(int i, int d, int layer);
    // 'w' Water and 'h' Shallow Water.
    bool IsWaterCell(int i) const;

    // A square window of side size around (x, y) with ragged edges: cells on
    // the window's border are painted with chance 1/4, the next ring 1/2, then
    // 3/4, three or more inside always. The window is cut at the map's edges.
    void PaintTerrainPatch(int x, int y, int size, char letter);
    // Lowers every cell above level (below 0 counts as 0) in a window of
    // RollRandom(3 size) by RollRandom(3 size) cells whose corner lies size / 2
    // up and left of (x, y).
    void CapElevationInWindow(int x, int y, int size, int level);

    // Label positions of the town and river passes, at most 200 each.
    const std::vector<MapLabelPosition>& TownLabels() const { return m_townLabels; }
    const std::vector<MapLabelPosition>& RiverLabels() const { return m_riverLabels; }
    // False (and nothing recorded) when the list is full.
    bool AddTownLabel(int column, int row);
    bool AddRiverLabel(int column, int row);
    void ClearLabels();

private:
    LauncherRandom& m_random;
    std::filesystem::path m_dataFolder;
    std::optional<MapGeometry> m_geometry;
    std::vector<MapCell> m_cells;
    std::vector<MapLabelPosition> m_townLabels;
    std::vector<MapLabelPosition> m_riverLabels;
    // RaiseHill's draws for one window, kept to spare an allocation a level.
    std::vector<std::uint8_t> m_windowDraws;
    int m_walkLimitHits = 0;

    // The neighbour of hex i (on the map) in d when it lies on the map, else
    // -1: HasNeighbourCell and NeighbourIndex in one, without their calls.
    int NeighbourCell(int i, int d) const
    {
        static constexpr std::array<int, 7> kColumnStep = { 0, 0, 1, 1, 0, -1, -1 };
        static constexpr std::array<int, 7> kRowStepEven = { 0, -1, 0, 1, 1, 1, 0 };
        static constexpr std::array<int, 7> kRowStepOdd = { 0, -1, -1, 0, 1, 0, -1 };
        if (d < 1 || d > 6)
            return -1;
        const int width = m_geometry->Width();
        const auto k = static_cast<std::size_t>(d);
        const int column = i % width + kColumnStep[k];
        const int row = i / width + ((i & 1) != 0 ? kRowStepOdd[k] : kRowStepEven[k]);
        if (column < 0 || column >= width || row < 0 || row >= m_geometry->Height())
            return -1;
        return column + width * row;
    }
    int WalkLimit() const { return 8 * m_geometry->CellCount(); }
    // visit(x, y, index) for each hex of the square of 2 radius + 1 hexes
    // around hex i that lies on the map, columns outer.
    template <class Visit> void ForSquareAround(int i, int radius, Visit visit)
    {
        const int column = m_geometry->CellColumn(i);
        const int row = m_geometry->CellRow(i);
        const int right = std::min(column + radius, m_geometry->Width() - 1);
        const int lower = std::min(row + radius, m_geometry->Height() - 1);
        for (int x = std::max(column - radius, 0); x <= right; ++x) {
            for (int y = std::max(row - radius, 0); y <= lower; ++y)
                visit(x, y, m_geometry->CellIndex(x, y));
        }
    }
    // d - 1 or d + 1 (even chances), 7 turned to 1 and 0 kept.
    int SideDirection(int d);
    // River and stream: one walk, the layer an argument.
    void TraceWatercourse(int x, int y, int d, int layer);
};
