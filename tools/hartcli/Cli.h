#pragma once
// Shared pieces of the hartcli subcommands. Every exchange goes through the program's own link
// (LinkSession/CHartComm), its response splitter and its code tables.
#include "link/LinkSession.h"

#include <QStringList>
#include <nlohmann/json.hpp>
#include <string>

namespace cli {

class StopSignal;

enum ExitCode { kOk = 0, kFailure = 1, kUsage = 2, kNoResponse = 3, kCommError = 4 };

struct Options {
    bool json = false;
    int master = 0;   // 0 primary, 1 secondary
    int retries = -1; // -1: the link's default (search: 2 attempts, as the device search)
};

using Json = nlohmann::ordered_json;

// Prints one answer or failure of a raw exchange, with the answer's fields as the splitter cut
// them; returns the exit code it stands for.
int PrintOutcome(const Options& o, const CHartComm& comm, int address, int command, const hart::Outcome& out);
int ExitCodeFor(const hart::Outcome& out);
std::string FailureText(const hart::Outcome& out);
Json FailureJson(int address, int command, const hart::Outcome& out);
void PrintJson(const Json& j);
// A failure on stderr (text) or as a JSON object on stdout.
int ReportFailure(const Options& o, int address, int command, const hart::Outcome& out);
// A float as JSON without the noise of widening it to double (null for NaN and infinities).
Json FloatJson(float value);

// Parses "12", "0x0C"; false when it is not an integer within [lo, hi].
bool ParseInt(const QString& text, int lo, int hi, int* value);
// Reads "--name VALUE" options from args (removing them); false with a message on bad input.
bool TakeIntOption(QStringList& args, const char* name, int lo, int hi, int* value, const char* command);

int RunRaw(hart::LinkSession& s, const Options& o, const QStringList& args);
int RunSearch(hart::LinkSession& s, const Options& o, QStringList args);
int RunIdentify(hart::LinkSession& s, const Options& o, const QStringList& args);
int RunRead(hart::LinkSession& s, const Options& o, const QStringList& args);
int RunMonitor(hart::LinkSession& s, const Options& o, QStringList args, const StopSignal& stop);

} // namespace cli
