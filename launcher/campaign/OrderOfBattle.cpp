#include "launcher/campaign/OrderOfBattle.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <map>
#include <span>
#include <utility>

#include "launcher/campaign/CampaignDates.h"
#include "model/DataFile.h"
#include "model/TextScan.h"

namespace {

// Deepest nesting of formations a load follows (deeper is a cycle in the
// data), the most units one load makes and the most lines it reads.
constexpr int kMaxFormationDepth = 16;
constexpr int kMaxLoadedUnits = 250000;
constexpr int kMaxLoadedLines = 500000;
// Longest id an order-of-battle line may give.
constexpr std::size_t kMaxIdLength = 11;
constexpr std::size_t kMaxNameLength = 255;

bool IsTokenBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsTemplateChar(char c) { return c == '$' || c == '@' || c == '#' || c == '&'; }

// The tokens of a prepared order-of-battle line.
class OobTokens {
public:
    explicit OobTokens(std::string_view text)
        : m_text(text)
    {
    }

    // The next token: a "(...)" group, a "+", or a run up to a blank, '(' or
    // a template character. Empty at the end and at a template character,
    // which it does not pass.
    std::string_view Next()
    {
        while (m_position < m_text.size() && IsTokenBlank(m_text[m_position]))
            ++m_position;
        if (m_position >= m_text.size())
            return {};
        const std::size_t start = m_position;
        const char first = m_text[start];
        if (first == '(') {
            const std::size_t close = m_text.find(')', start);
            m_position = close == std::string_view::npos ? m_text.size() : close + 1;
        } else if (first == '+') {
            ++m_position;
        } else if (!IsTemplateChar(first)) {
            while (m_position < m_text.size() && !IsTokenBlank(m_text[m_position]) && m_text[m_position] != '('
                && !IsTemplateChar(m_text[m_position]))
                ++m_position;
        }
        return m_text.substr(start, m_position - start);
    }
    std::string_view Peek()
    {
        const std::size_t saved = m_position;
        const std::string_view token = Next();
        m_position = saved;
        return token;
    }
    // The character after the last token (0 at the end).
    char After() const { return m_position < m_text.size() ? m_text[m_position] : '\0'; }
    std::string_view Rest() const { return m_text.substr(m_position); }

private:
    std::string_view m_text;
    std::size_t m_position = 0;
};

bool TokenToInt(std::string_view token, std::int32_t& value)
{
    return !token.empty() && TakeInt(token, value) && token.empty();
}

bool MonthKey(std::int32_t year, std::int32_t month, std::int32_t& key)
{
    const std::int64_t wide = static_cast<std::int64_t>(year) * 10000 + static_cast<std::int64_t>(month) * 100;
    if (wide < std::numeric_limits<std::int32_t>::min() || wide > std::numeric_limits<std::int32_t>::max())
        return false;
    key = static_cast<std::int32_t>(wide);
    return true;
}

// The id as units hold it: a platoon's as "P%05d"; empty when unusable.
std::string HeldId(std::string_view token)
{
    if (token.empty() || token.size() > kMaxIdLength || token.front() == '(')
        return {};
    if (const std::optional<std::uint32_t> number = PlatoonTypeNumber(token)) {
        char text[16];
        std::snprintf(text, sizeof text, "P%05u", static_cast<unsigned>(*number));
        return text;
    }
    return std::string(token);
}

// Platoons stand below every level with a stored roll.
int ChoiceLevel(std::string_view id) { return !id.empty() && id.front() == 'P' ? 0 : GetUnitIdLevel(id); }

std::string OrdinalSuffix(std::int64_t number)
{
    const std::int64_t n = number < 0 ? -number : number;
    if ((n / 10) % 10 == 1)
        return "th";
    switch (n % 10) {
    case 1:
        return "st";
    case 2:
        return "nd";
    case 3:
        return "rd";
    default:
        return "th";
    }
}

std::string RomanNumeral(std::int32_t number)
{
    static constexpr std::pair<int, const char*> kDigits[]
        = { { 1000, "M" }, { 900, "CM" }, { 500, "D" }, { 400, "CD" }, { 100, "C" }, { 90, "XC" }, { 50, "L" },
              { 40, "XL" }, { 10, "X" }, { 9, "IX" }, { 5, "V" }, { 4, "IV" }, { 1, "I" } };
    std::string text;
    for (const auto& [value, letters] : kDigits) {
        while (number >= value && text.size() < kMaxNameLength) {
            text += letters;
            number -= value;
        }
    }
    return text;
}

// The name list of an id's level and nation.
std::string NameListFile(std::string_view id)
{
    const char letter = id.empty() ? 'C' : id.front();
    const char* stem = "company";
    switch (letter) {
    case 'B':
        stem = "battalion";
        break;
    case 'R':
        stem = "regiment";
        break;
    case 'G':
        stem = "brigade";
        break;
    case 'D':
        stem = "division";
        break;
    case 'K':
        stem = "corps";
        break;
    case 'A':
        stem = "army";
        break;
    default:
        break;
    }
    return std::string(stem) + std::to_string(GetUnitIdNation(id)) + ".txt";
}

// "&": line k of the list replaces the choice when a roll 1..100 is at most
// 100 / k. Nothing when the list cannot be read.
std::optional<std::string> DrawListedName(CampaignContext& context, std::string_view id)
{
    std::string text;
    if (ReadDataFileText(context.PathOf(NameListFile(id)).string(), text) != DataFileRead::kRead)
        return std::nullopt;
    LineReader reader(std::span<char>(text.data(), text.size()));
    std::string_view line;
    std::string choice;
    std::int64_t k = 0;
    while (reader.Next(line)) {
        ++k;
        const std::int64_t roll = context.random->RollRandom(100);
        if (roll * k <= 100)
            choice = std::string(line.substr(0, kMaxNameLength));
    }
    return choice;
}

// A "(A-B)" range right after a template character; the text is advanced
// past it. False when it is malformed.
bool ReadRange(std::string_view& text, std::optional<std::pair<std::int32_t, std::int32_t>>& range)
{
    range.reset();
    if (text.empty() || text.front() != '(')
        return true;
    const std::size_t close = text.find(')');
    if (close == std::string_view::npos)
        return false;
    std::string_view inside = text.substr(1, close - 1);
    std::int32_t a = 0;
    std::int32_t b = 0;
    if (!TakeInt(inside, a) || inside.empty() || inside.front() != '-')
        return false;
    inside.remove_prefix(1);
    if (!TakeInt(inside, b) || !IsBlankLine(inside))
        return false;
    range = std::make_pair(a, b);
    text.remove_prefix(close + 1);
    return true;
}

// The rest of a name with its template expanded; nothing when the template
// is malformed.
std::optional<std::string> ExpandTemplate(
    CampaignContext& context, std::string_view rest, std::string_view id, const OobLineOptions& options)
{
    if (rest.empty() || !IsTemplateChar(rest.front()))
        return std::string(rest);
    const char kind = rest.front();
    std::string_view after = rest.substr(1);
    const bool listing = options.mode == OobLineMode::kListing;
    if (kind == '$' || kind == '@') {
        std::optional<std::pair<std::int32_t, std::int32_t>> range;
        if (!ReadRange(after, range))
            return std::nullopt;
        if (listing) {
            std::string text(after);
            if (!text.empty() && text.front() == '.')
                text.front() = ' ';
            return std::string(TrimLeft(text));
        }
        std::int64_t number = 0;
        if (range) {
            const std::int64_t span = static_cast<std::int64_t>(range->second) - range->first;
            const auto sides = static_cast<std::int16_t>(std::clamp<std::int64_t>(span, -1, 32767));
            number = range->first + static_cast<std::int64_t>(context.random->RollRandom(sides));
        } else {
            number = context.random->RollRandom(100);
        }
        if (number == 0)
            number = 1;
        if (number < std::numeric_limits<std::int32_t>::min() || number > std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
        context.g_templateNumber = static_cast<std::int32_t>(number);
        if (kind == '@')
            return RomanNumeral(context.g_templateNumber);
        std::string text = std::to_string(number);
        if (after.empty() || after.front() != '.')
            text += OrdinalSuffix(number);
        text += after;
        return text;
    }
    if (kind == '#') {
        if (listing)
            return std::string(options.listingNumberText) + std::string(after);
        std::string text = std::to_string(context.g_templateNumber);
        if (after.empty() || after.front() != '.')
            text += OrdinalSuffix(context.g_templateNumber);
        text += after;
        return text;
    }
    // '&'
    if (listing)
        return std::string(TrimLeft(after));
    std::optional<std::string> listed = DrawListedName(context, id);
    if (!listed)
        return std::string(rest);
    return *listed + std::string(after);
}

struct Candidate {
    std::int32_t percent = 0;
    std::string id;
};

// Picks the winning candidate of a run of choice groups; -1 when none wins.
int ChooseCandidate(CampaignContext& context, const LevelNumberBase& base, const std::vector<Candidate>& candidates,
    const OobLineOptions& options, const std::string& variedId)
{
    std::int64_t roll = context.random->RollRandom(100);
    if (const auto stored = base.GetLevelNumberBase(ChoiceLevel(candidates.front().id)))
        roll = *stored;
    std::size_t firstTaken = 0;
    if (!variedId.empty()) {
        for (std::size_t i = 0; i < candidates.size(); ++i)
            if (candidates[i].id == variedId) {
                firstTaken = i;
                break;
            }
    }
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (options.mode == OobLineMode::kRoot) {
            if (const auto stored = base.GetLevelNumberBase(ChoiceLevel(candidates[i].id)))
                roll = *stored;
        }
        if (i >= firstTaken && candidates[i].percent > roll)
            return static_cast<int>(i);
        roll -= candidates[i].percent;
    }
    return -1;
}

bool HasVariantMark(std::string_view prepared)
{
    OobTokens tokens(prepared);
    for (int n = 0; n < 4; ++n)
        if (tokens.Next().empty())
            return false;
    return tokens.Peek() == "+";
}

// Passes over the variant lines that follow a line carrying "+", from index i.
void SkipVariantLines(const std::vector<std::string_view>& lines, std::string_view line, std::size_t& i)
{
    bool more = HasVariantMark(PrepareOobLine(line));
    while (more && i < lines.size()) {
        const std::string variant = PrepareOobLine(lines[i++]);
        if (variant.empty())
            return;
        more = HasVariantMark(variant);
    }
}

std::optional<std::filesystem::path> Locate(const CampaignContext& context, const std::string& name)
{
    return LocateDataFile(context.PathOf(name).string());
}

int LevelOfLetter(char letter)
{
    switch (letter) {
    case 'C':
        return 0;
    case 'B':
        return 1;
    case 'R':
        return 2;
    case 'G':
        return 3;
    case 'D':
        return 4;
    case 'K':
        return 5;
    default:
        return 6;
    }
}

std::optional<std::filesystem::path> FindPlatoonFile(const CampaignContext& context, int nation)
{
    if (nation >= 0) {
        char name[32];
        std::snprintf(name, sizeof name, "platoon%02d.obx", nation);
        if (auto path = Locate(context, name))
            return path;
    }
    return Locate(context, "platoon.obx");
}

std::optional<PlatoonLineValues> LookUpPlatoon(CampaignContext& context, std::string_view id)
{
    const std::optional<std::uint32_t> number = PlatoonTypeNumber(id);
    if (!number)
        return std::nullopt;
    const std::optional<std::filesystem::path> path = FindPlatoonFile(context, GetUnitIdNation(HeldId(id)));
    if (!path)
        return std::nullopt;
    if (!context.cacheFiles)
        return ScanPlatoonFile(*path, *number);
    const std::shared_ptr<const PlatoonFileTable> table = context.fileCache.Platoons(*path);
    if (!table)
        return std::nullopt;
    const auto found = table->byType.find(*number);
    if (found == table->byType.end())
        return std::nullopt;
    return found->second;
}

// One load of a formation tree.
struct LoadRun {
    CampaignContext& context;
    const LevelNumberBase& base;
    std::int32_t date;
    int units = 0;
    int lines = 0;
    std::string refusal; // the message that refuses the load
    // With the cache on: the files this load has already found, by level
    // letter and nation, and the platoon tables by nation, so that a file is
    // looked up once a load.
    std::map<std::pair<char, int>, std::shared_ptr<const OobFileText>> files;
    std::map<int, std::shared_ptr<const PlatoonFileTable>> platoonTables;
};

std::shared_ptr<const OobFileText> FileOfUnit(LoadRun& run, std::string_view id)
{
    const auto find = [&] {
        const std::optional<std::filesystem::path> path = OpenOobFile(run.context, id);
        return path ? run.context.fileCache.Oob(*path, run.context.cacheFiles) : nullptr;
    };
    if (!run.context.cacheFiles || id.empty())
        return find();
    const std::pair<char, int> key { id.front(), GetUnitIdNation(id) };
    const auto held = run.files.find(key);
    if (held != run.files.end())
        return held->second;
    return run.files[key] = find();
}

void TakePlatoonValues(UnitRecord& unit, const PlatoonLineValues& values)
{
    unit.m_strength = values.strength;
    unit.m_fullStrength = values.strength;
    unit.m_size = values.size;
    unit.m_oobValues = values.values;
    unit.m_leader = values.leader;
}

void RefreshPlatoon(LoadRun& run, UnitRecord& unit)
{
    const std::optional<std::uint32_t> number = PlatoonTypeNumber(unit.m_id);
    if (!run.context.cacheFiles || !number) {
        RefreshPlatoonFromFile(run.context, unit);
        return;
    }
    const int nation = GetUnitIdNation(unit.m_id);
    auto held = run.platoonTables.find(nation);
    if (held == run.platoonTables.end()) {
        const std::optional<std::filesystem::path> path = FindPlatoonFile(run.context, nation);
        held = run.platoonTables.emplace(nation, path ? run.context.fileCache.Platoons(*path) : nullptr).first;
    }
    if (!held->second)
        return;
    const auto found = held->second->byType.find(*number);
    if (found != held->second->byType.end())
        TakePlatoonValues(unit, found->second);
}

// Reads the block line at index i with its variant lines and returns the
// version valid at the date, its later variants as its successors.
std::unique_ptr<UnitRecord> ReadBlockEntry(
    LoadRun& run, const std::vector<std::string_view>& lines, std::size_t& i, const OobLineOptions& lineOptions = {})
{
    std::vector<std::unique_ptr<UnitRecord>> chain;
    OobLine line = ParseOobLine(run.context, run.base, PrepareOobLine(lines[i++]), lineOptions);
    std::string previousId = line.id;
    bool more = line.hasVariant;
    if (line.unit)
        chain.push_back(std::move(line.unit));
    while (more && i < lines.size()) {
        const std::string text = PrepareOobLine(lines[i++]);
        if (text.empty())
            break;
        OobLineOptions options = lineOptions;
        options.variedId = previousId;
        OobLine variant = ParseOobLine(run.context, run.base, text, options);
        more = variant.hasVariant;
        if (!variant.id.empty())
            previousId = variant.id;
        if (variant.unit)
            chain.push_back(std::move(variant.unit));
    }
    std::size_t chosen = chain.size();
    for (std::size_t k = 0; k < chain.size(); ++k) {
        chain[k]->m_strength = 5;
        if (chosen == chain.size() && IsDateInWindow(run.date, chain[k]->m_availableFrom, chain[k]->m_availableTo))
            chosen = k;
    }
    if (chosen == chain.size())
        return nullptr;
    for (std::size_t k = chain.size() - 1; k > chosen; --k)
        chain[k - 1]->m_nextSuccessor = std::move(chain[k]);
    return std::move(chain[chosen]);
}

bool LoadChildren(LoadRun& run, UnitRecord& unit, int depth)
{
    if (depth > kMaxFormationDepth) {
        run.refusal = "Formation " + unit.m_id + " is nested more than 16 deep";
        return false;
    }
    unit.m_size = 0;
    const std::shared_ptr<const OobFileText> file = FileOfUnit(run, unit.m_id);
    if (!file)
        return true;
    const std::vector<std::string_view>& lines = file->Lines();
    const int start = file->FindFirstLineContaining(unit.m_id);
    if (start < 0)
        return true;
    std::size_t i = static_cast<std::size_t>(start) + 1;
    SkipVariantLines(lines, lines[static_cast<std::size_t>(start)], i);

    std::vector<std::unique_ptr<UnitRecord>> children;
    std::int64_t total = 0;
    while (i < lines.size() && !PrepareOobLine(lines[i]).empty()) {
        const std::size_t before = i;
        std::unique_ptr<UnitRecord> child = ReadBlockEntry(run, lines, i);
        run.lines += static_cast<int>(i - before);
        if (run.lines > kMaxLoadedLines) {
            run.refusal = "Formation " + unit.m_id + " holds too many units";
            return false;
        }
        if (!child)
            continue;
        if (++run.units > kMaxLoadedUnits) {
            run.refusal = "Formation " + unit.m_id + " holds too many units";
            return false;
        }
        child->m_parent = &unit;
        child->m_morale = std::max(child->m_morale, unit.m_morale);
        if (!child->m_id.empty() && child->m_id.front() == 'P') {
            RefreshPlatoon(run, *child);
        } else if (!LoadChildren(run, *child, depth + 1)) {
            return false;
        }
        total += child->m_size;
        children.push_back(std::move(child));
    }
    for (std::unique_ptr<UnitRecord>& child : children)
        AttachChildUnit(std::move(child), unit);
    unit.m_size = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        total, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    return true;
}

} // namespace

