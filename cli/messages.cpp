#include "cli/messages.h"

#include <cstring>

#include "app/text/format.h"
#include "cli/system_glue.h"
#include "protocol/setting_texts.h"

namespace {

const ConsoleTexts kEnglish = {
    &kEnglishTexts,
    "No reader found.",
    "Read back different:",
    "wrote %s, read back %s",
    "Written, but not verified:",
    "not known",
    "not used",
    "The reader reported settings this program does not know; give them explicitly:",
    "system error",
    "line",
    {"", "expected key = value", "the first setting must be model = krx or model = usb", "unknown model",
     "unknown setting", "the setting belongs to the other reader model", "wrong value", "the setting is given twice",
     "type is not used with format = touch-memory", "settings of both reader models given",
     "the profile is larger than 64 KiB", "the line is longer than 1 KiB"},
    "one of:",
    "%d of %d readers configured: %d changed, %d unchanged, %d failed",
    "%d of %d readers read, nothing written: %d differ, %d unchanged, %d failed",
    "Waiting for readers to be plugged in (Ctrl+C ends); the %d ports present now are left alone.",
    "not attempted (interrupted):",
    "output could not be written",
    "ports done",
    "Error opening",
    {"no such port", "another program holds the port",
     "permission denied; serial ports belong to the dialout group: sudo adduser $USER dialout, then log in "
     "again",
     "not a serial port"},
    "the reader answers as model %s, not as %s",
    "not attempted: the run was interrupted",
    "(changed)",
    "The settings of %s saved to %s:",
    "no serial ports found",
    "skipped",
    {"the kernel's console", "no UART behind it", "no device behind it"},
};

const ConsoleTexts kRussian = {
    &kRussianTexts,
    "Считыватель не найден.",
    "Считано не то, что записано:",
    "записано %s, считано %s",
    "Записано, но не проверено:",
    "не распознано",
    "не используется",
    "Считыватель сообщил настройки, неизвестные программе; задайте их явно:",
    "системная ошибка",
    "строка",
    {"", "ожидается ключ = значение", "первой настройкой должна быть model = krx или model = usb", "неизвестная модель",
     "неизвестная настройка", "настройка другой модели считывателя", "неверное значение", "настройка задана дважды",
     "type не используется при format = touch-memory", "заданы настройки обеих моделей считывателя",
     "профиль больше 64 КиБ", "строка длиннее 1 КиБ"},
    "допустимо:",
    "%d из %d считывателей настроены: изменено %d, без изменений %d, ошибок %d",
    "%d из %d считывателей прочитаны, ничего не записано: отличаются %d, без изменений %d, ошибок %d",
    "Ожидание подключения считывателей (Ctrl+C завершает); уже подключённые порты (%d) не затрагиваются.",
    "не начаты (прервано):",
    "вывод не удалось записать",
    "портов опрошено",
    "Ошибка при открытии",
    {"такого порта нет", "порт занят другой программой",
     "нет доступа; последовательные порты принадлежат группе dialout: sudo adduser $USER dialout, затем "
     "войдите в систему заново",
     "не последовательный порт"},
    "считыватель отвечает как модель %s, а не %s",
    "не начато: работа прервана",
    "(изменено)",
    "Настройки %s сохранены в %s:",
    "последовательные порты не найдены",
    "пропущен",
    {"консоль ядра", "за ним нет UART", "за ним нет устройства"},
};

}  // namespace

std::string ValueName(SettingId id, int model, int value, const ConsoleTexts& texts) {
    const ModelInfo* info = ModelInfoOf(model);
    for (int k = 0; info != nullptr && k < info->count; ++k) {
        const SettingInfo& setting = info->settings[k];
        if (setting.id == id && value >= 0 && value < setting.valueCount) return setting.values[value].name;
    }
    return texts.notKnown;
}

const ConsoleTexts& ConsoleTextsFor(bool russian) { return russian ? kRussian : kEnglish; }

