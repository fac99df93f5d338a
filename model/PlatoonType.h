#pragma once
// Platoon types: the fixed description of one kind of platoon (name, strength,
// movement, weapon, costs and capabilities) that every placed unit points to,
// the list of all types and the reader of the platoon files.
//
// A platoon file holds one type per line, each line stored through the main
// scrambling variant. After descrambling a line reads, blank-separated:
//   letter+id strength v12 v13 fireAp loadAp unloadAp movement v15 stackRank
//   classLetter v25 v26 v27 v28 v33 v29 v30 picture unitValue moveFlags
//   carryFlags targetFlags extraFlags v39 firstYear firstMonth lastYear
//   lastMonth v40 v41 v42 name[,shortName[,thirdName]]

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "model/OwnedList.h"
#include "model/String.h"

// Bound after loading from the weapon and movement-cost tables.
struct WeaponRecord;
struct MovementCostRecord;

// Capability bits of the four flag words. Masks of several bits are tested
// with "any of".
// m_moveFlags
inline constexpr std::uint32_t kMoveFoot = 0x2; // foot-moving: never a vehicle
inline constexpr std::uint32_t kMoveDoubleTime = 0x2802; // any: can double-time
inline constexpr std::uint32_t kMoveStackClass = 0x10; // third class of the stack-movement ranking
inline constexpr std::uint32_t kMoveNoLightBridge = 0x20;
inline constexpr std::uint32_t kMoveNoMediumBridge = 0x40;
inline constexpr std::uint32_t kMoveNoHeavyBridge = 0x4000;
inline constexpr std::uint32_t kMoveWaterEntry = 0x80; // water/marsh/swamp cost 100; crosses rivers anywhere
inline constexpr std::uint32_t kMoveMarshAndWater = 0x1080; // any: vehicle may enter marsh off roads, leave water
inline constexpr std::uint32_t kMoveThreeApPerMove = 0x400;
inline constexpr std::uint32_t kMoveQuickLoad = 0x1000; // as a carrier: loading and unloading cost 25
inline constexpr std::uint32_t kMoveFiresWhileLoaded = 0x400; // a non-carrier that may fire while loaded
inline constexpr std::uint32_t kMoveMineClearing = 0x400; // its group passes a minefield unharmed
inline constexpr std::uint32_t kMoveMineProof = 0x80; // a vehicle that mines cannot harm
// m_carryFlags
inline constexpr std::uint32_t kCarryCarrier = 0x68; // any: carrier (may fire while loaded)
inline constexpr std::uint32_t kCarryNeedsPassenger = 0x1E000; // any: cannot move without a passenger
inline constexpr std::uint32_t kCarryCarriable = 0x1007; // any: can be carried
inline constexpr std::uint32_t kCarryPassengers = 0x10; // carries 0x2 passengers up to twice its strength
inline constexpr std::uint32_t kCarryTows = 0x20;
inline constexpr std::uint32_t kCarryOnlyHeavy = 0x40; // carries only 0x1004 passengers
inline constexpr std::uint32_t kCarryHorses = 0x2000;
inline constexpr std::uint32_t kCarryBicycles = 0x4000;
inline constexpr std::uint32_t kCarryMotorcycles = 0x8000;
inline constexpr std::uint32_t kCarryBoats = 0x10000; // also: a boat, moves on water, crosses rivers anywhere
inline constexpr std::uint32_t kPassengerHeavyGun = 0x1000;
inline constexpr std::uint32_t kPassengerHorses = 0x800;
inline constexpr std::uint32_t kPassengerBicycles = 0x400;
inline constexpr std::uint32_t kPassengerMotorcycles = 0x200;
inline constexpr std::uint32_t kPassengerBoats = 0x80;
// m_targetFlags
inline constexpr std::uint32_t kTargetHard = 0x1;
inline constexpr std::uint32_t kTargetAntiAircraft = 0x6; // any: may fire at aircraft
inline constexpr std::uint32_t kTargetNoBanzai = 0x8;
inline constexpr std::uint32_t kTargetIndirect = 0x8; // capable of indirect fire
inline constexpr std::uint32_t kTargetSmokeAnyRange = 0x10; // smoke fire without a range limit
inline constexpr std::uint32_t kTargetFiresFromWater = 0x20; // may fire from open water
inline constexpr std::uint32_t kTargetSmokeSetsHexBit = 0x40; // its smoke also sets the hex's smoke bit
// m_extraFlags
inline constexpr std::uint32_t kExtraDigIn = 0x1;
inline constexpr std::uint32_t kExtraMineSurcharge = 0x2; // also ignores known minefields in path costs
inline constexpr std::uint32_t kExtraSmokeRounds = 0x2; // smoke from the side's stock; smoke at distance 0
inline constexpr std::uint32_t kExtraMineImmune = 0x2; // engineers: a minefield attack has no effect
inline constexpr std::uint32_t kExtraCarriesPassengers = 0x100; // skips the carrier-kind tests

