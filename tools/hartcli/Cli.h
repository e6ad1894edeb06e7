#pragma once
// Shared pieces of the hartcli subcommands.
#include "link/LinkSession.h"

#include <QStringList>
#include <nlohmann/json.hpp>
#include <string>

namespace cli {

enum ExitCode { kOk = 0, kFailure = 1, kUsage = 2, kNoResponse = 3, kCommError = 4 };

struct Options {
    bool json = false;
    int master = 0;   // 0 primary, 1 secondary
    int retries = -1; // -1: the link's default
};

using Json = nlohmann::ordered_json;

// Prints one answer or failure of a raw exchange; returns the exit code it stands for.
int PrintOutcome(const Options& o, int address, int command, const hart::Outcome& out);
int ExitCodeFor(const hart::Outcome& out);
std::string FailureText(const hart::Outcome& out);
Json FailureJson(int address, int command, const hart::Outcome& out);
void PrintJson(const Json& j);

// Parses "12", "0x0C"; false when it is not an integer within [lo, hi].
bool ParseInt(const QString& text, int lo, int hi, int* value);

int RunRaw(hart::LinkSession& s, const Options& o, const QStringList& args);

} // namespace cli
