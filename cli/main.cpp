// mz6: the readers' settings from the command line, for scripts and fleets.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>

#include "cli/commands.h"
#include "cli/profile.h"
#include "cli/system_glue.h"
#include "product.h"  // the maker, from the top CMakeLists.txt

namespace {

// --help and the manual page tell the same story: keep cli/mz6.1.md in step with these texts.
constexpr char kAbout[] =
    "mz6 - reads and writes the settings of Zentak-6 card readers on serial ports.\n"
    "Keys (krx: serial-output reader): interface=touch-memory|wiegand26|wiegand44 indication=direct|inverse\n"
    "  standby=dynamic|static|off touch-poll=on|off\n"
    "Keys (usb: USB reader): mode=windows|any-os format=hex-dec|touch-memory type=hex|dec (not with\n"
    "  touch-memory) bytes=5|4|3|2 cards=all|hid-em|mifare\n"
    "Exit status: 0 success; 1 a port failed, no reader was found or output was lost; 2 wrong usage, profile or key.";

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
    app.footer("Maker: " PRODUCT_MAKER_LINE);
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
