#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>

#include "base/format.h"
#include "cli/port_tracker.h"
#include "cli/profile.h"
#include "cli/reader_session.h"
#include "cli/run_failure.h"
#include "cli/usage_texts.h"
#include "cli/utf8_sequences.h"
#include "product.h"

namespace {

constexpr int kCommandCount = static_cast<int>(Command::kWatch) + 1;
const char* const kCommandNames[] = {"ports", "find", "read", "write", "save", "apply", "watch"};
// What each command's arguments are, as --help and the completion name them: by Command.
const char* const kArgumentValues[] = {"", "", "", "KEY=VALUE", "FILE", "FILE", "FILE"};
static_assert(std::size(kCommandNames) == kCommandCount && std::size(kArgumentValues) == kCommandCount,
              "a command without its name or arguments");

// Who takes an option: mz6 itself, before its command (and after it, as CLI11 falls through to mz6), and
// the commands, a bit each.
constexpr unsigned Of(Command command) { return 1u << static_cast<int>(command); }
constexpr unsigned kMz6 = 1u << kCommandCount;
constexpr unsigned kEveryCommand = kMz6 - 1;
// read, write and save work on the one reader of their --port.
constexpr unsigned kOnePort = Of(Command::kRead) | Of(Command::kWrite) | Of(Command::kSave);
constexpr unsigned kWrites = Of(Command::kWrite) | Of(Command::kApply) | Of(Command::kWatch);

// What the options give, as the parse takes them before they are checked.
struct OptionValues {
    std::string language;
    std::string model;
    std::string port;                // read, write and save
    std::vector<std::string> ports;  // find and apply
    std::vector<std::string> patterns;
    std::string log;
    bool json = false;
    bool force = false;
    bool check = false;
    bool all = false;
};

struct OptionRow {
    const char* name;
    const char* letter;     // its one-letter form, "" for none
    const char* valueName;  // its value as --help and the completion show it; "" for a flag
    unsigned takenBy;       // kMz6 and the commands that take it
    const char* UsageTexts::*help;
    // Where the parse puts it; none for CLI11's own --help and --version.
    bool OptionValues::*flag;
    std::string OptionValues::*value;
    std::vector<std::string> OptionValues::*values;
};

// Every option of mz6, read by the check of the names, the parse, --help and the shell completion. --help
// lists those of a value first; a name nearest to two options suggests the earlier.
const OptionRow kOptions[] = {
    {"--lang", "", "en|ru", kMz6 | kEveryCommand, &UsageTexts::langOption, nullptr, &OptionValues::language, nullptr},
    {"--json", "", "", kMz6 | kEveryCommand, &UsageTexts::jsonOption, &OptionValues::json, nullptr, nullptr},
    {"--help", "-h", "", kMz6 | kEveryCommand, &UsageTexts::helpOption, nullptr, nullptr, nullptr},
    {"--version", "", "", kMz6, &UsageTexts::versionOption, nullptr, nullptr, nullptr},
    {"--port", "", "PORT", Of(Command::kFind), &UsageTexts::findPort, nullptr, nullptr, &OptionValues::ports},
    {"--port", "", "PORT", kOnePort, &UsageTexts::readerPort, nullptr, &OptionValues::port, nullptr},
    {"--port", "", "PORT", Of(Command::kApply), &UsageTexts::applyPort, nullptr, nullptr, &OptionValues::ports},
    {"--port", "", "GLOB", Of(Command::kWatch), &UsageTexts::watchPort, nullptr, nullptr, &OptionValues::patterns},
    {"--model", "", "krx|usb", Of(Command::kFind) | kOnePort, &UsageTexts::modelOption, nullptr, &OptionValues::model,
     nullptr},
    {"--force", "", "", kWrites, &UsageTexts::forceOption, &OptionValues::force, nullptr, nullptr},
    {"--check", "", "", kWrites, &UsageTexts::checkOption, &OptionValues::check, nullptr, nullptr},
    {"--all", "", "", Of(Command::kApply), &UsageTexts::allOption, &OptionValues::all, nullptr, nullptr},
    {"--log", "", "FILE", Of(Command::kWatch), &UsageTexts::logOption, nullptr, &OptionValues::log, nullptr},
};

const char* const kHelpLabels[] = {"Usage", "OPTIONS", "SUBCOMMAND", "Positionals", "REQUIRED", "Excludes", "Needs"};

// The options mz6 takes with `command` (-1: none yet): its own, and the command's.
bool Takes(const OptionRow& option, int command) {
    return (option.takenBy & kMz6) != 0 || (command >= 0 && (option.takenBy & (1u << command)) != 0);
}

const OptionRow* FindOption(const std::string& name, int command) {
    for (const OptionRow& option : kOptions) {
        if ((name == option.name || name == option.letter) && Takes(option, command)) return &option;
    }
    return nullptr;
}

bool TakesValue(const OptionRow& option) { return option.valueName[0] != '\0'; }

std::string NamesOf(const OptionRow& option) {
    return option.letter[0] == '\0' ? option.name : std::string(option.letter) + "," + option.name;
}

bool OfOnePort(int command) { return command >= 0 && (kOnePort & (1u << command)) != 0; }

// What the shell completion asks of mz6: a line for mz6 itself and one for each command, its name, its
// options (with "=" and the value's name after one that takes a value), and what its arguments are.
std::string CompletionTable() {
    std::string table;
    for (int command = -1; command < kCommandCount; ++command) {
        table += command < 0 ? "mz6" : kCommandNames[command];
        for (const OptionRow& option : kOptions) {
            if ((option.takenBy & (command < 0 ? kMz6 : 1u << command)) == 0) continue;
            table += std::string(" ") + option.name + (TakesValue(option) ? "=" : "") + option.valueName;
        }
        if (command >= 0 && kArgumentValues[command][0] != '\0') table += std::string(" ") + kArgumentValues[command];
        table += "\n";
    }
    return table;
}

// The options of `who` (kMz6 or a command's bit) into `app`, each with its help in the user's language. An
// option of mz6 itself is put to mz6 alone: CLI11 lets the command's words fall through to it.
void AddOptions(CLI::App* app, unsigned who, const UsageTexts& texts, OptionValues* values) {
    for (const bool ofValue : {true, false}) {
        for (const OptionRow& option : kOptions) {
            const unsigned at = (option.takenBy & kMz6) != 0 ? kMz6 : option.takenBy;
            if ((at & who) == 0 || TakesValue(option) != ofValue) continue;
            CLI::Option* added = nullptr;
            if (option.flag != nullptr) {
                added = app->add_flag(NamesOf(option), values->*option.flag, texts.*option.help);
            }
            if (option.value != nullptr) {
                added = app->add_option(NamesOf(option), values->*option.value, texts.*option.help);
            }
            if (option.values != nullptr) {
                added = app->add_option(NamesOf(option), values->*option.values, texts.*option.help)
                            ->allow_extra_args(false);
            }
            if (added == nullptr) continue;  // --help and --version, set apart as CLI11 wants them
            if (ofValue) added->type_name(option.valueName);
            added->group(texts.optionsGroup);
        }
    }
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
            const OptionRow* option = FindOption(name, *command);
            if (option == nullptr) {
                std::vector<std::string> known;
                for (const OptionRow& candidate : kOptions) {
                    if (!Takes(candidate, *command)) continue;
                    known.push_back(candidate.name);
                    if (candidate.letter[0] != '\0') known.push_back(candidate.letter);
                }
                return UsageError(output, FormatText(texts.unknownOption, name.c_str()), Nearest(name, known));
            }
            helpOrVersion = helpOrVersion || name == "--help" || name == "-h" || name == "--version";
            if (TakesValue(*option) && name == arg && ++i == args.size()) {
                return UsageError(output, FormatText(texts.needsValue, name.c_str()));
            }
            if (TakesValue(*option) &&
                (name == arg ? args[i].empty() : arg.size() == name.size() + 1)) {  // "--port=", "--model ''"
                return UsageError(output,
                                  name == "--port" ? texts.blankPort : FormatText(texts.needsValue, name.c_str()));
            }
            if (TakesValue(*option) && (name != "--port" || OfOnePort(*command))) {
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

// A value of --lang or --model that is not one of those its value's name lists ("en|ru").
bool WrongValue(const std::string& value, const char* name, int command, const UsageOutput& output) {
    if (value.empty()) return false;
    std::vector<std::string> allowed(1);
    for (const char* c = FindOption(name, command)->valueName; *c != '\0'; ++c) {
        if (*c == '|') {
            allowed.emplace_back();
        } else {
            allowed.back() += *c;
        }
    }
    if (std::find(allowed.begin(), allowed.end(), value) != allowed.end()) return false;
    UsageError(output, FormatText(output.texts.wrongValue, value.c_str(), name, Joined(allowed).c_str()));
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
        const OptionRow* known = option ? FindOption(arg, command) : nullptr;
        if (known != nullptr && TakesValue(*known) && i + 1 < args.size()) {
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

// What the parse gave `command` (`parsed`: the command as CLI11 took it), checked in full and put into
// `invocation`; -1 when the command is to run, else the status of the usage error told.
int TakeValues(const OptionValues& values, int command, const CLI::App& parsed, const UsageOutput& output,
               Invocation* invocation) {
    if (WrongValue(values.language, "--lang", command, output)) return kExitUsage;
    if (WrongValue(values.model, "--model", command, output)) return kExitUsage;
    const UsageTexts& texts = output.texts;
    RunContext& options = invocation->run;
    invocation->command = static_cast<Command>(command);
    const char* name = kCommandNames[command];
    const bool onePort = OfOnePort(command);
    if (onePort && parsed.count("--port") == 0) {
        return UsageError(output, FormatText(texts.needPort, name));
    }
    options.ports = onePort ? std::vector<std::string>{values.port} : values.ports;
    options.allPorts = values.all;
    options.json = values.json;
    options.write.force = values.force;
    options.write.check = values.check;
    options.patterns = values.patterns;
    options.log = values.log;
    // watch's patterns too: an unset "$PATTERN" would watch nothing, and an unset "$LOG" keep no log.
    for (const std::vector<std::string>* names : {&options.ports, &options.patterns}) {
        for (const std::string& given : *names) {
            if (Blank(given)) return UsageError(output, texts.blankPort);
        }
    }
    for (const std::string& pattern : options.patterns) {
        if (!PatternCanMatchAPort(pattern)) return UsageError(output, FormatText(texts.matchesNoPort, pattern.c_str()));
    }
    if (invocation->command == Command::kWatch && parsed.count("--log") != 0 && options.log.empty()) {
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
    options.model = ModelNamed(values.model);
    return -1;
}

}  // namespace

int ParseCommandLine(const std::vector<std::string>& args, bool russianByDefault, Invocation* invocation,
                     std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && args[0] == "--completion-table") {  // what the shell completion asks, not shown
        out << CompletionTable();
        return kExitOk;
    }
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
    const OptionRow& helpOption = *FindOption("--help", -1);
    app.set_help_flag(NamesOf(helpOption), texts.*helpOption.help)->group(texts.optionsGroup);
    const OptionRow& versionOption = *FindOption("--version", -1);
    app.set_version_flag(NamesOf(versionOption), std::string("mz6 (" PRODUCT_NAME ") " VERSION_DOTTED),
                         texts.*versionOption.help)
        ->group(texts.optionsGroup);
    OptionValues values;
    AddOptions(&app, kMz6, texts, &values);

    CLI::App* commands[kCommandCount];
    for (int k = 0; k < kCommandCount; ++k) {
        commands[k] = app.add_subcommand(kCommandNames[k], texts.commands[k]);
        commands[k]->group(texts.commandsGroup);
        commands[k]->footer(HelpFooter(texts, k));
        commands[k]->set_help_flag(NamesOf(helpOption), texts.*helpOption.help)->group(texts.optionsGroup);
        commands[k]->allow_extras();  // named below in the user's language
        AddOptions(commands[k], 1u << k, texts, &values);
    }
    RunContext& options = invocation->run;
    const int write = static_cast<int>(Command::kWrite);
    commands[write]
        ->add_option("settings", options.assignments, texts.settingsArgument)
        ->type_name(kArgumentValues[write]);
    for (Command withFile : {Command::kSave, Command::kApply, Command::kWatch}) {
        const int k = static_cast<int>(withFile);
        commands[k]
            ->add_option("file", options.file, texts.fileArgument[withFile != Command::kSave])
            ->type_name(kArgumentValues[k]);
    }

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
    return TakeValues(values, command, *commands[command], output, invocation);
}