// Category digits of an id: (id / 100) % 10.
inline constexpr int kCategoryArtillery = 3;
inline constexpr int kCategoryLeader = 4;
inline constexpr int kCategoryOwnPicture = 5;

// Number of movement-cost arrays a type has a row in.
inline constexpr std::size_t kMovementRowCount = 4;

// Counts read from a platoon file (strength, movement allowance, action-point
// costs, unit value) are held to 0..kMaxPlatoonCount so that no product of
// two of them can overflow.
inline constexpr std::int32_t kMaxPlatoonCount = 9999;

class PlatoonTypeBase {
public:
    explicit PlatoonTypeBase(std::int32_t wideId = 0)
        : m_wideId(wideId)
    {
    }
    virtual ~PlatoonTypeBase() = default;
    PlatoonTypeBase(const PlatoonTypeBase&) = default;
    PlatoonTypeBase& operator=(const PlatoonTypeBase&) = default;
    PlatoonTypeBase(PlatoonTypeBase&&) = default;
    PlatoonTypeBase& operator=(PlatoonTypeBase&&) = default;

    // The full rating of a unit of this type that has no organisation node.
    virtual int GetDefaultRating() const { return 6; }

    std::int32_t m_wideId = 0; // set: the nation digits sit two places higher
    std::uint32_t m_id = 0; // nation (id / 1000) % 100, category (id / 100) % 10
    String m_name;
    std::int32_t m_firstMonth = 6;
    std::int32_t m_firstYear = 48;
    std::int32_t m_lastMonth = 12;
    std::int32_t m_lastYear = 73;
};

class PlatoonType : public PlatoonTypeBase {
public:
    PlatoonType() = default;

    // (id / 1000) % 100, or (id / 100000) % 100 with m_wideId.
    int GetNation() const;
    int GetSide() const;
    int GetCategory() const { return static_cast<int>((m_id / 100) % 10); }
    bool IsArtillery() const { return GetCategory() == kCategoryArtillery; }
    bool IsLeader() const { return GetCategory() == kCategoryLeader; }
    bool IsCategoryFive() const { return GetCategory() == kCategoryOwnPicture; }

    bool IsVehicle() const { return m_movementAllowance != 0 && (m_moveFlags & kMoveFoot) == 0; }
    bool IsFootMovement() const { return (m_moveFlags & kMoveDoubleTime) != 0; }
    bool IsCarrier() const { return (m_carryFlags & kCarryCarrier) != 0; }
    bool NeedsPassengerToMove() const { return (m_carryFlags & kCarryNeedsPassenger) != 0; }
    bool CanBeCarried() const { return (m_carryFlags & kCarryCarriable) != 0; }
    bool CanCarryPassengers() const;

    // The numbered fields keep the names of their places in the platoon
    // file; these give the ones the rules read their meaning.
    // Assault factor (0: cannot assault; a non-leader needs one for a Banzai
    // attack) and defence factor against fire (an aircraft's against
    // anti-aircraft fire).
    std::int32_t AssaultFactor() const { return m_value12; }
    std::int32_t DefenceFactor() const { return m_value13; }
    // Armour by the side a fire comes from, when armour facing counts.
    std::int32_t FrontDefence() const { return m_value40; }
    std::int32_t FlankDefence() const { return m_value41; }
    std::int32_t RearDefence() const { return m_value42; }
    // What the map shows of the type: its military map symbol (platoon-file
    // column 15) and its picture icon within its nation's icons (column 16).
    std::int32_t SymbolIndex() const { return m_value28; }
    std::int32_t IconIndex() const { return m_value33; }
    // How easily the enemy spots a unit of the type (platoon-file column 12):
    // added to the unit's strength in each spotting draw.
    std::int32_t VisibilityValue() const { return m_value25; }

    // Fills the record from one descrambled platoon line. False when the line
    // has no readable id (the record is then unusable); a later field that
    // does not parse leaves it and every field after it at its default.
    bool ReadRecord(std::string_view line);
    // Splits m_name at its first comma into m_name and m_shortName, then
    // m_shortName likewise into m_shortName and m_thirdName. A part without a
    // comma is copied to the next one.
    void SplitNameAtComma();