std::string CleanListedName(std::string name)
{
    if (!name.empty()) {
        if (name.front() == '$' || name.front() == '@')
            name.replace(0, 1, "  ");
        else if (name.front() == '#' || name.front() == ')')
            name.front() = ' ';
    }
    if (name.size() > 1 && name[1] == '.')
        name[1] = ' ';
    return std::string(TrimLeft(name));
}

std::string PrepareOobLine(std::string_view line)
{
    const std::size_t end = line.find_first_of("\r\n");
    if (end != std::string_view::npos)
        line = line.substr(0, end);
    std::string text;
    text.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '[') {
            const std::size_t close = line.find(']', i);
            if (close == std::string_view::npos)
                break;
            i = close;
            continue;
        }
        text.push_back(line[i]);
    }
    const std::size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first);
}

OobLine ParseOobLine(
    CampaignContext& context, const LevelNumberBase& base, std::string_view line, const OobLineOptions& options)
{
    OobLine result;
    if (line.size() > kMaxCampaignLineLength)
        return result;
    OobTokens tokens(line);
    std::int32_t numbers[4] = {};
    for (std::int32_t& number : numbers)
        if (!TokenToInt(tokens.Next(), number))
            return result;
    std::int32_t from = 0;
    std::int32_t to = 0;
    if (!MonthKey(numbers[0], numbers[1], from) || !MonthKey(numbers[2], numbers[3], to))
        return result;
    if (tokens.Peek() == "+") {
        tokens.Next();
        result.hasVariant = true;
    }

    std::string id;
    std::string_view token = tokens.Next();
    if (!token.empty() && token.front() == '(') {
        std::vector<Candidate> candidates;
        while (!token.empty() && token.front() == '(') {
            Candidate candidate;
            std::string_view percent = token.substr(1);
            if (!percent.empty() && percent.back() == ')')
                percent.remove_suffix(1);
            if (!TakeInt(percent, candidate.percent) || !IsBlankLine(percent))
                return result;
            candidate.id = HeldId(tokens.Next());
            if (candidate.id.empty())
                return result;
            candidates.push_back(std::move(candidate));
            if (tokens.Peek().empty() || tokens.Peek().front() != '(')
                break;
            token = tokens.Next();
        }
        const int winner = ChooseCandidate(context, base, candidates, options, HeldId(options.variedId));
        result.parsed = true;
        if (winner < 0)
            return result;
        id = candidates[static_cast<std::size_t>(winner)].id;
    } else {
        id = HeldId(token);
        if (id.empty())
            return result;
        result.parsed = true;
    }
    result.id = id;

    auto unit = std::make_unique<UnitRecord>();
    unit->m_id = id;
    unit->m_availableFrom = from;
    unit->m_availableTo = to;
    unit->m_morale = 6;
    // A lone digit before the name is the morale.
    std::string_view nameToken = tokens.Next();
    if (nameToken.size() == 1 && IsDigitChar(nameToken.front())
        && (tokens.After() == '\0' || IsTokenBlank(tokens.After()))) {
        unit->m_morale = nameToken.front() - '0';
        nameToken = tokens.Next();
    }

    const std::string_view rest = TrimLeft(tokens.Rest());
    const std::optional<std::string> expanded = ExpandTemplate(context, rest, id, options);
    if (!expanded)
        return result;
    std::string name(nameToken);
    if (!name.empty() && !expanded->empty())
        name += ' ';
    name += *expanded;
    name = std::string(TrimRight(name));
    if (name.size() > kMaxNameLength)
        name.resize(kMaxNameLength);
    unit->m_name = std::move(name);

    if (IsWithheldUnitId(id))
        return result;
    if (options.mode != OobLineMode::kListing)
        unit->m_number = context.TakeUnitNumber();
    result.unit = std::move(unit);
    return result;
}

