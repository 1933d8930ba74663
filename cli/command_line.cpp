#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>

#include "app/text/format.h"
#include "cli/port_tracker.h"
#include "cli/profile.h"
#include "cli/reader_session.h"
#include "cli/run_failure.h"
#include "cli/usage_texts.h"
#include "cli/utf8_sequences.h"
#include "product.h"

namespace {

const char* const kCommandNames[] = {"ports", "find", "read", "write", "save", "apply", "watch"};
constexpr int kCommandCount = 7;
// Each command's letter in OptionName::commands: write and watch share their first.
const char kCommandLetters[] = "pfrwsaW";

struct OptionName {
    const char* name;
    bool takesValue;
    const char* commands;  // the letters (kCommandLetters) of the commands that take it; "" for any
};

// Every option, for the check that comes before the parse: it names an unknown one and suggests the nearest.
const OptionName kOptions[] = {
    {"--lang", true, ""},      {"--json", false, ""},      {"--help", false, ""},     {"-h", false, ""},
    {"--version", false, ""},  {"--port", true, "frwsaW"}, {"--model", true, "frws"}, {"--all", false, "a"},
    {"--force", false, "waW"}, {"--check", false, "waW"},  {"--log", true, "W"},
};

const char* const kHelpLabels[] = {"Usage", "OPTIONS", "SUBCOMMAND", "Positionals", "REQUIRED", "Excludes", "Needs"};

const OptionName* FindOption(const std::string& name, int command) {
    for (const OptionName& option : kOptions) {
        const bool forCommand = option.commands[0] == '\0' ||
                                (command >= 0 && std::strchr(option.commands, kCommandLetters[command]) != nullptr);
        if (name == option.name && forCommand) return &option;
    }
    return nullptr;
}

// read, write and save work on the one reader of their --port.
bool OfOnePort(int command) {
    return command >= static_cast<int>(Command::kRead) && command <= static_cast<int>(Command::kSave);
}

std::size_t Distance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The candidate nearest to `word`, dashes aside ("version" finds --version), or "" when none is near.
std::string Nearest(const std::string& word, const std::vector<std::string>& candidates) {
    const auto bare = [](const std::string& text) {
        return text.substr(std::min(text.find_first_not_of('-'), text.size()));
    };
    std::string best;
    std::size_t bestDistance = 3;  // further than two edits is no longer a slip of the finger
    for (const std::string& candidate : candidates) {
        const std::size_t distance = Distance(bare(word), bare(candidate));
        if (distance < bestDistance && distance < std::max<std::size_t>(bare(candidate).size(), 2)) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}

// Where a usage error goes: standard error, and with --json its JSON object to standard output.
struct UsageOutput {
    const UsageTexts& texts;
    std::ostream& out;
    std::ostream& err;
    bool json;
};

int UsageError(const UsageOutput& output, const std::string& message, const std::string& suggestion = std::string()) {
    std::string text = message;
    if (!suggestion.empty()) text += FormatText(output.texts.didYouMean, suggestion.c_str());
    text = Escaped(text);  // the arguments in it are the user's bytes
    output.err << "mz6: " << text << "\n" << output.texts.moreHelp << "\n";
    if (output.json) output.out << FailureAsJson(RunFailure::kUsage, text);
    return kExitUsage;
}

// Unknown commands and options, named with the nearest known one; -1 when all are known.
int CheckNames(const std::vector<std::string>& args, const UsageOutput& output, int* command) {
    const UsageTexts& texts = output.texts;
    bool helpOrVersion = false;
    std::vector<std::string> given;  // the options of one value so far
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") break;
        if (arg.size() > 1 && arg[0] == '-') {
            const std::string name = arg.substr(0, arg.find('='));
            const OptionName* option = FindOption(name, *command);
            if (option == nullptr) {
                std::vector<std::string> known;
                for (const OptionName& candidate : kOptions) {
                    if (FindOption(candidate.name, *command) != nullptr) known.push_back(candidate.name);
                }
                return UsageError(output, FormatText(texts.unknownOption, name.c_str()), Nearest(name, known));
            }
            helpOrVersion = helpOrVersion || name == "--help" || name == "-h" || name == "--version";
            if (option->takesValue && name == arg && ++i == args.size()) {
                return UsageError(output, FormatText(texts.needsValue, name.c_str()));
            }
            if (option->takesValue &&
                (name == arg ? args[i].empty() : arg.size() == name.size() + 1)) {  // "--port=", "--model ''"
                return UsageError(output,
                                  name == "--port" ? texts.blankPort : FormatText(texts.needsValue, name.c_str()));
            }
            if (option->takesValue && (name != "--port" || OfOnePort(*command))) {
                if (std::find(given.begin(), given.end(), name) != given.end()) {
                    return UsageError(output, FormatText(texts.givenTwice, name.c_str()));
                }
                given.push_back(name);
            }
        } else if (*command < 0) {
            const auto found = std::find(kCommandNames, kCommandNames + kCommandCount, arg);
            if (found == kCommandNames + kCommandCount) {
                std::vector<std::string> known(kCommandNames, kCommandNames + kCommandCount);
                known.push_back("--version");
                known.push_back("--help");
                return UsageError(output, FormatText(texts.unknownCommand, arg.c_str()), Nearest(arg, known));
            }
            *command = static_cast<int>(found - kCommandNames);
        }
    }
    if (*command < 0 && !helpOrVersion) return UsageError(output, texts.needCommand);
    return -1;
}

// --lang decides the language of everything after it, its own errors too.
bool RussianAsked(const std::vector<std::string>& args, bool russianByDefault) {
    for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
        std::string value;
        if (args[i] == "--lang" && i + 1 < args.size()) {
            value = args[i + 1];
        } else if (args[i].rfind("--lang=", 0) == 0) {
            value = args[i].substr(7);
        } else {
            continue;
        }
        return value == "ru" || (value != "en" && russianByDefault);  // a wrong one is refused in the default
    }
    return russianByDefault;
}

