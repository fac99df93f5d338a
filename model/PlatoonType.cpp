#include "model/PlatoonType.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <unordered_map>
#include <utility>

#include "model/DataFile.h"
#include "model/Geometry.h"
#include "model/Scramble.h"
#include "model/TextScan.h"

namespace {

// Reads the fields after the id; stops at the first one that does not parse,
// which leaves it and every later field at its default.
void ReadFieldsAfterId(PlatoonType& type, TextCursor& cursor)
{
    // Fields are read into locals and stored one by one, so that a failure
    // cannot leave a half-converted value behind.
    std::int32_t n = 0;
    std::uint32_t u = 0;
    auto readInt = [&](std::int32_t& field) {
        if (!cursor.ReadInt(n))
            return false;
        field = n;
        return true;
    };
    auto readFlags = [&](std::uint32_t& field) {
        if (!cursor.ReadUnsigned(u))
            return false;
        field = u;
        return true;
    };

    if (!readInt(type.m_fullStrength) || !readInt(type.m_value12) || !readInt(type.m_value13)
        || !readInt(type.m_fireApCost) || !readInt(type.m_loadApCost) || !readInt(type.m_unloadApCost)
        || !readInt(type.m_movementAllowance) || !readInt(type.m_value15) || !readInt(type.m_stackRank))
        return;
    char letter = 0;
    if (!cursor.ReadChar(letter))
        return;
    type.m_classLetter = letter;
    if (!readInt(type.m_value25) || !readInt(type.m_value26) || !readInt(type.m_value27) || !readInt(type.m_value28)
        || !readInt(type.m_value33) || !readInt(type.m_value29) || !readInt(type.m_value30))
        return;
    std::string_view picture;
    if (!cursor.ReadWord(picture))
        return;
    type.m_pictureName = String(std::string(picture));
    if (!readInt(type.m_unitValue) || !readFlags(type.m_moveFlags) || !readFlags(type.m_carryFlags)
        || !readFlags(type.m_targetFlags) || !readFlags(type.m_extraFlags) || !readInt(type.m_value39)
        || !readInt(type.m_firstYear) || !readInt(type.m_firstMonth) || !readInt(type.m_lastYear)
        || !readInt(type.m_lastMonth) || !readInt(type.m_value40) || !readInt(type.m_value41)
        || !readInt(type.m_value42))
        return;
    cursor.SkipOne();
    type.m_name = String(std::string(cursor.Rest()));
}

void ClampCount(std::int32_t& value) { value = std::clamp(value, 0, kMaxPlatoonCount); }

// Cuts text at its first comma: text keeps the part before it (trailing
// blanks removed) and the result is the part after it (leading blanks
// removed); without a comma the result is a copy of text.
String SplitAtComma(String& text)
{
    const std::string_view whole = text.view();
    const std::size_t comma = whole.find(',');
    if (comma == std::string_view::npos)
        return text;
    String after(std::string(TrimLeft(whole.substr(comma + 1))));
    text = String(std::string(TrimRight(whole.substr(0, comma))));
    return after;
}

String ReadErrorText(std::string_view fileName, int lineNumber)
{
    std::ostringstream text;
    text << "File " << fileName << ": line " << lineNumber << ": error reading data";
    return String::StringFromStream(text);
}

} // namespace

int PlatoonType::GetNation() const { return static_cast<int>(m_wideId ? (m_id / 100000) % 100 : (m_id / 1000) % 100); }

int PlatoonType::GetSide() const { return DefaultSideOfNation(GetNation()); }

bool PlatoonType::CanCarryPassengers() const
{
    return IsCarrier() || NeedsPassengerToMove() || (m_carryFlags & kCarryPassengers) != 0
        || (m_extraFlags & kExtraCarriesPassengers) != 0;
}

bool PlatoonType::ReadRecord(std::string_view line)
{
    TextCursor cursor(line);
    // The id begins with a letter, as level letters begin organisation
    // lines. Its digits are read in decimal whatever leading zeros it has
    // ("P00000" is id 0); a blank between letter and digits is tolerated.
    char letter = 0;
    if (!cursor.ReadChar(letter))
        return false;
    if (!cursor.AtDigit())
        cursor.SkipBlanks();
    std::uint32_t id = 0;
    if (!cursor.ReadDigits(id))
        return false;
    m_id = id;

    ReadFieldsAfterId(*this, cursor);

    // Hostile counts are held to a sane range rather than trusted.
    ClampCount(m_fullStrength);
    ClampCount(m_movementAllowance);
    ClampCount(m_fireApCost);
    ClampCount(m_loadApCost);
    ClampCount(m_unloadApCost);
    ClampCount(m_unitValue);

    SplitNameAtComma();
    return true;
}

void PlatoonType::SplitNameAtComma()
{
    m_shortName = SplitAtComma(m_name);
    m_thirdName = SplitAtComma(m_shortName);
}

