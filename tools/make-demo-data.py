#!/usr/bin/env python3
"""Writes the generated plain sources of the demo data set into data/.

    python3 tools/make-demo-data.py [DATA_FOLDER]

Generated (commit the output; the build never runs this script):
    main.map.txt          the demo battle map, 40 x 30, version 6 (plain source)
    sampler.map           a 20 x 14 version-3 map with every terrain letter and
                          every hexside feature of version 3, for tests
    movement.pdx.txt      movement-cost rows, dry, soft, mud and snow
    NWE-movement.pdx.txt  the same for maps of the north-west Europe theme

Everything else in data/ is written by hand. Change the tables below and run
the script again rather than editing these four files.
"""

import math
import os
import sys

# ---------------------------------------------------------------- hex geometry

N, NE, SE, S, SW, NW = 1, 2, 4, 8, 16, 32
SIDES = (N, NE, SE, S, SW, NW)
OPPOSITE = {N: S, NE: SW, SE: NW, S: N, SW: NE, NW: SE}

# Feature layers, in file order.
LAYER_NAMES = [
    "Road", "Rail", "Stream", "River", "Hv Bridge", "Med Bridge", "Lt Bridge", "Hedge", "Dune", "Cliff",
    "Embankment", "Unpaved", "Gully", "Ford", "Path", "High Wall", "Stone Wall", "Bocage", "Escarpment", "Reef",
    "Extra",
]
(ROAD, RAIL, STREAM, RIVER, HV_BRIDGE, MED_BRIDGE, LT_BRIDGE, HEDGE, DUNE, CLIFF, EMBANKMENT, UNPAVED, GULLY,
 FORD, PATH, HIGH_WALL, STONE_WALL, BOCAGE, ESCARPMENT, REEF, EXTRA) = range(21)
LAYERS_OF_VERSION = {1: 10, 2: 15, 3: 19, 4: 19, 5: 20, 6: 21}

# Terrain types 0..27 and their map letters.
TERRAIN_LETTERS = " wfmbvcaorhxieusntdgjklpqyzA"


def neighbour(side, x, y):
    """The hex across a side; odd columns stand half a hex higher."""
    odd = x & 1
    if side == N:
        return x, y - 1
    if side == S:
        return x, y + 1
    if side == NE:
        return x + 1, y - 1 if odd else y
    if side == SE:
        return x + 1, y if odd else y + 1
    if side == SW:
        return x - 1, y if odd else y + 1
    if side == NW:
        return x - 1, y - 1 if odd else y
    raise ValueError(side)


def hex_distance(c1, r1, c2, r2):
    p = c1 % 2
    d = abs(c2 - c1)
    upper = r1 - (d + p) // 2
    lower = r1 + (d + 1 - p) // 2
    if r2 < upper:
        return d + (upper - r2)
    if r2 > lower:
        return d + (r2 - lower)
    return d


def centre(x, y):
    return x * 1.5 / math.sqrt(3.0), y + (0.5 if x % 2 == 0 else 0.0)