// The keys and values of both models from the codec's table.
std::string KeysHelp(const UsageTexts& texts) {
    std::string keys;
    for (int model : {int{kReaderSerial}, int{kReaderUsb}}) {
        const ModelInfo* info = ModelInfoOf(model);
        keys += std::string(texts.keysOf[model]) + "\n";
        for (int k = 0; k < info->count; ++k) {
            const SettingInfo& setting = info->settings[k];
            keys += std::string("  ") + setting.key + "=" + ValueList(setting);
            if (k > 0 && info->settings[k - 1].controlsNext) keys += std::string(" ") + texts.typeNote;
            keys += "\n";
        }
    }
    return keys;
}

// Every result code: the ports' and the run's own.
std::string ResultsHelp(const UsageTexts& texts) {
    std::vector<std::string> codes;
    for (int outcome = 0; outcome <= static_cast<int>(kLastOutcome); ++outcome) {
        codes.push_back(ResultCode(static_cast<Outcome>(outcome)));
    }
    for (int failure = 0; failure < kRunFailureCount; ++failure) {
        codes.push_back(ResultCode(static_cast<RunFailure>(failure)));
    }
    std::string results = std::string(texts.resultsLine) + "\n ";
    std::size_t lineStart = results.size();
    for (const std::string& code : codes) {
        if (results.size() - lineStart + code.size() > 100) {
            results += "\n ";
            lineStart = results.size();
        }
        results += " " + code;
    }
    return results + "\n";
}

// What --help ends with: mz6's tells everything; a command's the keys where it takes settings, the results
// where it asks ports, and the exit statuses.
std::string HelpFooter(const UsageTexts& texts, int command) {
    const bool settings = command == static_cast<int>(Command::kWrite) ||
                          command == static_cast<int>(Command::kApply) || command == static_cast<int>(Command::kWatch);
    std::string footer = command < 0 || settings ? KeysHelp(texts) : std::string();
    if (command != static_cast<int>(Command::kPorts)) footer += ResultsHelp(texts);
    footer += texts.exitStatus;
    if (command >= 0) return footer;
    return footer + "\n" + texts.completion + "\n\n" + texts.examples + "\n\n" + texts.maker + PRODUCT_MAKER_LINE;
}

std::string Joined(const std::vector<std::string>& values) {
    std::string text;
    for (const std::string& value : values) text += (text.empty() ? "" : ", ") + value;
    return text;
}

// A value of --lang or --model that is not one of `allowed`.
bool WrongValue(const std::string& value, const char* option, const std::vector<std::string>& allowed,
                const UsageOutput& output) {
    if (value.empty() || std::find(allowed.begin(), allowed.end(), value) != allowed.end()) return false;
    UsageError(output, FormatText(output.texts.wrongValue, value.c_str(), option, Joined(allowed).c_str()));
    return true;
}

