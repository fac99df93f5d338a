#pragma once
// What the launcher asked for on the command line, as the application
// object parsed it; handed to the frame, which acts on it after its first
// show.

#include <string>

struct CommandLine {
    std::string startFile;
    int startMode = 0; // 0 none, 1 modem host, 2 modem caller, 3 e-mail, 5 hot seat
    bool openAsSaved = false;
    bool started = false; // by the launcher: it is started again at exit
    bool campaign = false;
    int campaignSide = 0;
    int campaignForceId = 0; // an organisation node id; -1 none
    int campaignThird = 1;
    bool lobby = false;
    bool night = false;

    friend bool operator==(const CommandLine&, const CommandLine&) = default;
};

// A campaign battle's end as the turn layer computes it, for the launcher.
struct CampaignResult {
    bool ended = false;
    int first = 0;
    int second = 0;
};
