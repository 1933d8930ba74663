#pragma once

#include <string>

#include "app/text/texts.h"
#include "cli/profile.h"
#include "cli/reader_session.h"

// What mz6 tells its user, in English or Russian (UTF-8). The window
// program's own texts are used wherever one fits.

struct ConsoleTexts {
    const TextSlots* program;
    const char* noReaderFound;
    const char* readBackDiffers;      // followed by the settings that differ
    const char* wroteReadBack;        // "wrote {w}, read back {r}"
    const char* notVerified;          // before why the read-back after a write failed
    const char* notKnown;             // a code not known to this program
    const char* notUsed;              // a setting its reader's other settings leave unused
    const char* incomplete;           // followed by the settings to give explicitly
    const char* systemError;          // "system error"
    const char* profileLine;          // "line"
    const char* profileErrors[12];    // by ProfileError: the subject, the value given, the values allowed
    const char* summaryDone;          // "{n} of {m} readers configured: {c} changed, {u} unchanged, {f} failed"
    const char* summaryChecked;       // the same of --check, where nothing is written
    const char* watchStarted;         // "{n} ports present left alone", when watch starts
    const char* summaryNotAttempted;  // "not attempted (interrupted):", before the ports
    const char* outputLost;           // "output could not be written"
    const char* progress;             // "ports answered"
    const char* errorOpening;         // "Error opening", followed by why
    const char* openReasons[4];       // by Outcome, from kNotFound to kNotASerialPort
    const char* wrongModel;           // "answers as %s, not as %s": the model that answered, the one asked
    const char* notAttempted;         // a port the interruption left alone
    const char* otherModel;           // "the reader is model %s, the profile is for %s"
    const char* skippedOtherModel;    // "skipped (other model):", before the ports of readers of the other model
    const char* noReaderToConfigure;  // "no reader of model %s to configure", when --all found only others
    const char* unplugged;            // a reader that went away before or while it was served
    const char* summaryUnplugged;     // "unplugged:", before the ports
    const char* logStopped;           // "the log %s could not be written (%s); watch stopped"
    const char* notLogged;            // "not in the log:", before the ports
    const char* changedMark;          // after a setting a write changed
    const char* saved;                // "the settings of {port} saved to {file}:", then the profile
    const char* inputClosed;          // apply - or watch - with standard input closed
    const char* inputFolder;          // ... with a folder as standard input
    const char* notAFile;             // "{path} is {kind}, not a file: ...", a path save does not replace
    const char* pathKinds[5];         // by PathKind from kLink: "a loop of links", "a folder", "a device", ...
    const char* folderNotWritable;    // "cannot create a file in the folder {folder}: {why}"
    const char* ownerNotKept;         // "{file}: its owner and group cannot be kept ({why})"
    const char* leftAsItWas;          // after why a save failed: the file is as it was
    const char* noSerialPorts;        // --all, or find without --port, on a host without ports
    const char* skipped;              // before why a port is left out of find, --all and watch
    const char* skipReasons[3];       // by TtySkip, from kConsole to kNoDevice
    const char* pathChanged;          // "{path} now leads elsewhere ...": the read took a while; nothing saved
    const char* noAnswer;             // no byte came back within the wait
    const char* portWentAway;         // a read or write failed in the middle of an exchange
    const char* rootNotAFolder;       // "MZ6_SYSTEM_ROOT (%s) is not a folder", after noSerialPorts
    const char* forcedAlone;          // a reader written (or with --check to be written) only because of --force
    const char* joinGroup;            // "the port belongs to the group %s: sudo adduser $USER %s, ..."
    const char* logInAgain;           // "you are in the group %s, but this session is not ...: newgrp %s"
    const char* nodeAsIs;             // "the port's node is %s %s:%s %04o; udev may not have set it up yet ..."
    const char* notUnicode;           // "argument %d is not valid Unicode ...: %s", its position and text
    const char* logIsALink;           // "the log %s is a link ...": watch writes through none
};

// English unless `russian`.
const ConsoleTexts& ConsoleTextsFor(bool russian);

// Why a port failed, in one line.
std::string DescribeFailure(const ConsoleTexts& texts, const ReaderReport& report);

// "PORT: CODE: why", the line of a failed port.
std::string FailureLine(const ConsoleTexts& texts, const ReaderReport& report);

// What is wrong with a profile or the key=value arguments, the setting first: "interface is given twice
// (line 3)"; a fault of the whole file (`file`, "-" for standard input) names it.
std::string DescribeProfileError(const ConsoleTexts& texts, const ProfileResult& result, const std::string& file);

// The name of a setting's value; texts.notKnown for a code this program does not know.
std::string ValueName(SettingId id, int model, int value, const ConsoleTexts& texts);