std::optional<std::filesystem::path> FindOobFile(const CampaignContext& context, int level, int nation)
{
    static constexpr const char* kStems[] = { "Company", "Battalion", "Regiment", "Brigade", "Division", "Campaign" };
    static constexpr const char* kPlain[]
        = { "Company.OOB", "Battalion.OOB", "Regiment.OOB", "Brigade.OOB", "Division.OOB", "Campaign.oob" };
    const bool known = level >= 0 && level <= 5;
    const char* stem = known ? kStems[level] : "Army";
    if (nation >= 0 && nation <= 99) {
        char name[32];
        std::snprintf(name, sizeof name, "%s%02d.OOB", stem, nation);
        if (auto path = Locate(context, name))
            return path;
    }
    return Locate(context, known ? kPlain[level] : "Army.OOB");
}

std::optional<std::filesystem::path> OpenOobFile(const CampaignContext& context, std::string_view id)
{
    if (id.empty())
        return std::nullopt;
    if (id.front() == 'P')
        return FindPlatoonFile(context, GetUnitIdNation(HeldId(id)));
    return FindOobFile(context, LevelOfLetter(id.front()), GetUnitIdNation(id));
}

std::unique_ptr<UnitRecord> LoadFormationFromOob(
    CampaignContext& context, const LevelNumberBase& base, std::int32_t date, int nation, std::string_view id)
{
    context.random->SeedRandom();
    const std::optional<std::filesystem::path> path
        = FindOobFile(context, id.empty() ? 6 : LevelOfLetter(id.front()), nation);
    const std::shared_ptr<const OobFileText> file = path ? context.fileCache.Oob(*path, context.cacheFiles) : nullptr;
    const std::string wanted = HeldId(id);
    std::unique_ptr<UnitRecord> root;
    if (file && !wanted.empty()) {
        OobLineOptions options;
        options.mode = OobLineMode::kRoot;
        for (std::string_view raw : file->Lines()) {
            const std::string line = PrepareOobLine(raw);
            if (line.empty())
                continue;
            OobLine parsed = ParseOobLine(context, base, line, options);
            if (parsed.unit && parsed.unit->m_id == wanted) {
                root = std::move(parsed.unit);
                break;
            }
        }
    }
    if (!root) {
        context.ShowMessage("No Units on File", "");
        return nullptr;
    }
    root->m_strength = 5;
    LoadRun run { context, base, date, 0, 0, {}, {}, {} };
    if (!LoadChildren(run, *root, 1)) {
        context.ShowMessage(run.refusal, "Load Error");
        return nullptr;
    }
    return root;
}