    // Position in the list that holds the type (set when it is appended); -1
    // for a type no list holds.
    int m_index = -1;
    String m_shortName;
    String m_thirdName;
    std::int32_t m_fullStrength = 0;
    // Observer, not owner: the weapon record with this type's id in the
    // weapon table, bound after every load; null when none.
    const WeaponRecord* m_weapon = nullptr;
    std::int32_t m_value12 = 0; // AssaultFactor
    std::int32_t m_value13 = 0; // DefenceFactor
    std::int32_t m_movementAllowance = 0; // 0: cannot move by itself
    std::int32_t m_value15 = 0;
    // Observers: this type's row in each movement-cost table, bound after
    // every load; null for a table without one.
    std::array<const MovementCostRecord*, kMovementRowCount> m_movementRows {};
    std::int32_t m_fireApCost = 100;
    std::int32_t m_loadApCost = 100;
    std::int32_t m_unloadApCost = 100;
    std::int32_t m_stackRank = 0;
    char m_classLetter = '1';
    std::int32_t m_value25 = 0; // VisibilityValue
    std::int32_t m_value26 = 0;
    std::int32_t m_value27 = 0;
    std::int32_t m_value28 = 0; // SymbolIndex
    std::int32_t m_value29 = 0;
    std::int32_t m_value30 = 0;
    String m_pictureName;
    std::int32_t m_pictureIndex = 0; // equal for all types with the same picture name
    std::int32_t m_value33 = 0; // IconIndex
    std::int32_t m_unitValue = 0;
    std::uint32_t m_moveFlags = 0;
    std::uint32_t m_carryFlags = 0;
    std::uint32_t m_targetFlags = 0;
    std::uint32_t m_extraFlags = 0;
    std::int32_t m_value39 = 0;
    std::int32_t m_value40 = 0; // FrontDefence
    std::int32_t m_value41 = 0; // FlankDefence
    std::int32_t m_value42 = 0; // RearDefence
};

// Whether type a rather than b sets a stack's movement profile: b null gives
// true, a null false; then hard targets, vehicles and m_moveFlags 0x10 rank
// in that order (within a class the larger m_stackRank wins, a tie gives
// false); outside every class the smaller movement allowance wins.
bool GovernsStackMovement(const PlatoonType* a, const PlatoonType* b);

// The game object's list of all platoon types, in file order. It owns them:
// each is allocated once and keeps its address while it is listed, since
// placed units and the aircraft pool point at it. Each type knows its own
// position (m_index), so positions need no search; ids are hashed. A type's
// id must not change while it is listed.
class PlatoonTypeList {
public:
    // Names the data layer reads.
    static constexpr std::string_view kDefaultFileName = "platoon.obx";
    static constexpr std::string_view kFilePattern = "platoon%02d.obx";
    // The numbered files are tried for 0..kLastFileNumber.
    static constexpr int kLastFileNumber = 28;

    // Result of reading one file.
    struct FileResult {
        bool opened = false;
        String error; // empty on success
    };

    PlatoonTypeList() = default;
    PlatoonTypeList(const PlatoonTypeList&) = delete;
    PlatoonTypeList& operator=(const PlatoonTypeList&) = delete;
    PlatoonTypeList(PlatoonTypeList&&) noexcept = default;
    PlatoonTypeList& operator=(PlatoonTypeList&&) noexcept = default;

    // The first type with that id, or null.
    const PlatoonType* FindById(std::uint32_t id) const;
    PlatoonType* FindById(std::uint32_t id);
    // The type at a 0-based position; -1 gives the last; null past the end.
    const PlatoonType* GetAt(int index) const;
    PlatoonType* GetAt(int index);
    // Whether the type is one of this list's own.
    bool Contains(const PlatoonType* type) const { return type && type->m_index >= 0 && GetAt(type->m_index) == type; }
    // 0-based position of the type; 0 when it is not in the list.
    int IndexOf(const PlatoonType* type) const { return Contains(type) ? type->m_index : 0; }
    int Count() const { return static_cast<int>(m_types.Count()); }
    bool IsEmpty() const { return m_types.IsEmpty(); }
    // Deletes every type.
    void Clear();

    // Gives the type its picture index and appends it; returns the listed type.
    PlatoonType* Append(PlatoonType type);
    // Sets the type's picture index: that of a listed type with the same
    // picture name, else one more than the largest index listed (0 first).
    void AssignPictureIndex(PlatoonType& type) const;

    // Reads the platoon files of the folder and appends their types: the
    // numbered files (pattern with 00..28 for its "%02d"), or, when none of
    // them opens, the default file. Empty on success (no file at all is
    // success), else the error text of the first failing file; types read
    // before the failure stay. filesOpened, when given, gets the number of
    // files that opened.
    String LoadAll(const std::filesystem::path& folder, std::string_view defaultName = kDefaultFileName,
        std::string_view pattern = kFilePattern, int* filesOpened = nullptr);
    // Reads one platoon file of the folder (case-insensitive name match).
    FileResult ReadFile(const std::filesystem::path& folder, std::string_view fileName);
    // Reads platoon lines from a stream; fileName only names it in the error:
    // "File %s: line %d: error reading data".
    String Read(std::istream& in, std::string_view fileName);

    // Range-for over the types in list order, as pointers (const through a
    // const list).
    auto begin() { return m_types.begin(); }
    auto end() { return m_types.end(); }
    auto begin() const { return m_types.begin(); }
    auto end() const { return m_types.end(); }

private:
    // Takes the type over at the end of the list.
    PlatoonType* Store(std::unique_ptr<PlatoonType> type);

    OwnedList<PlatoonType> m_types;
    // Id to position of the first type with that id.
    std::unordered_map<std::uint32_t, int> m_firstById;
};

// The pattern with its first "%02d" (or "%d") replaced by the number written
// with at least two digits.
std::string FormatPlatoonFileName(std::string_view pattern, int number);
