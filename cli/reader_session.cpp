#include "cli/reader_session.h"

#include "protocol/commands.h"
#include "protocol/reply_classifier.h"
#include "serial/serial_link.h"

namespace {

// The reader answers within the second the window program waits; the reply then ends at the first
// 60 ms gap.
constexpr std::uint32_t kFirstByteWaitMs = 1000;

struct Exchange {
    Outcome outcome = Outcome::kOk;
    std::int32_t error = 0;
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
        exchange.outcome = Outcome::kPortError;
        return exchange;
    }
    std::int32_t received = 0;
    const LinkResult read =
        LinkReadReply(handle, exchange.reply, kReplyBufferSize, &received, &exchange.error, kFirstByteWaitMs);
    if (read == kLinkError) {
        exchange.outcome = Outcome::kPortError;
    } else if (read == kLinkSilent) {
        exchange.outcome = Outcome::kNoResponse;
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

void ReadEitherModel(PortHandle handle, int model, ReaderReport* report) {
    if (model >= 0) {
        ReadSettings(handle, model, report);
        return;
    }
    ReadSettings(handle, kReaderSerial, report);
    // A USB reader does not know the serial-output reader's command, or keeps quiet about it.
    if (report->outcome != Outcome::kNoResponse && report->outcome != Outcome::kUnknownCommand) return;
    ReaderReport usb = *report;
    ReadSettings(handle, kReaderUsb, &usb);
    if (usb.outcome != Outcome::kNoResponse || report->outcome == Outcome::kNoResponse) *report = usb;
}

// Every setting in use of the settings written must have been read back the same.
void Compare(const ReaderSettings& wrote, ReaderReport* report) {
    report->mismatches = SettingChanges(report->settings, wrote);
    if (!report->mismatches.empty()) report->outcome = Outcome::kMismatch;
}

void WriteSettings(PortHandle handle, const ReaderSettings& changes, const WriteOptions& options,
                   ReaderReport* report) {
    ReadSettings(handle, changes.model, report);
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
        report->outcome = Outcome::kUnused;
        return;
    }
    report->before = report->settings;
    report->changes = SettingChanges(report->settings, wanted);
    // The reader's memory wears with every write: one that holds every setting asked is left alone.
    const bool due = options.force || !report->changes.empty();
    if (options.check) report->changed = due;
    if (options.check || !due) return;

    std::uint8_t command[kWriteCommandCapacity] = {};
    const std::int32_t length = EncodeWriteCommand(wanted, command);
    const Exchange exchange = Send(handle, command, length);
    report->outcome = exchange.outcome;
    report->error = exchange.error;
    if (exchange.outcome != Outcome::kOk) return;
    report->written = true;
    report->changed = true;
    ReadSettings(handle, changes.model, report);
    if (report->outcome == Outcome::kOk || report->outcome == Outcome::kIncomplete) {
        report->outcome = Outcome::kOk;
        report->unrecognised.clear();
        Compare(wanted, report);
    }
}

template <typename Work>
ReaderReport OnPort(const std::string& port, Work work) {
    ReaderReport report;
    report.port = port;
    PortHandle handle = nullptr;
    if (!LinkOpen(port.c_str(), kBaudRate, &handle)) {
        report.outcome = Outcome::kOpenFailed;
        report.error = PortLastError();
        return report;
    }
    work(handle, &report);
    LinkClose(&handle);
    return report;
}

}  // namespace

ReaderReport ReadReader(const std::string& port, int model) {
    return OnPort(port, [model](PortHandle handle, ReaderReport* report) { ReadEitherModel(handle, model, report); });
}

ReaderReport WriteReader(const std::string& port, const ReaderSettings& changes, const WriteOptions& options) {
    ReaderReport report = OnPort(port, [&changes, &options](PortHandle handle, ReaderReport* write) {
        WriteSettings(handle, changes, options, write);
    });
    report.writeAsked = true;
    return report;
}
