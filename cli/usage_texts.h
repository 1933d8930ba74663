#pragma once

// What --help and the usage errors of mz6 say, in English or Russian (UTF-8).

struct UsageTexts {
    const char* about;        // the first line of --help
    const char* keysOf[2];    // "Keys (krx: serial-output reader):", by model
    const char* typeNote;     // when the output type is used
    const char* resultsLine;  // before the result codes
    const char* exitStatus;   // the exit statuses, one line
    const char* completion;   // where the shell completion comes from
    const char* maker;        // before the maker's name and contacts
    const char* commands[7];  // ports, find, read, write, save, apply, watch
    const char* langOption;
    const char* jsonOption;
    const char* versionOption;
    const char* helpOption;
    const char* findPort;
    const char* readerPort;
    const char* applyPort;
    const char* modelOption;
    const char* settingsArgument;
    const char*
        fileArgument[2];  // save (the file written, - for standard output); apply and watch (- for standard input)
    const char* allOption;
    const char* forceOption;
    const char* checkOption;
    const char* watchPort;
    const char* logOption;
    const char* examples;  // worked examples, at the end of --help
    // CLI11's labels, in the order of kHelpLabels (command_line.cpp)
    const char* labels[7];
    const char* optionsGroup;
    const char* commandsGroup;
    // the usage errors
    const char* unknownCommand;  // "unknown command '%s'"
    const char* unknownOption;   // "unknown option '%s'"
    const char* didYouMean;      // "; did you mean %s?"
    const char* needCommand;     // no command given
    const char* needPort;        // "%s: give the reader's port ..."
    const char* blankPort;       // a port name that is empty or blank
    const char* needSettings;    // write without key=value
    const char* needFile[2];     // "%s: give the profile file ...": save; apply and watch
    const char* needPortsOrAll;  // apply without --port or --all
    const char* portsAndAll;     // apply with both
    const char* wrongValue;      // "wrong value '%s' for %s; one of: %s"
    const char* needsValue;      // "%s needs a value"
    const char* givenTwice;      // "%s is given twice", an option of one value
    const char* unexpected;      // "unexpected argument '%s'"
    const char* portHint;        // "; give the port with --port: %s", the command line as it would be
    const char* moreHelp;        // the line after a usage error
    const char* matchesNoPort;   // "watch: --port '%s' can match no port ...", a pattern of watch
};

// English unless `russian`.
const UsageTexts& UsageTextsFor(bool russian);