std::string OneLine(const char* text) {
    std::string line;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '\r') continue;
        line.push_back(*c == '\n' ? ' ' : *c);
    }
    return line;
}

std::string DescribeFailure(const ConsoleTexts& texts, const ReaderReport& report) {
    if (report.written && report.outcome != Outcome::kOk && report.outcome != Outcome::kMismatch) {
        ReaderReport readBack = report;
        readBack.written = false;
        return std::string(texts.notVerified) + " " + DescribeFailure(texts, readBack);
    }
    const TextSlots& program = *texts.program;
    // A write cut short by its time-out failed without a system error.
    const std::string systemError = report.error == 0
                                        ? std::string()
                                        : " (" + std::string(texts.systemError) + " " + std::to_string(report.error) +
                                              ": " + SystemErrorText(report.error) + ")";
    switch (report.outcome) {
        case Outcome::kOk:
            return program.MsgSettingsRead;
        case Outcome::kNotFound:
        case Outcome::kBusy:
        case Outcome::kPermissionDenied:
        case Outcome::kNotASerialPort: {
            const int reason = static_cast<int>(report.outcome) - static_cast<int>(Outcome::kNotFound);
            return std::string(texts.errorOpening) + ": " + texts.openReasons[reason] + systemError;
        }
        case Outcome::kOpenFailed:
            return texts.errorOpening + systemError;
        case Outcome::kNoAnswer:
            return OneLine(program.MsgNoResponse);
        case Outcome::kUnknownCommand:
            return program.MsgInvalidCommand;
        case Outcome::kUnrecognised:
            return program.MsgUnrecognized;
        case Outcome::kFirmware:
            return program.MsgFirmwareUnsupported;
        case Outcome::kWrongModel:
            return FormatText(texts.wrongModel, ModelInfoOf(report.model)->name, ModelInfoOf(report.askedModel)->name);
        case Outcome::kUnusedSetting:
            return texts.profileErrors[static_cast<int>(ProfileError::kUnused)];
        case Outcome::kIoError:
            return std::string(program.WordError) + systemError;
        case Outcome::kNotAttempted:
            return texts.notAttempted;
        case Outcome::kIncomplete: {
            std::string text = texts.incomplete;
            for (SettingId id : report.unrecognised) {
                text += std::string(" ") + KeyOfSetting(report.model, id) + " (" +
                        program.*UnrecognisedSettingText(id) + ")";
            }
            return text;
        }
        case Outcome::kMismatch: {
            std::string text = texts.readBackDiffers;
            for (const SettingChange& m : report.mismatches) {
                text += std::string(" ") + KeyOfSetting(report.model, m.id) + ": " +
                        FormatText(texts.wroteReadBack, ValueName(m.id, report.model, m.to, texts).c_str(),
                                   ValueName(m.id, report.model, m.from, texts).c_str());
            }
            return text;
        }
    }
    return std::string();
}

std::string FailureLine(const ConsoleTexts& texts, const ReaderReport& report) {
    return report.port + ": " + ResultCode(report.outcome) + ": " + DescribeFailure(texts, report);
}

std::string DescribeProfileError(const ConsoleTexts& texts, const ProfileResult& result, const std::string& file) {
    std::string text;
    if (!file.empty()) text = file + ": ";
    if (result.line > 0) text += std::string(texts.profileLine) + " " + std::to_string(result.line) + ": ";
    text += texts.profileErrors[static_cast<int>(result.error)];
    // A subject of some length is a file that is no profile: a piece of it says enough.
    constexpr std::size_t kShown = 40;
    std::string subject = result.subject;
    if (subject.size() > kShown) {
        std::size_t cut = kShown;
        while (cut > 0 && (static_cast<unsigned char>(subject[cut]) & 0xC0) == 0x80) --cut;  // not inside a letter
        subject = subject.substr(0, cut) + "...";
    }
    if (!subject.empty()) text += " '" + subject + "'";
    if (!result.allowed.empty()) text += std::string("; ") + texts.allowedValues + " " + result.allowed;
    return text;
}
