#include <cstring>
#include <iostream>
#include <string>

#include "ctl/Commands.h"

namespace tavrin::ctl {

std::string escapeText(const std::string& text, bool escapeNul) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\0':
                if (escapeNul) {
                    out += "\\0";
                    break;
                }
                [[fallthrough]];
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace tavrin::ctl

namespace {

const char* kUsage =
    "Usage: tavrinctl COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  settings                      which root holds the settings, then every stored value\n"
    "  format PATTERN [DATETIME]     format DATETIME (\"YYYY-MM-DD HH:MM:SS\", local; default now)\n"
    "  zones                         every zone of the catalogue with its rule block\n"
    "  time ZONE [UTC ...]           the zone's wall-clock time at each UTC instant (default now),\n"
    "                                a tab, then its UTC offset and next clock change\n"
    "  reminders [--file PATH]       the reminders of the data file, one line each, numbered from 0\n"
    "  reminders add TITLE DATE TIME [--recur none|hourly|daily|weekly] [--body TEXT]\n"
    "                                add a reminder (DATE in the settings' date format, TIME as 21:05)\n"
    "  reminders delete N            delete reminder N\n"
    "  reminders --enable N | --disable N\n"
    "                                switch reminder N on or off\n"
    "  --help                        this text\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace tavrin::ctl;
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        std::strcmp(argv[1], "help") == 0) {
        std::cout << kUsage;
        return argc < 2 ? 2 : 0;
    }
    const std::string command = argv[1];
    const Args args(argv + 2, argv + argc);
    if (command == "settings") return cmdSettings(args, std::cout, std::cerr);
    if (command == "format") return cmdFormat(args, std::cout, std::cerr);
    if (command == "zones") return cmdZones(args, std::cout, std::cerr);
    if (command == "time") return cmdTime(args, std::cout, std::cerr);
    if (command == "reminders") return cmdReminders(args, std::cout, std::cerr);
    std::cerr << "tavrinctl: unknown command '" << command << "'\n" << kUsage;
    return 2;
}