bool Blank(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

// A name as ports are named: a path under /dev, or COM and its number.
bool LooksLikePort(const std::string& name) {
    if (name.rfind("/dev/", 0) == 0) return true;
    const bool com = name.size() > 3 && (name[0] | 0x20) == 'c' && (name[1] | 0x20) == 'o' && (name[2] | 0x20) == 'm';
    return com && name.find_first_not_of("0123456789", 3) == std::string::npos;
}

// An argument as a shell takes it back: quoted where it holds more than letters, digits and /._-:=,+@%.
std::string Quoted(const std::string& arg) {
    const bool plain = !arg.empty() && std::all_of(arg.begin(), arg.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || std::strchr("/._-:=,+@%", c) != nullptr;
    });
    if (plain) return arg;
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The command line with --port before the arguments that name ports (the first alone where the command
// takes one port); "" when no argument does. A port given bare is what "unexpected argument" most often is.
std::string WithPortOption(const std::vector<std::string>& args, int command) {
    std::string line = "mz6";
    bool options = true;  // before "--"
    bool commandSeen = false;
    bool given = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool option = options && arg.size() > 1 && arg[0] == '-';
        options = options && arg != "--";
        const OptionName* known = option ? FindOption(arg, command) : nullptr;
        if (known != nullptr && known->takesValue && i + 1 < args.size()) {
            line += " " + arg + " " + Quoted(args[++i]);
            continue;
        }
        if (!option && commandSeen && LooksLikePort(arg) && !(given && OfOnePort(command))) {
            line += " --port";
            given = true;
        }
        commandSeen = commandSeen || (!option && arg == kCommandNames[command]);
        line += " " + Quoted(arg);
    }
    return given ? line : std::string();
}

}  // namespace

