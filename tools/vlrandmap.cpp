// vlrandmap: generates a random map file from the command line.
//
//   vlrandmap [--seed N] [--size WxH] [--data DIR] [--description N]
//             [--set Name=V]... [--names N] OUTPUT
//
// --seed is the fixed time the generator seeds itself with (without it the
// clock, and the seed used is printed); --size defaults to 40x40; --data is
// the folder of "Map Description.dat" and the place-name lists (default the
// current folder); --description loads a line of "Map Description.dat" before
// any --set (a line clears the water toggles: --set LakeFlag=1,
// RiverCrossing=1 or CoastFlag=1 after it makes a central lake, a major river
// or a coast); --names picks "mapname<N>.txt". Exit status 1 on any error.
//
//   vlrandmap battle [--seed N] [--formation ID] [--name BASE] NATION ENEMY
//             DATE ATTACKER LEVEL MISSION AILEVEL CONDITIONS VISIBILITY
//             DESCRIPTION
//
// generates a whole battle in the current folder from its campaign data: both
// forces are picked for the nations (the first is the player's: ID is its
// formation, whose type digit decides whether it can cross a river; without
// one the digit counts as 0), at the date key (430301), with the attacking
// side, the command level 1..5, the mission type 1..11, the computer's A/I
// level, the four terrain-conditions letters (foliage, surface, water, field,
// e.g. FLNN), the visibility radius and the line of "Map Description.dat".
// It writes BASE.scn (default "Generated"), BASE.MAP, BASE.ORG and
// "campaign.log"; `vl BASE.scn` then plays it.

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "launcher/generator/BattleGenerator.h"
#include "launcher/generator/RandomMap.h"
#include "launcher/generator/RandomMapParameters.h"
#include "model/Clock.h"
#include "model/DataFile.h"

