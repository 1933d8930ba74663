#include "cli/reader_session.h"

#include "cli/system_glue.h"
#include "protocol/commands.h"
#include "protocol/reply_classifier.h"
#include "serial/serial_link.h"

namespace {

// The reader answers within the second the window program waits; the reply then ends at the first
// 60 ms gap.
constexpr std::uint32_t kFirstByteWaitMs = 1000;

// A reader that kept quiet for its wait is listened to this much longer before another command goes out:
// a reply that comes then is late, and would otherwise be read as the answer to that other command.
constexpr std::uint32_t kLateReplyWaitMs = 1000;

struct Exchange {
    Outcome outcome = Outcome::kOk;
    std::int32_t error = 0;
    bool sent = false;  // the command went out whole, whatever came back
    ReplyClass replyClass = kReplyUnrecognized;
    std::int32_t payloadLength = 0;
    std::uint8_t reply[kReplyBufferSize] = {};
};

// A reply that filled the buffer may go on: the rest is read away up to its 60 ms gap (within reason),
// so that it is not taken for the next reply.
void DrainOverlongReply(PortHandle handle, std::int32_t received) {
    constexpr int kMaxRounds = 16;
    for (int round = 0; received == kReplyBufferSize && round < kMaxRounds; ++round) {
        std::uint8_t rest[kReplyBufferSize];
        std::int32_t error = 0;
        if (LinkReadReply(handle, rest, kReplyBufferSize, &received, &error, 0) != kLinkOk) return;
    }
}

Exchange Send(PortHandle handle, const std::uint8_t* command, std::int32_t length) {
    Exchange exchange;
    // Bytes that came after the last reply ended (a reply too late for its wait, line noise) would be
    // taken for the answer to this command.
    if (LinkDiscardInput(handle, &exchange.error) != kLinkOk ||
        LinkWrite(handle, command, length, &exchange.error) != kLinkOk) {
        exchange.outcome = Outcome::kIoError;
        return exchange;
    }
    exchange.sent = true;
    std::int32_t received = 0;
    const LinkResult read =
        LinkReadReply(handle, exchange.reply, kReplyBufferSize, &received, &exchange.error, kFirstByteWaitMs);
    if (read == kLinkError) {
        exchange.outcome = Outcome::kIoError;
    } else if (read == kLinkSilent) {
        exchange.outcome = Outcome::kNoAnswer;
    } else {
        DrainOverlongReply(handle, received);
        exchange.replyClass = ClassifyReply(exchange.reply, received, &exchange.payloadLength);
        if (exchange.replyClass == kReplyUnknownCommand) exchange.outcome = Outcome::kUnknownCommand;
        if (exchange.replyClass == kReplyUnrecognized) exchange.outcome = Outcome::kUnrecognised;
    }
    return exchange;
}

// The settings of a reader of `model` into the report.
void ReadSettings(PortHandle handle, int model, ReaderReport* report) {
    const Exchange exchange =
        Send(handle, reinterpret_cast<const std::uint8_t*>(ReadCommandOf(model)), kReadCommandLength);
    report->outcome = exchange.outcome;
    report->error = exchange.error;
    if (exchange.outcome != Outcome::kOk) return;
    // A payload cut short would be decoded from whatever the buffer held after it.
    if (exchange.replyClass != kReplyOkWithPayload || exchange.payloadLength < PayloadLengthOf(model)) {
        report->outcome = Outcome::kUnrecognised;
        return;
    }
    report->model = model;
    const DecodedPayload decoded = DecodeSettingsPayload(model, exchange.reply);
    if (!decoded.versionSupported) {
        report->outcome = Outcome::kFirmware;
        return;
    }
    report->version = decoded.version;
    report->settings = decoded.settings;
    report->unrecognised.assign(decoded.unrecognised, decoded.unrecognised + decoded.unrecognisedCount);
    if (!report->unrecognised.empty()) report->outcome = Outcome::kIncomplete;
}

bool Unanswered(Outcome outcome) { return outcome == Outcome::kNoAnswer || outcome == Outcome::kUnknownCommand; }

// True when bytes come within the late wait after a command that went unanswered; they are read away.
bool LateReplyCame(PortHandle handle) {
    std::uint8_t late[kReplyBufferSize];
    std::int32_t received = 0;
    std::int32_t error = 0;
    if (LinkReadReply(handle, late, kReplyBufferSize, &received, &error, kLateReplyWaitMs) != kLinkOk) return false;
    DrainOverlongReply(handle, received);
    return true;
}

// A reader does not know the other model's command, or keeps quiet about it: then the other command is
// asked. Without a model the answer to it is the result; with one, a reader answering as the other model
// is named as such rather than taken for a dead port.
void ReadEitherModel(PortHandle handle, int model, bool usbFirst, ReaderReport* report) {
    const int first = model >= 0 ? model : (usbFirst ? kReaderUsb : kReaderSerial);
    ReadSettings(handle, first, report);
    if (!Unanswered(report->outcome)) return;
    // A reader that answers, however late, is the model asked: it answered too late.
    if (report->outcome == Outcome::kNoAnswer && LateReplyCame(handle)) return;
    if (InterruptSignal() != 0) {  // the next command would be a new exchange
        report->outcome = Outcome::kNotAttempted;
        return;
    }
    ReaderReport other;
    other.port = report->port;
    ReadSettings(handle, 1 - first, &other);
    if (model >= 0) {
        if (other.outcome != Outcome::kOk && other.outcome != Outcome::kIncomplete) return;
        *report = other;
        report->outcome = Outcome::kWrongModel;
        report->askedModel = model;
        report->settings = ReaderSettings{};
        report->unrecognised.clear();
        return;
    }
    if (other.outcome != Outcome::kNoAnswer || report->outcome == Outcome::kNoAnswer) *report = other;
}

// Every setting in use of the settings written must have been read back the same.
void Compare(const ReaderSettings& wrote, ReaderReport* report) {
    report->mismatches = SettingChanges(report->settings, wrote);
    if (!report->mismatches.empty()) report->outcome = Outcome::kMismatch;
}

void WriteAndReadBack(PortHandle handle, const ReaderSettings& wanted, int model, ReaderReport* report) {
    std::uint8_t command[kWriteCommandCapacity] = {};
    const std::int32_t length = EncodeWriteCommand(wanted, command);
    const Exchange exchange = Send(handle, command, length);
    report->outcome = exchange.outcome;
    report->error = exchange.error;
    // A reader that went silent after the command may have taken it: it counts as changed.
    report->changed = exchange.sent;
    if (exchange.outcome != Outcome::kOk) return;
    report->written = true;
    ReadSettings(handle, model, report);
    if (report->outcome == Outcome::kOk || report->outcome == Outcome::kIncomplete) {
        report->outcome = Outcome::kOk;
        report->unrecognised.clear();
        Compare(wanted, report);
    }
}

void WriteSettings(PortHandle handle, const ReaderSettings& changes, const WriteOptions& options,
                   ReaderReport* report) {
    ReadEitherModel(handle, changes.model, false, report);
    // A setting the change brings into use (the type, when the format leaves touch-memory) is written and
    // verified as the fallback the command carries.
    const ReaderSettings wanted = SettingsToWrite(report->settings, changes);
    // A setting the reader gave in a code we do not know is written only when it was asked for.
    if (report->outcome == Outcome::kIncomplete) {
        std::vector<SettingId> missing;
        for (SettingId id : report->unrecognised) {
            if (SettingIsUsed(wanted, id) && changes.value[id] == kNoValue) missing.push_back(id);
        }
        report->unrecognised = missing;
        if (!missing.empty()) return;
        report->outcome = Outcome::kOk;
    }
    if (report->outcome != Outcome::kOk) return;
    // The type with the reader's format touch-memory: the reader would drop it and still read back "the same".
    for (int id = 0; id < kSettingCount; ++id) {
        if (changes.value[id] == kNoValue || SettingIsUsed(wanted, static_cast<SettingId>(id))) continue;
        report->outcome = Outcome::kUnusedSetting;
        return;
    }
    report->before = report->settings;
    report->changes = SettingChanges(report->settings, wanted);
    // The reader's memory wears with every write: one that holds every setting asked is left alone.
    const bool due = options.force || !report->changes.empty();
    if (options.check) report->changed = due;
    if (options.check || !due) return;
    // Interrupted before the write, the reader stays untouched; once written, it is always read back.
    if (InterruptSignal() != 0) {
        report->outcome = Outcome::kNotAttempted;
        return;
    }

    const bool usb = report->model == kReaderUsb;
    MarkWriteInHand(true, usb);
    WriteAndReadBack(handle, wanted, changes.model, report);
    MarkWriteInHand(false, usb);
}

template <typename Work>
ReaderReport OnPort(const std::string& port, Work work) {
    ReaderReport report;
    report.port = port;
    PortHandle handle = nullptr;
    if (!LinkOpen(port.c_str(), kBaudRate, &handle)) {
        report.error = PortLastError();
        report.outcome = OpenFailureOf(report.error);
        return report;
    }
    work(handle, &report);
    LinkClose(&handle);
    return report;
}

}  // namespace

ReaderReport ReadReader(const std::string& port, int model, bool usbFirst) {
    return OnPort(port, [model, usbFirst](PortHandle handle, ReaderReport* report) {
        ReadEitherModel(handle, model, usbFirst, report);
    });
}

ReaderReport WriteReader(const std::string& port, const ReaderSettings& changes, const WriteOptions& options) {
    return OnPort(port, [&changes, &options](PortHandle handle, ReaderReport* report) {
        WriteSettings(handle, changes, options, report);
    });
}