std::int32_t LoadFormationChildren(
    CampaignContext& context, const LevelNumberBase& base, UnitRecord& unit, std::int32_t date)
{
    LoadRun run { context, base, date, 0, 0, {}, {}, {} };
    // Loaded below a copy first, so that a refused load leaves the node as it was.
    std::unique_ptr<UnitRecord> scratch = unit.CopyValues();
    if (!LoadChildren(run, *scratch, 1)) {
        context.ShowMessage(run.refusal, "Load Error");
        return -1;
    }
    while (scratch->m_firstChild) {
        std::unique_ptr<UnitRecord> child = std::move(scratch->m_firstChild);
        scratch->m_firstChild = std::move(child->m_nextSibling);
        AttachChildUnit(std::move(child), unit);
    }
    unit.m_size = scratch->m_size;
    return unit.m_size;
}

bool RefreshPlatoonFromFile(CampaignContext& context, UnitRecord& unit)
{
    const std::optional<PlatoonLineValues> values = LookUpPlatoon(context, unit.m_id);
    if (!values)
        return false;
    TakePlatoonValues(unit, *values);
    return true;
}

bool FindPlatoonLine(CampaignContext& context, UnitRecord& record, std::string_view id)
{
    const std::optional<PlatoonLineValues> values = LookUpPlatoon(context, id);
    if (!values)
        return false;
    record.m_id = values->id;
    record.m_strength = values->strength;
    record.m_fullStrength = values->strength;
    record.m_size = values->size;
    record.m_oobValues = values->values;
    record.m_availableFrom = values->availableFrom;
    record.m_availableTo = values->availableTo;
    record.m_leader = values->leader;
    record.m_number = context.TakeUnitNumber();
    record.m_firstChild.reset();
    record.m_lastChild = nullptr;
    record.m_nextSibling.reset();
    return true;
}

