// mz6: the readers' settings from the command line, for scripts and fleets.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>

#include "cli/commands.h"
#include "cli/profile.h"
#include "cli/system_glue.h"
#include "cli/watch.h"

namespace {

// --help and the manual page tell the same story: keep cli/mz6.1.md in step with these texts.
constexpr char kAbout[] =
    "mz6 - reads and writes the settings of Zentak-6 card readers on serial ports.\n"
    "Keys (krx: serial-output reader): interface=touch-memory|wiegand26|wiegand44 indication=direct|inverse\n"
    "  standby=dynamic|static|off touch-poll=on|off\n"
    "Keys (usb: USB reader): mode=windows|any-os format=hex-dec|touch-memory type=hex|dec (not with\n"
    "  touch-memory) bytes=5|4|3|2 cards=all|hid-em|mifare\n"
    "Exit status: 0 success; 1 a port failed, no reader was found or output was lost; 2 wrong usage, profile or key.";

constexpr char kExamples[] =
    "Examples:\n"
    "  mz6 apply site.profile --all --check    what would change on each reader (differs); nothing written\n"
    "  mz6 apply site.profile --all            writes only the readers that differ: changed / unchanged\n"
    "  mz6 write --port COM4 --force standby=off    writes even when the reader already holds it\n"
    "  mz6 watch site.profile --port '/dev/serial/by-id/*' --log readers.jsonl\n"
    "                                          each reader as it is plugged in, a JSON line each in the log";

// A port given twice, under any of its names, would be opened twice at once, and the second open would
// find it busy.
std::vector<std::string> WithoutRepeats(const std::vector<std::string>& ports) {
    std::vector<std::string> kept;
    std::vector<std::string> seen;
    for (const std::string& port : ports) {
        const std::string identity = PortIdentity(port);
        if (std::find(seen.begin(), seen.end(), identity) != seen.end()) continue;
        seen.push_back(identity);
        kept.push_back(port);
    }
    return kept;
}

int RunCommandLine(int argc, char** argv) {
    PrepareConsole();
    CLI::App app{kAbout, "mz6"};
    app.require_subcommand(1);
    app.fallthrough();  // --lang and --json also after the command
    app.allow_windows_style_options(false);  // "/tmp/site.profile" is a file, not an option
    std::string language;
    bool json = false;
    app.add_option("--lang", language, "Language of the messages")->check(CLI::IsMember({"en", "ru"}));
    app.add_flag("--json", json, "JSON output for scripts");

    CommandOptions options;
    std::string model;
    std::string port;  // of the one-reader commands
    std::string file;
    std::vector<std::string> assignments;
    const auto addModel = [&model](CLI::App* command) {
        command->add_option("--model", model, "Reader model: krx or usb (default: what answers)")
            ->check(CLI::IsMember({"krx", "usb"}));
    };

    CLI::App* ports = app.add_subcommand("ports", "List every serial port, and which one is a USB reader");
    CLI::App* find = app.add_subcommand("find", "Ask every port (or the ones given) at once; list the readers");
    find->add_option("--port", options.ports, "A port to ask (repeatable)")->allow_extra_args(false);
    addModel(find);
    CLI::App* read = app.add_subcommand("read", "Version and settings of one reader");
    read->add_option("--port", port, "The reader's port: COM4, /dev/ttyUSB0")->required();
    addModel(read);
    CLI::App* write = app.add_subcommand("write", "Change settings: read, change, write, read back to verify");
    write->add_option("--port", port, "The reader's port")->required();
    addModel(write);
    write->add_option("settings", assignments, "key=value ...")->required();
    const auto addWriteOptions = [&options](CLI::App* command) {
        command->add_flag("--force", options.write.force, "Write even when the reader holds every setting asked");
        command->add_flag("--check", options.write.check, "Read and list what would change; write nothing");
    };
    addWriteOptions(write);
    CLI::App* save = app.add_subcommand("save", "Write the reader's settings into a profile file");
    save->add_option("--port", port, "The reader's port")->required();
    addModel(save);
    save->add_option("file", file, "Profile file")->required();
    CLI::App* apply = app.add_subcommand("apply", "One profile onto many readers at once, each verified");
    apply->add_option("file", file, "Profile file")->required()->check(CLI::ExistingFile);
    CLI::Option* applyPorts =
        apply->add_option("--port", options.ports, "A reader's port (repeatable)")->allow_extra_args(false);
    CLI::Option* all = apply->add_flag("--all", options.allPorts, "Every port that find would ask");
    applyPorts->excludes(all);
    addWriteOptions(apply);
    WatchOptions watchOptions;
    CLI::App* watch = app.add_subcommand("watch", "Apply a profile to each reader as it is plugged in, until Ctrl+C");
    watch->add_option("file", file, "Profile file")->required()->check(CLI::ExistingFile);
    watch->add_option("--port", watchOptions.patterns, "Only ports whose path or name matches (repeatable): "
                      "'/dev/serial/by-id/*', 'COM1?'")->allow_extra_args(false);
    watch->add_option("--log", watchOptions.log, "Append one JSON line per reader to this file");
    addWriteOptions(watch);
    app.footer(kExamples);  // set after the commands, which would inherit it

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help and version end well; every other parse error is wrong usage.
        return app.exit(error) == 0 ? kExitOk : kExitUsage;
    }
    if (*apply && options.ports.empty() && !options.allPorts) {
        std::cerr << "apply: give --port P (one or more) or --all\n" << apply->help();
        return kExitUsage;
    }

    options.ports = WithoutRepeats(options.ports);
    if (!port.empty()) options.ports = {port};
    options.model = ModelNamed(model);
    options.json = json;
    options.progress = ErrorOutputIsTerminal();
    options.texts = &ConsoleTextsFor(language.empty() ? UserPrefersRussian() : language == "ru");
    if (*ports) return RunPorts(options);
    if (*find) return RunFind(options);
    if (*read) return RunRead(options);
    if (*write) return RunWrite(options, assignments);
    if (*save) return RunSave(options, file);
    if (*watch) return RunWatch(options, watchOptions, file);
    return RunApply(options, file);
}

}  // namespace

// Output that never arrived (a full disk) is a failure, or a script would go on with nothing.
int main(int argc, char** argv) {
    const int status = RunCommandLine(argc, argv);
    std::cout.flush();
    if (std::cout) return status;
    std::cerr << "mz6: standard output: " << std::strerror(errno) << "\n";
    return status == kExitUsage ? kExitUsage : kExitFailed;
}