namespace {

int Fail(const std::string& message)
{
    std::fprintf(stderr, "vlrandmap: %s\n", message.c_str());
    return 1;
}

void PrintUsage()
{
    std::fprintf(stderr,
        "usage: vlrandmap [--seed N] [--size WxH] [--data DIR] [--description N] [--set Name=V]... "
        "[--names N] OUTPUT\nparameters for --set:");
    for (const RandomMapParameter& parameter : RandomMapParameters())
        std::fprintf(stderr, " %.*s", static_cast<int>(parameter.name.size()), parameter.name.data());
    std::fprintf(stderr, "\n");
}

// The whole text as a decimal integer within [low, high].
template <typename T> std::optional<T> ParseNumber(std::string_view text, T low, T high)
{
    T value {};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

int RunBattle(int argc, char** argv)
{
    std::optional<std::int64_t> seed;
    std::string formation;
    std::string name = "Generated";
    std::vector<std::string_view> values;
    for (int n = 0; n < argc; ++n) {
        const std::string_view argument = argv[n];
        if (argument == "--seed" || argument == "--formation" || argument == "--name") {
            if (n + 1 >= argc)
                return Fail("missing value for " + std::string(argument));
            const std::string_view text = argv[++n];
            if (argument == "--seed") {
                seed = ParseNumber<std::int64_t>(text, 0, INT64_MAX);
                if (!seed)
                    return Fail("bad seed: " + std::string(text));
            } else if (argument == "--formation") {
                formation = std::string(text);
            } else {
                name = std::string(text);
            }
        } else {
            values.push_back(argument);
        }
    }
    if (values.size() != 10 || name.empty() || name.find('/') != std::string::npos) {
        std::fprintf(stderr,
            "usage: vlrandmap battle [--seed N] [--formation ID] [--name BASE] NATION ENEMY DATE ATTACKER LEVEL "
            "MISSION AILEVEL CONDITIONS VISIBILITY DESCRIPTION\n");
        return 1;
    }
    const auto nation = ParseNumber<int>(values[0], 0, 28);
    const auto enemy = ParseNumber<int>(values[1], 0, 28);
    const auto date = ParseNumber<std::int32_t>(values[2], 0, 2000000);
    const auto attacker = ParseNumber<int>(values[3], 0, 1);
    const auto level = ParseNumber<int>(values[4], 1, 5);
    const auto mission = ParseNumber<std::int16_t>(values[5], 1, 11);
    const auto aiLevel = ParseNumber<int>(values[6], 0, 100);
    const std::string_view letters = values[7];
    const auto visibility = ParseNumber<int>(values[8], 0, 1000);
    const auto description = ParseNumber<int>(values[9], 1, 1000000);
    if (!nation || !enemy || !date || !attacker || !level || !mission || !aiLevel || letters.size() != 4 || !visibility
        || !description)
        return Fail("bad battle value");

    LauncherRandom random;
    const std::int64_t seconds = seed.value_or(CurrentTimeSeconds());
    random.SetTimeSource([seconds] { return seconds; });
    CampaignContext campaign(std::filesystem::current_path(), random);
    campaign.showMessage = [](std::string_view text, std::string_view caption) {
        std::fprintf(stderr, "vlrandmap: %.*s %.*s\n", static_cast<int>(caption.size()), caption.data(),
            static_cast<int>(text.size()), text.data());
    };
    campaign.g_campaign.m_nation = *nation;
    campaign.g_campaign.m_enemyNation = *enemy;
    campaign.g_campaign.m_generatorValue = *aiLevel;
    campaign.g_campaign.m_formationId = formation;
    campaign.g_campaign.m_commandLevel = *level;
    BattleGeneratorContext context(campaign);
    if (!seed)
        std::printf("seed %lld\n", static_cast<long long>(seconds));

    // As the campaign's next battle: seeded, the map's parameters from the
    // place's description line, the weather's letters and visibility.
    random.SeedRandom();
    context.map.ReadMapDescription(*description);
    BattleGenerator generator(context, *nation, *enemy, nullptr, nullptr, *date, *attacker, *level, *mission,
        campaign.g_campaign.m_regionPrefix);
    generator.ClearOptions();
    for (std::size_t i = 0; i < 4; ++i)
        context.conditionLetters[i] = letters[i];
    context.visibilityRadius = *visibility;
    generator.ChooseForces();
    if (!generator.WriteScenario(name, ".scn"))
        return Fail("the battle was not written: " + name + ".scn");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::string_view(argv[1]) == "battle")
        return RunBattle(argc - 2, argv + 2);

    std::optional<std::int64_t> seed;
    int width = 40;
    int height = 40;
    std::filesystem::path dataFolder;
    std::optional<int> description;
    std::vector<std::pair<const RandomMapParameter*, int>> settings;
    std::optional<int> names;
    std::optional<std::filesystem::path> output;

    for (int n = 1; n < argc; ++n) {
        const std::string_view argument = argv[n];
        auto value = [&]() -> std::optional<std::string_view> {
            if (n + 1 >= argc)
                return std::nullopt;
            return std::string_view(argv[++n]);
        };
        if (argument == "--help" || argument == "-h") {
            PrintUsage();
            return 0;
        }
        if (argument.starts_with("--")) {
            const auto text = value();
            if (!text)
                return Fail("missing value for " + std::string(argument));
            if (argument == "--seed") {
                seed = ParseNumber<std::int64_t>(*text, 0, INT64_MAX);
                if (!seed)
                    return Fail("bad seed: " + std::string(*text));
            } else if (argument == "--size") {
                const std::size_t x = text->find('x');
                const auto w = ParseNumber<int>(text->substr(0, x), 0, 100000);
                const auto h
                    = x == std::string_view::npos ? std::nullopt : ParseNumber<int>(text->substr(x + 1), 0, 100000);
                if (!w || !h || !RandomMap::IsValidMapSize(*w, *h))
                    return Fail("bad size (an even width and a height of 2 to 1000): " + std::string(*text));
                width = *w;
                height = *h;
            } else if (argument == "--data") {
                dataFolder = std::string(*text);
            } else if (argument == "--description") {
                description = ParseNumber<int>(*text, 1, 1000000);
                if (!description)
                    return Fail("bad description line: " + std::string(*text));
            } else if (argument == "--set") {
                const std::size_t equals = text->find('=');
                const RandomMapParameter* parameter
                    = equals == std::string_view::npos ? nullptr : FindRandomMapParameter(text->substr(0, equals));
                if (!parameter)
                    return Fail("unknown parameter: " + std::string(*text));
                const auto number = ParseNumber<int>(text->substr(equals + 1), parameter->low, parameter->high);
                if (!number)
                    return Fail("bad value for " + std::string(parameter->name) + " (" + std::to_string(parameter->low)
                        + " to " + std::to_string(parameter->high) + "): " + std::string(*text));
                settings.emplace_back(parameter, *number);
            } else if (argument == "--names") {
                names = ParseNumber<int>(*text, 0, 127);
                if (!names)
                    return Fail("bad place-name list number: " + std::string(*text));
            } else {
                PrintUsage();
                return Fail("unknown option: " + std::string(argument));
            }
        } else if (!output) {
            output = std::string(argument);
        } else {
            return Fail("more than one output file: " + std::string(argument));
        }
    }
    if (!output) {
        PrintUsage();
        return Fail("no output file");
    }

    LauncherRandom random;
    const std::int64_t seconds = seed.value_or(CurrentTimeSeconds());
    random.SetTimeSource([seconds] { return seconds; });
    RandomMap map(random);
    map.SetDataFolder(dataFolder);
    if (description) {
        const std::string file = map.DataFilePath(RandomMap::kDescriptionFileName);
        if (!LocateDataFile(file))
            return Fail("cannot find " + file);
        std::printf("description: %s\n", map.ReadMapDescription(*description).c_str());
    }
    for (const auto& [parameter, number] : settings)
        map.*(parameter->member) = static_cast<std::int8_t>(number);
    if (names)
        map.m_placeNameFile = static_cast<std::int8_t>(*names);
    map.m_mapWidth = static_cast<std::int16_t>(width);
    map.m_mapHeight = static_cast<std::int16_t>(height);
    if (!seed)
        std::printf("seed %lld\n", static_cast<long long>(seconds));

    const std::string error = map.GenerateRandomMap(*output);
    if (!error.empty())
        return Fail(error + ": " + output->string());
    return 0;
}