std::vector<FormationListRow> ListCampaignFormations(
    CampaignContext& context, const LevelNumberBase& base, int nation, int /*level*/, std::int32_t date, int typeDigit)
{
    std::vector<FormationListRow> rows;
    const std::optional<std::filesystem::path> path = FindOobFile(context, 5, nation);
    const std::shared_ptr<const OobFileText> file = path ? context.fileCache.Oob(*path, context.cacheFiles) : nullptr;
    if (!file)
        return rows;
    OobLineOptions options;
    options.mode = OobLineMode::kListing;
    for (std::string_view raw : file->Lines()) {
        const std::string line = PrepareOobLine(raw);
        if (line.empty())
            continue;
        const OobLine parsed = ParseOobLine(context, base, line, options);
        const UnitRecord* unit = parsed.unit.get();
        if (!unit || unit->m_id.front() != 'K' || !IsDateInWindow(date, unit->m_availableFrom, unit->m_availableTo)
            || GetUnitIdNation(unit->m_id) != nation || GetUnitIdTypeDigit(unit->m_id) != typeDigit)
            continue;
        FormationListRow row;
        row.name = CleanListedName(unit->m_name).substr(0, 99);
        row.id = unit->m_id.substr(0, 23);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::unique_ptr<UnitRecord>> ListFormationSubunits(CampaignContext& context, const LevelNumberBase& base,
    std::string_view id, std::int32_t date, std::string_view listingNumberText)
{
    std::vector<std::unique_ptr<UnitRecord>> subunits;
    const std::optional<std::filesystem::path> path = OpenOobFile(context, id);
    const std::shared_ptr<const OobFileText> file = path ? context.fileCache.Oob(*path, context.cacheFiles) : nullptr;
    if (!file || id.empty())
        return subunits;
    const std::vector<std::string_view>& lines = file->Lines();
    const int start = file->FindFirstLineContaining(id);
    if (start < 0)
        return subunits;
    std::size_t i = static_cast<std::size_t>(start) + 1;
    SkipVariantLines(lines, lines[static_cast<std::size_t>(start)], i);
    LoadRun run { context, base, date, 0, 0, {}, {}, {} };
    OobLineOptions options;
    options.mode = OobLineMode::kListing;
    options.listingNumberText = listingNumberText;
    while (i < lines.size() && !PrepareOobLine(lines[i]).empty()) {
        if (std::unique_ptr<UnitRecord> unit = ReadBlockEntry(run, lines, i, options))
            subunits.push_back(std::move(unit));
    }
    return subunits;
}