bool GovernsStackMovement(const PlatoonType* a, const PlatoonType* b)
{
    if (!b)
        return true;
    if (!a)
        return false;
    using ClassTest = bool (*)(const PlatoonType&);
    static constexpr ClassTest kClasses[] = {
        [](const PlatoonType& t) { return (t.m_targetFlags & kTargetHard) != 0; },
        [](const PlatoonType& t) { return t.IsVehicle(); },
        [](const PlatoonType& t) { return (t.m_moveFlags & kMoveStackClass) != 0; },
    };
    for (ClassTest inClass : kClasses) {
        const bool aIn = inClass(*a);
        const bool bIn = inClass(*b);
        if (aIn && bIn)
            return a->m_stackRank > b->m_stackRank;
        if (aIn)
            return true;
        if (bIn)
            return false;
    }
    return a->m_movementAllowance < b->m_movementAllowance;
}

const PlatoonType* PlatoonTypeList::FindById(std::uint32_t id) const
{
    const auto found = m_firstById.find(id);
    return found == m_firstById.end() ? nullptr : m_types.At(static_cast<std::size_t>(found->second));
}

PlatoonType* PlatoonTypeList::FindById(std::uint32_t id)
{
    return const_cast<PlatoonType*>(std::as_const(*this).FindById(id));
}

const PlatoonType* PlatoonTypeList::GetAt(int index) const
{
    if (index == -1)
        return m_types.Back();
    return index < 0 ? nullptr : m_types.At(static_cast<std::size_t>(index));
}

PlatoonType* PlatoonTypeList::GetAt(int index) { return const_cast<PlatoonType*>(std::as_const(*this).GetAt(index)); }

void PlatoonTypeList::Clear()
{
    m_types.Clear();
    m_firstById.clear();
}

PlatoonType* PlatoonTypeList::Append(PlatoonType type)
{
    AssignPictureIndex(type);
    return Store(std::make_unique<PlatoonType>(std::move(type)));
}

PlatoonType* PlatoonTypeList::Store(std::unique_ptr<PlatoonType> type)
{
    type->m_index = Count();
    m_firstById.emplace(type->m_id, type->m_index);
    return m_types.Append(std::move(type));
}

void PlatoonTypeList::AssignPictureIndex(PlatoonType& type) const
{
    std::int32_t largest = -1;
    for (const PlatoonType* listed : *this) {
        if (listed == &type)
            continue;
        if (listed->m_pictureName == type.m_pictureName) {
            type.m_pictureIndex = listed->m_pictureIndex;
            return;
        }
        largest = std::max(largest, listed->m_pictureIndex);
    }
    type.m_pictureIndex = largest + 1;
}

String PlatoonTypeList::LoadAll(
    const std::filesystem::path& folder, std::string_view defaultName, std::string_view pattern, int* filesOpened)
{
    int opened = 0;
    String error;
    for (int n = 0; n <= kLastFileNumber && error.IsEmpty(); ++n) {
        FileResult result = ReadFile(folder, FormatPlatoonFileName(pattern, n));
        if (result.opened)
            ++opened;
        error = std::move(result.error);
    }
    // The default file stands in only when no numbered file exists at all.
    if (opened == 0 && error.IsEmpty()) {
        FileResult result = ReadFile(folder, defaultName);
        if (result.opened)
            ++opened;
        error = std::move(result.error);
    }
    if (filesOpened)
        *filesOpened = opened;
    return error;
}

PlatoonTypeList::FileResult PlatoonTypeList::ReadFile(const std::filesystem::path& folder, std::string_view fileName)
{
    FileResult result;
    const std::filesystem::path path = folder.empty() ? std::filesystem::path(fileName) : folder / fileName;
    std::ifstream in = OpenDataFile(path.string());
    if (!in.is_open())
        return result;
    result.opened = true;
    result.error = Read(in, fileName);
    return result;
}

String PlatoonTypeList::Read(std::istream& in, std::string_view fileName)
{
    // The picture indexes Append would give, kept by name: a search of the
    // whole list per line would make a long file take quadratic time.
    std::unordered_map<std::string, std::int32_t> pictures;
    std::int32_t largest = -1;
    for (const PlatoonType* listed : *this) {
        pictures.emplace(listed->m_pictureName.str(), listed->m_pictureIndex);
        largest = std::max(largest, listed->m_pictureIndex);
    }

    int lineNumber = 0;
    std::string line;
    while (ReadDataLine(in, line)) {
        ++lineNumber;
        // A blank line makes no type (checked before and after descrambling:
        // rotation turns blanks into other characters, tabs it leaves alone).
        if (IsBlankLine(line))
            continue;
        DescrambleLine(line);
        if (IsBlankLine(line))
            continue;
        auto type = std::make_unique<PlatoonType>();
        if (!type->ReadRecord(line))
            return ReadErrorText(fileName, lineNumber);
        const auto [picture, isNew] = pictures.emplace(type->m_pictureName.str(), largest + 1);
        if (isNew)
            largest = picture->second;
        type->m_pictureIndex = picture->second;
        Store(std::move(type));
    }
    // Only the plain end of the file ends reading quietly; an over-long line
    // or a device error is the next line's failure.
    if (in.bad() || !in.eof())
        return ReadErrorText(fileName, lineNumber + 1);
    return String();
}

std::string FormatPlatoonFileName(std::string_view pattern, int number)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d", number);
    std::string name(pattern);
    for (std::string_view placeholder : { std::string_view("%02d"), std::string_view("%d") }) {
        const std::size_t at = name.find(placeholder);
        if (at != std::string::npos)
            return name.replace(at, placeholder.size(), digits);
    }
    return name;
}