class Map:
    def __init__(self, width, height, default_terrain=" ", default_level=0):
        self.width = width
        self.height = height
        self.terrain = [[default_terrain] * width for _ in range(height)]
        self.level = [[default_level] * width for _ in range(height)]
        self.layers = [[[0] * width for _ in range(height)] for _ in range(21)]
        self.codes = None
        self.labels = []

    def on_map(self, x, y):
        return 0 <= x < self.width and 0 <= y < self.height

    def side_between(self, a, b):
        for side in SIDES:
            if neighbour(side, *a) == b:
                return side
        raise ValueError("hexes %s and %s are not adjacent" % (a, b))

    def add_side(self, layer, x, y, side):
        """Puts a feature on one hexside, in the records of both hexes."""
        self.layers[layer][y][x] |= side
        nx, ny = neighbour(side, x, y)
        if self.on_map(nx, ny):
            self.layers[layer][ny][nx] |= OPPOSITE[side]

    def add_between(self, layer, a, b):
        self.add_side(layer, a[0], a[1], self.side_between(a, b))

    def path(self, waypoints):
        """Hexes from waypoint to waypoint, each step to the neighbour that is
        nearest to the next waypoint (ties: the straighter step)."""
        hexes = [waypoints[0]]
        for target in waypoints[1:]:
            while hexes[-1] != target:
                x, y = hexes[-1]
                tx, ty = centre(*target)
                best = None
                for side in SIDES:
                    nx, ny = neighbour(side, x, y)
                    if not self.on_map(nx, ny):
                        continue
                    cx, cy = centre(nx, ny)
                    key = (hex_distance(nx, ny, *target), (cx - tx) ** 2 + (cy - ty) ** 2)
                    if best is None or key < best[0]:
                        best = (key, (nx, ny))
                hexes.append(best[1])
        return hexes

    def line(self, layer, hexes, crossings=()):
        """A road-like feature along a chain of hexes. crossings: (layer set,
        bridge layer) pairs; where the chain crosses a side of a layer in the
        set, that side also gets the bridge layer."""
        # A line that starts or ends at the map edge runs on off the map.
        for edge, inner in ((hexes[0], hexes[1]), (hexes[-1], hexes[-2])):
            outward = OPPOSITE[self.side_between(edge, inner)]
            if not self.on_map(*neighbour(outward, *edge)):
                self.add_side(layer, edge[0], edge[1], outward)
        for a, b in zip(hexes, hexes[1:]):
            self.add_between(layer, a, b)
            side = self.side_between(a, b)
            for crossed, bridge in crossings:
                if self.layers[crossed][a[1]][a[0]] & side:
                    self.add_side(bridge, a[0], a[1], side)

    def boundary(self, layer, inside, only=lambda x, y: True):
        """The feature on every side between a hex for which inside() holds
        and one for which it does not (both on the map, both passing only())."""
        for y in range(self.height):
            for x in range(self.width):
                if not inside(x, y) or not only(x, y):
                    continue
                for side in SIDES:
                    nx, ny = neighbour(side, x, y)
                    if self.on_map(nx, ny) and not inside(nx, ny) and only(nx, ny):
                        self.add_side(layer, x, y, side)

    def fill(self, hexes, letter):
        for x, y in hexes:
            if self.on_map(x, y):
                self.terrain[y][x] = letter

    def write(self, path, version, header, layer_comment=True):
        lines = [str(version), "%d %d" % (self.width, self.height), header]
        lines += ["".join(row) for row in self.terrain]
        lines += ["".join(level_char(v) for v in row) for row in self.level]
        for layer in range(LAYERS_OF_VERSION[version]):
            grid = self.layers[layer]
            used = any(any(row) for row in grid)
            lines.append("%d %s" % (1 if used else 0, LAYER_NAMES[layer]))
            if used:
                lines += ["".join(chr(32 + v) for v in row) for row in grid]
        if version >= 2:
            if self.codes:
                lines.append("1 Codes")
                lines += ["".join(code_char(v) for v in row) for row in self.codes]
            else:
                lines.append("0 Codes")
        lines += self.labels
        with open(path, "w", newline="\n") as out:
            out.write("\n".join(lines) + "\n")


def level_char(level):
    return str(level) if level < 10 else chr(ord("a") + level - 10)


def code_char(code):
    return str(code) if code < 10 else chr(ord("a") + code - 10)


def label(x, y, kind, text):
    # The launcher's label line: position, size 1, alignment 1, kind.
    return "%d.5 %d.5 1 1 %d %s" % (x, y, kind, text)


# ------------------------------------------------------------- the demo map


def hexes_within(cx, cy, radius):
    return [(x, y) for x in range(cx - radius - 1, cx + radius + 2) for y in range(cy - radius - 1, cy + radius + 2)
            if hex_distance(cx, cy, x, y) <= radius]