int ParseCommandLine(const std::vector<std::string>& args, bool russianByDefault, Invocation* invocation,
                     std::ostream& out, std::ostream& err) {
    invocation->russian = RussianAsked(args, russianByDefault);
    const UsageTexts& texts = UsageTextsFor(invocation->russian);
    const UsageOutput output{
        texts, out, err, std::find(args.begin(), std::find(args.begin(), args.end(), "--"), "--json") != args.end()};
    int command = -1;
    const int named = CheckNames(args, output, &command);
    if (named >= 0) return named;

    CLI::App app{texts.about, "mz6"};
    for (std::size_t k = 0; k < std::size(kHelpLabels); ++k)
        app.get_formatter()->label(kHelpLabels[k], texts.labels[k]);
    app.footer(HelpFooter(texts, -1));
    app.fallthrough();                       // --lang and --json also after the command
    app.allow_windows_style_options(false);  // "/tmp/site.profile" is a file, not an option
    app.allow_extras();                      // named below in the user's language
    app.set_help_flag("-h,--help", texts.helpOption)->group(texts.optionsGroup);
    app.set_version_flag("--version", std::string("mz6 (" PRODUCT_NAME ") " VERSION_DOTTED), texts.versionOption)
        ->group(texts.optionsGroup);
    std::string language;
    std::string model;
    std::string port;
    RunContext& options = invocation->run;
    app.add_option("--lang", language, texts.langOption)->type_name("en|ru")->group(texts.optionsGroup);
    app.add_flag("--json", options.json, texts.jsonOption)->group(texts.optionsGroup);

    CLI::App* commands[kCommandCount];
    for (int k = 0; k < kCommandCount; ++k) {
        commands[k] = app.add_subcommand(kCommandNames[k], texts.commands[k]);
        commands[k]->group(texts.commandsGroup);
        commands[k]->footer(HelpFooter(texts, k));
        commands[k]->set_help_flag("-h,--help", texts.helpOption)->group(texts.optionsGroup);
        commands[k]->allow_extras();  // named below in the user's language
        const bool onePort = OfOnePort(k);
        if (k == static_cast<int>(Command::kWatch)) {
            commands[k]
                ->add_option("--port", options.patterns, texts.watchPort)
                ->type_name("GLOB")
                ->allow_extra_args(false)
                ->group(texts.optionsGroup);
            commands[k]
                ->add_option("--log", options.log, texts.logOption)
                ->type_name("FILE")
                ->group(texts.optionsGroup);
        } else if (onePort) {
            commands[k]->add_option("--port", port, texts.readerPort)->type_name("PORT")->group(texts.optionsGroup);
        } else if (FindOption("--port", k) != nullptr) {
            commands[k]
                ->add_option("--port", options.ports,
                             k == static_cast<int>(Command::kFind) ? texts.findPort : texts.applyPort)
                ->type_name("PORT")
                ->allow_extra_args(false)
                ->group(texts.optionsGroup);
        }
        if (FindOption("--model", k) != nullptr) {
            commands[k]
                ->add_option("--model", model, texts.modelOption)
                ->type_name("krx|usb")
                ->group(texts.optionsGroup);
        }
        if (FindOption("--force", k) != nullptr) {
            commands[k]->add_flag("--force", options.write.force, texts.forceOption)->group(texts.optionsGroup);
            commands[k]->add_flag("--check", options.write.check, texts.checkOption)->group(texts.optionsGroup);
        }
    }
    commands[static_cast<int>(Command::kWrite)]
        ->add_option("settings", options.assignments, texts.settingsArgument)
        ->type_name("KEY=VALUE");
    for (Command withFile : {Command::kSave, Command::kApply, Command::kWatch}) {
        commands[static_cast<int>(withFile)]
            ->add_option("file", options.file, texts.fileArgument[withFile != Command::kSave])
            ->type_name("FILE");
    }
    commands[static_cast<int>(Command::kApply)]
        ->add_flag("--all", options.allPorts, texts.allOption)
        ->group(texts.optionsGroup);

    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them from the back
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help();  // the command's own, when one was given
        return kExitOk;
    } catch (const CLI::CallForVersion& version) {
        out << version.what() << "\n";
        return kExitOk;
    } catch (const CLI::ParseError& error) {
        return UsageError(output, error.what());
    }

    const std::vector<std::string> extras = app.remaining(true);
    if (!extras.empty()) {
        // A port given bare: the command line as it would be with --port, where the command takes ports.
        const bool portsTaken =
            OfOnePort(command) ? commands[command]->count("--port") == 0 : FindOption("--port", command) != nullptr;
        const std::string withPort = portsTaken ? WithPortOption(args, command) : std::string();
        return UsageError(output, FormatText(texts.unexpected, extras[0].c_str()) +
                                      (withPort.empty() ? "" : FormatText(texts.portHint, withPort.c_str())));
    }
    if (WrongValue(language, "--lang", {"en", "ru"}, output)) return kExitUsage;
    if (WrongValue(model, "--model", {"krx", "usb"}, output)) return kExitUsage;
    invocation->command = static_cast<Command>(command);
    const char* name = kCommandNames[command];
    const bool onePort = OfOnePort(command);
    if (onePort && commands[command]->count("--port") == 0) {
        return UsageError(output, FormatText(texts.needPort, name));
    }
    if (onePort) options.ports = {port};
    // watch's patterns too: an unset "$PATTERN" would watch nothing, and an unset "$LOG" keep no log.
    for (const std::vector<std::string>* names : {&options.ports, &options.patterns}) {
        for (const std::string& given : *names) {
            if (Blank(given)) return UsageError(output, texts.blankPort);
        }
    }
    for (const std::string& pattern : options.patterns) {
        if (!PatternCanMatchAPort(pattern)) return UsageError(output, FormatText(texts.matchesNoPort, pattern.c_str()));
    }
    if (invocation->command == Command::kWatch && commands[command]->count("--log") != 0 && options.log.empty()) {
        return UsageError(output, FormatText(texts.needsValue, "--log"));
    }
    if (invocation->command == Command::kWrite && options.assignments.empty()) {
        return UsageError(output, texts.needSettings);
    }
    if ((invocation->command == Command::kSave || invocation->command == Command::kApply ||
         invocation->command == Command::kWatch) &&
        options.file.empty()) {
        return UsageError(output, FormatText(texts.needFile[invocation->command != Command::kSave], name));
    }
    if (invocation->command == Command::kApply && options.ports.empty() == !options.allPorts) {
        return UsageError(output, options.allPorts ? texts.portsAndAll : texts.needPortsOrAll);
    }
    options.model = ModelNamed(model);
    return -1;
}