def make_demo_map():
    """Bocage and open farmland either side of the Orvette: the village of Les
    Aulnettes on the west bank under the wooded Cote 80, the small town of
    Saint-Ovrin with its railway station on the east bank, the Ru de Vaux
    running in from the east."""
    m = Map(40, 30)

    # The river runs north to south along the sides between column k(r) and the
    # next, meandering a little; everything right of it is the east bank.
    def river_column(y):
        return 19 + int(round(1.6 * math.sin(y / 4.5)))

    def east(x, y):
        return x > river_column(y)

    # The stream comes in from the east edge and joins the river: the sides
    # between its north and south banks, east of the river.
    def stream_row(x):
        return 9 + int(round(1.2 * math.sin(x / 3.0)))

    def north_of_stream(x, y):
        return y <= stream_row(x)

    # Elevation: the ground rises gently away from the valley floor (level 0
    # along the river), with Cote 80 in the north-west, a spur in the
    # south-west, the wooded ridge north-east of the town and a knoll south of
    # it. No step between neighbours is more than one level.
    hills = [((7, 5), 5, 0.6), ((5, 24), 3, 0.55), ((34, 5), 4, 0.6), ((31, 25), 3, 0.6)]
    for y in range(m.height):
        for x in range(m.width):
            to_river = abs(x - river_column(y))
            level = min(2, max(0, (to_river - 2) // 4))
            for (hx, hy), peak, fall in hills:
                level = max(level, int(math.floor(peak - hex_distance(hx, hy, x, y) * fall + 0.5)))
            if to_river <= 1:
                level = 0
            elif to_river <= 3:
                level = min(level, 1)
            m.level[y][x] = max(0, level)

    # Terrain: fields and hedged pasture, woods, orchards, the village and town.
    fields = [(1, 8, 4, 12), (11, 1, 14, 5), (2, 16, 5, 20), (10, 19, 14, 22), (13, 8, 16, 11), (23, 1, 26, 4),
              (22, 12, 25, 15), (33, 11, 37, 14), (21, 24, 26, 28), (35, 21, 38, 27), (0, 26, 4, 29),
              (7, 26, 11, 28), (28, 27, 33, 29)]
    field_hexes = set()
    for x0, y0, x1, y1 in fields:
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                if m.on_map(x, y):
                    field_hexes.add((x, y))
    m.fill(field_hexes, "e")

    garenne = hexes_within(7, 4, 2) + [(4, 3), (4, 4), (10, 3), (9, 6)]
    ridge_wood = hexes_within(34, 5, 2) + [(36, 3), (37, 4), (37, 5), (31, 5), (32, 7)]
    copse = [(15, 23), (15, 24), (16, 23), (16, 24)]
    bois_sud = hexes_within(5, 23, 1)
    m.fill(garenne + ridge_wood + copse + bois_sud, "f")
    m.fill([(7, 4)], "r")  # the bare, stony top of Cote 80

    # Les Aulnettes: houses round the church on the main road.
    village = [(8, 13), (9, 13), (9, 14), (10, 13), (10, 14), (8, 14), (9, 12)]
    m.fill(village, "v")
    m.fill([(9, 13)], "b")  # church and mairie
    m.fill([(7, 12), (7, 13), (11, 12), (8, 15), (10, 15)], "o")

    # Saint-Ovrin: a stone centre, suburbs round it, the station yard by the line.
    town_core = [(29, 17), (30, 17), (30, 18), (31, 17), (29, 18), (30, 16)]
    suburbs = [(x, y) for x, y in hexes_within(30, 17, 2) if (x, y) not in town_core]
    m.fill(suburbs, "u")
    m.fill(town_core, "b")
    m.fill([(27, 15), (27, 16), (28, 14)], "i")  # station yard and sawmill
    m.fill([(33, 20)], "b")  # the walled chateau south-east of the town

    # Wet ground where the stream meets the river; the mill pond.
    m.fill([(21, 10), (22, 10), (21, 11)], "m")
    m.fill([(23, 26)], "w")
    m.fill([(22, 26), (24, 26)], "h")

    # Water features.
    m.boundary(RIVER, lambda x, y: not east(x, y))
    m.boundary(STREAM, north_of_stream, only=east)

    # Roads: the main road west to east over the heavy bridge; the unpaved
    # lanes north from the village up Cote 80 and south over the light bridge;
    # the town's road north over the stream.
    main_road = m.path([(0, 15), (5, 14), (9, 14), (14, 13), (18, 14), (23, 15), (29, 17), (35, 19), (39, 20)])
    m.line(ROAD, main_road, crossings=[(RIVER, HV_BRIDGE)])
    north_lane = m.path([(9, 12), (9, 8), (11, 4), (12, 0)])
    m.line(UNPAVED, north_lane)
    south_lane = m.path([(9, 14), (10, 18), (14, 22), (18, 25), (22, 27), (27, 28), (31, 28), (31, 29)])
    m.line(UNPAVED, south_lane, crossings=[(RIVER, LT_BRIDGE)])
    town_north = m.path([(30, 16), (31, 12), (30, 6), (29, 0)])
    m.line(ROAD, town_north, crossings=[(STREAM, MED_BRIDGE)])
    track = m.path([(5, 8), (6, 5), (8, 3), (10, 1)])
    m.line(PATH, track)

    # The railway: from the north edge through the station to the south-east,
    # over the stream on an embanked bridge.
    railway = m.path([(26, 0), (26, 8), (27, 14), (28, 20), (33, 26), (36, 29)])
    m.line(RAIL, railway, crossings=[(STREAM, HV_BRIDGE)])
    # North of the stream the line runs on an embankment across the low
    # ground: every side of those rail hexes that the track does not use.
    for x, y in railway:
        if 3 <= y <= 7:
            for side in SIDES:
                if not m.layers[RAIL][y][x] & side:
                    m.add_side(EMBANKMENT, x, y, side)

    # Hedges round the fields east of the river, bocage banks west of it, stone
    # walls round the village gardens, a high wall round the chateau.
    def road_side(x, y, side):
        return any(m.layers[layer][y][x] & side for layer in (ROAD, UNPAVED, RAIL, PATH))

    for x, y in sorted(field_hexes):
        for side in SIDES:
            nx, ny = neighbour(side, x, y)
            if not m.on_map(nx, ny) or (nx, ny) in field_hexes or road_side(x, y, side):
                continue
            if m.layers[RIVER][y][x] & side or m.layers[STREAM][y][x] & side:
                continue
            m.add_side(BOCAGE if x < river_column(y) and x <= 12 else HEDGE, x, y, side)

    village_set = set(village) | {(9, 13)}
    for x, y in sorted(village_set):
        for side in SIDES:
            nx, ny = neighbour(side, x, y)
            if (nx, ny) in village_set or not m.on_map(nx, ny) or road_side(x, y, side):
                continue
            m.add_side(STONE_WALL, x, y, side)
    for side in SIDES:
        if not road_side(33, 20, side):
            m.add_side(HIGH_WALL, 33, 20, side)

    m.labels = [
        label(30, 15, 0, "Saint-Ovrin"),
        label(9, 11, 0, "Les Aulnettes"),
        label(6, 1, 0, "Cote 80"),
        label(34, 2, 0, "Bois du Roc"),
        label(river_column(4), 4, 1, "Orvette River"),
        label(river_column(22) - 1, 22, 1, "Orvette River"),
        label(33, 8, 0, "Ru de Vaux"),
    ]
    return m


# ------------------------------------------------------------ the sampler map


def make_sampler_map():
    """20 x 14: every terrain letter in 2 x 2 blocks, levels 0..12 (letters a
    to c on the north-east plateau), every feature of version 3 on its own
    stretch, and a code grid with every code 0..12."""
    m = Map(20, 14)
    for y in range(m.height):
        for x in range(m.width):
            block = (x // 2) + (y // 2) * 10
            m.terrain[y][x] = TERRAIN_LETTERS[block % len(TERRAIN_LETTERS)]
            m.level[y][x] = min(6, x // 4 + y // 5)
    # 'x' stands for Impassible (as would any letter not in the table).
    for x, y in [(17, 0), (18, 0), (19, 0), (18, 1), (19, 1), (19, 2)]:
        m.level[y][x] = 10 + (x + y) % 3

    # Road west to east over a heavy bridge; rail over a medium bridge; an
    # unpaved lane over a light bridge; a path through a ford.
    m.boundary(RIVER, lambda x, y: x <= 9)
    m.line(ROAD, m.path([(0, 6), (19, 6)]), crossings=[(RIVER, HV_BRIDGE)])
    m.line(RAIL, m.path([(0, 11), (19, 11)]), crossings=[(RIVER, MED_BRIDGE)])
    m.line(UNPAVED, m.path([(4, 2), (15, 2)]), crossings=[(RIVER, LT_BRIDGE)])
    m.line(PATH, m.path([(6, 9), (13, 9)]), crossings=[(RIVER, FORD)])
    m.boundary(STREAM, lambda x, y: y <= 3, only=lambda x, y: 12 <= x <= 18)
    m.boundary(GULLY, lambda x, y: y <= 12, only=lambda x, y: 1 <= x <= 6)
    stretches = [
        (HEDGE, 1, 1), (HEDGE, 2, 1), (DUNE, 14, 12), (CLIFF, 18, 8), (CLIFF, 18, 9), (EMBANKMENT, 3, 10),
        (HIGH_WALL, 6, 4), (STONE_WALL, 7, 4), (STONE_WALL, 8, 4), (BOCAGE, 1, 3), (BOCAGE, 2, 3),
        (ESCARPMENT, 16, 7),
    ]
    for layer, x, y in stretches:
        m.add_side(layer, x, y, S)
        m.add_side(layer, x, y, SE)
    m.codes = [[(x + y * m.width) % 13 for x in range(m.width)] for y in range(m.height)]
    m.labels = [label(4, 4, 0, "Sampler Hamlet"), label(9, 1, 1, "Test River")]
    return m


# ------------------------------------------------------------ movement costs

TERRAIN_NAMES = [
    "Open", "Water", "Forest", "Marsh", "Building", "Village", "City", "Beach", "Orchard", "Rough", "Shallow Water",
    "Impassible", "Industrial", "Field", "Suburb", "Swamp", "Vineyard", "Cactus", "Hammada", "Scrub", "Soft Sand",
    "Wadi", "Rice Paddy", "Flooded Paddy", "Palm Trees", "Lt. Jungle", "Jungle", "Kunai",
]

# Each row: terrain entries 0..27 (percent of the open-road base cost; 0 = cannot
# enter off a road), rubble and trench surcharges (0 = cannot enter), the 21
# hexside features (road-like layers: the cost along them; others: the cost of
# crossing, 0 = cannot cross) and the climb cost.
#            Opn Wat For Mar Bld Vil Cit Bch Orc Rgh Shw Imp Ind Fld Sub Swp Vin Cac Ham Scr Snd Wad Ric Fld Plm LtJ Jng Kun
FOOT = dict(
    terrain=[125, 0, 175, 250, 175, 150, 175, 150, 140, 175, 350, 0, 175, 150, 150, 300, 150, 250, 140, 150, 225,
             175, 250, 350, 150, 225, 325, 175],
    extra=[50, 25],
    #        Rd  Rl  Str Riv HvB MdB LtB Hdg Dun Clf Emb Unp Gly Frd Pth HiW StW Boc Esc Ref Ext
    sides=[100, 125, 50, 0, 10, 10, 10, 30, 75, 0, 50, 100, 75, 100, 110, 0, 50, 100, 150, 0, 25],
    climb=50)
WHEELED = dict(
    terrain=[300, 0, 900, 0, 0, 400, 0, 600, 700, 0, 0, 0, 500, 500, 350, 0, 0, 0, 400, 500, 1000, 600, 0, 0, 500, 0,
             0, 700],
    extra=[0, 0],
    sides=[100, 500, 300, 0, 10, 10, 10, 0, 0, 0, 0, 150, 400, 200, 0, 0, 0, 0, 0, 0, 50],
    climb=100)
HALFTRACK = dict(
    terrain=[200, 0, 700, 0, 800, 300, 700, 350, 400, 600, 800, 0, 400, 300, 250, 0, 500, 600, 250, 350, 500, 450, 800,
             0, 400, 900, 0, 450],
    extra=[300, 200],
    sides=[100, 300, 200, 0, 10, 10, 10, 150, 200, 0, 200, 130, 250, 150, 0, 0, 0, 400, 0, 0, 40],
    climb=80)
TRACKED = dict(
    terrain=[225, 0, 600, 0, 700, 300, 600, 300, 350, 500, 700, 0, 400, 275, 250, 0, 400, 500, 250, 300, 400, 400, 700,
             0, 350, 800, 0, 400],
    extra=[150, 100],
    sides=[100, 250, 150, 0, 10, 10, 10, 75, 150, 0, 150, 125, 200, 125, 0, 0, 150, 400, 0, 0, 30],
    climb=60)
HORSE = dict(
    terrain=[100, 0, 250, 300, 200, 125, 150, 125, 150, 200, 300, 0, 150, 125, 125, 400, 200, 300, 125, 150, 250, 175,
             300, 500, 150, 300, 0, 200],
    extra=[200, 100],
    sides=[80, 150, 75, 0, 10, 10, 10, 50, 100, 0, 100, 90, 125, 100, 120, 0, 75, 200, 0, 0, 40],
    climb=75)
MOTORCYCLE = dict(
    terrain=[250, 0, 700, 0, 400, 250, 300, 500, 500, 800, 0, 0, 300, 400, 250, 0, 600, 0, 300, 400, 900, 500, 0, 0,
             400, 0, 0, 600],
    extra=[0, 0],
    sides=[100, 400, 250, 0, 10, 10, 10, 0, 0, 0, 0, 125, 300, 200, 150, 0, 0, 0, 0, 0, 50],
    climb=100)
BICYCLE = dict(
    terrain=[300, 0, 500, 0, 300, 250, 250, 600, 400, 600, 0, 0, 300, 450, 250, 0, 450, 0, 350, 400, 0, 500, 0, 0, 350,
             0, 0, 500],
    extra=[150, 50],
    sides=[100, 300, 150, 0, 10, 10, 10, 100, 0, 0, 150, 150, 200, 150, 150, 0, 150, 300, 0, 0, 50],
    climb=150)
# Every move of a type with movement flag 0x400 costs 3 action points: its
# row only says where it may go (non-zero) and where not.
FIXED = dict(
    terrain=[100 if t not in (1, 11) else 0 for t in range(28)],
    extra=[100, 100],
    sides=[100, 100, 100, 0, 100, 100, 100, 100, 100, 0, 100, 100, 100, 100, 100, 0, 100, 100, 100, 0, 100],
    climb=0)
BOAT = dict(
    terrain=[0, 100, 0, 250, 0, 0, 0, 400, 0, 0, 150, 0, 0, 0, 0, 300, 0, 0, 0, 0, 0, 0, 300, 200, 0, 0, 0, 0],
    extra=[0, 0],
    sides=[0, 0, 0, 0, 10, 10, 10, 0, 0, 0, 0, 0, 0, 100, 0, 0, 0, 0, 0, 0, 25],
    climb=0)
AMPHIBIOUS_SNOW = dict(
    terrain=[200, 200, 275, 200, 275, 225, 275, 250, 225, 275, 250, 0, 275, 225, 225, 300, 250, 350, 225, 250, 325,
             275, 250, 300, 250, 350, 0, 275],
    extra=[75, 40],
    sides=[130, 175, 75, 0, 10, 10, 10, 50, 100, 0, 75, 150, 100, 125, 150, 0, 75, 150, 200, 300, 40],
    climb=75)


def light_foot():
    row = {key: list(value) if isinstance(value, list) else value for key, value in FOOT.items()}
    row["terrain"] = [v * 9 // 10 // 5 * 5 for v in row["terrain"]]
    row["climb"] = 40
    return row


ROW_NAMES = [
    "row 0 wheeled vehicles (movement flag 0x1)",
    "row 1 half-tracks (movement flag 0x4)",
    "row 2 fully tracked vehicles (movement flag 0x8)",
    "row 3 light foot (movement flag 0x10)",
    "row 4 horses (movement flag 0x2000)",
    "row 5 foot (movement flag 0x2; amphibians 0x100 outside snow)",
    "row 6 motorcycles (movement flag 0x200)",
    "row 7 fixed-cost movers (movement flag 0x400)",
    "row 8 amphibians in snow (movement flag 0x100)",
    "row 9 bicycles (movement flag 0x800)",
    "row 10 boats (movement flag 0x1000)",
    "row 11 spare (no flag selects it): foot",
]
DRY_ROWS = [WHEELED, HALFTRACK, TRACKED, light_foot(), HORSE, FOOT, MOTORCYCLE, FIXED, AMPHIBIOUS_SNOW, BICYCLE,
            BOAT, FOOT]
# Which surface scaling each row takes (half-tracks scale like tracks; the
# fixed-cost, snow-only and boat rows keep their values on every surface).
KIND = ["wheeled", "tracked", "tracked", "foot", "foot", "foot", "wheeled", "fixed", "fixed", "foot", "fixed", "foot"]

# How each surface state scales a dry row, by kind of mover: (terrain, unpaved
# and path, paved road and rail, climb). Water, bridges and crossings keep
# their dry values; a 0 stays 0.
SURFACES = [
    ("dry", None),
    ("soft ground", {"foot": (1.2, 1.2, 1.0, 1.25), "wheeled": (1.75, 1.5, 1.0, 1.5),
                     "tracked": (1.4, 1.3, 1.0, 1.25), "fixed": (1.0, 1.0, 1.0, 1.0)}),
    ("mud", {"foot": (1.5, 1.5, 1.0, 1.5), "wheeled": (3.0, 2.5, 1.1, 2.0),
             "tracked": (2.0, 2.0, 1.0, 1.5), "fixed": (1.0, 1.0, 1.0, 1.0)}),
    ("snow", {"foot": (1.6, 1.5, 1.3, 1.5), "wheeled": (2.0, 2.0, 1.5, 2.0),
              "tracked": (1.75, 1.5, 1.25, 1.5), "fixed": (1.0, 1.0, 1.0, 1.0)}),
]
WATER_TERRAIN = {1, 10, 15, 22, 23}


def scaled(value, factor):
    if value == 0 or factor == 1.0:
        return value
    return int(round(value * factor / 5.0)) * 5


def surface_row(row, kind, factors):
    terrain_f, lane_f, road_f, climb_f = factors[kind] if factors else (1.0, 1.0, 1.0, 1.0)
    terrain = [v if t in WATER_TERRAIN else scaled(v, terrain_f) for t, v in enumerate(row["terrain"])]
    extra = [scaled(v, terrain_f) for v in row["extra"]]
    sides = list(row["sides"])
    for layer in (UNPAVED, PATH):
        sides[layer] = scaled(sides[layer], lane_f)
    for layer in (ROAD, RAIL):
        sides[layer] = scaled(sides[layer], road_f)
    return terrain + extra + sides + [scaled(row["climb"], climb_f)]


def nwe_row(index, entries):
    """North-west Europe: the hedgerows of the bocage stand on earth banks that
    stop half-tracks and slow tanks and men; ordinary hedges are thicker too."""
    entries = list(entries)
    base = 30
    if index == 1:  # half-tracks
        entries[base + BOCAGE] = 0
        entries[base + HEDGE] = 200
    elif index == 2:  # tracked
        entries[base + BOCAGE] = 500
        entries[base + HEDGE] = 100
    elif index in (3, 5, 11):  # foot
        entries[base + BOCAGE] = 150
    return entries


def write_movement(path, themed):
    lines = []
    for surface, (name, factors) in enumerate(SURFACES):
        for index, row in enumerate(DRY_ROWS):
            entries = surface_row(row, KIND[index], factors)
            if themed:
                entries = nwe_row(index, entries)
            assert len(entries) == 52
            lines.append(" ".join("%d" % v for v in entries) + "   # %s, array %d %s" % (ROW_NAMES[index], surface, name))
        lines.append("")
    with open(path, "w", newline="\n") as out:
        out.write("\n".join(lines))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data")
    make_demo_map().write(os.path.join(folder, "main.map.txt"), 6, "30 10 1 1 0 0")
    make_sampler_map().write(os.path.join(folder, "sampler.map"), 3, "0 10 1 1 0 -1")
    write_movement(os.path.join(folder, "movement.pdx.txt"), themed=False)
    write_movement(os.path.join(folder, "NWE-movement.pdx.txt"), themed=True)


if __name__ == "__main__":
    main()
