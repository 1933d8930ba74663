#include "cli/messages.h"

#include <cstring>

#include "base/format.h"
#include "cli/system_glue.h"
#include "cli/utf8_sequences.h"
#include "protocol/setting_texts.h"

namespace {

const ConsoleTexts kEnglish = {
    &kEnglishTexts,
    "no reader found",
    "Read back different:",
    "wrote %s, read back %s",
    "Written, but not verified:",
    "not known",
    "not used",
    "The reader reported settings this program does not know; give them explicitly:",
    "system error",
    "line",
    {"", "'%s' is not key = value", "model = krx or model = usb must be the first setting",
     "%s cannot be '%s'; one of: %s", "'%s' is not a setting", "%s belongs to the other reader model",
     "%s cannot be '%s'; one of: %s", "%s is given twice", "type is not used with format = touch-memory",
     "%s belongs to the other reader model than the settings before it", "the profile is larger than 64 KiB",
     "the line is longer than 1 KiB"},
    "%d of %d readers configured: %d changed, %d unchanged, %d failed",
    "%d of %d readers read, nothing written: %d differ, %d unchanged, %d failed",
    "Waiting for readers to be plugged in (Ctrl+C ends); the %d ports present now are left alone.",
    "not attempted (interrupted):",
    "output could not be written",
    "ports done",
    "Error opening",
    {"no such port", "another program holds the port", "permission denied", "not a serial port"},
    "the reader answers as model %s, not as %s",
    "the run was interrupted",
    "the reader is model %s, the profile is for %s",
    "skipped (other model):",
    "no reader of model %s to configure",
    "the reader went away",
    "unplugged:",
    "the log %s could not be written (%s); watch stopped",
    "not in the log:",
    "(changed)",
    "The settings of %s saved to %s:",
    "standard input is closed: give the profile on it, or name its file",
    "standard input is a folder, not a profile",
    "%s is %s, not a file: save replaces only files (save ... - prints the profile)",
    {"a loop of links", "a folder", "a device", "a fifo", "a socket"},
    "cannot create a file in the folder %s: %s",
    "%s: its owner and group cannot be kept (%s)",
    "the file is left as it was",
    "no serial ports found",
    "skipped",
    {"the kernel's console", "no UART behind it", "no device behind it"},
    "%s now leads elsewhere than when the reader was asked",
    "the reader did not answer within 1 s",
    "the port went away",
    "MZ6_SYSTEM_ROOT (%s) is not a folder",
    "no setting differs: --force writes every setting as it is",
    "the port belongs to the group %s: sudo adduser $USER %s, then log in again",
    "you are in the group %s, but this session began before: log in again (or start a shell with newgrp %s)",
    "the port's node is %s %s:%s %04o; udev may not have set it up yet (or a rule keeps it from you)",
    "argument %d is not valid Unicode (it holds half of a surrogate pair), so it names no file mz6 can use: %s",
    "the log %s is a link: watch writes its log into a file of that name, never through a link",
};

const ConsoleTexts kRussian = {
    &kRussianTexts,
    "считыватель не найден",
    "Считано не то, что записано:",
    "записано %s, считано %s",
    "Записано, но не проверено:",
    "не распознано",
    "не используется",
    "Считыватель сообщил настройки, неизвестные программе; задайте их явно:",
    "системная ошибка",
    "строка",
    {"", "«%s» — не ключ = значение", "model = krx или model = usb должна быть первой настройкой",
     "%s не может быть «%s»; допустимо: %s", "«%s» — не настройка", "%s — настройка другой модели считывателя",
     "%s не может быть «%s»; допустимо: %s", "%s задана дважды", "type не используется при format = touch-memory",
     "%s — настройка другой модели считывателя, чем заданные до неё", "профиль больше 64 КиБ", "строка длиннее 1 КиБ"},
    "%d из %d считывателей настроены: изменено %d, без изменений %d, ошибок %d",
    "%d из %d считывателей прочитаны, ничего не записано: отличаются %d, без изменений %d, ошибок %d",
    "Ожидание подключения считывателей (Ctrl+C завершает); уже подключённые порты (%d) не затрагиваются.",
    "не начаты (прервано):",
    "вывод не удалось записать",
    "портов опрошено",
    "Ошибка при открытии",
    {"такого порта нет", "порт занят другой программой", "нет доступа", "не последовательный порт"},
    "считыватель отвечает как модель %s, а не %s",
    "работа прервана",
    "считыватель модели %s, а профиль для %s",
    "пропущены (другая модель):",
    "нет считывателя модели %s для настройки",
    "считыватель пропал",
    "отключены:",
    "журнал %s не удалось записать (%s); наблюдение остановлено",
    "нет в журнале:",
    "(изменено)",
    "Настройки %s сохранены в %s:",
    "стандартный ввод закрыт: подайте профиль на него или укажите его файл",
    "стандартный ввод — папка, а не профиль",
    "%s — %s, а не файл: save заменяет только файлы (save ... - выводит профиль)",
    {"петля ссылок", "папка", "устройство", "канал (fifo)", "сокет"},
    "не удалось создать файл в папке %s: %s",
    "%s: не удаётся сохранить владельца и группу (%s)",
    "файл оставлен как был",
    "последовательные порты не найдены",
    "пропущен",
    {"консоль ядра", "за ним нет UART", "за ним нет устройства"},
    "%s теперь ведёт не туда, куда вёл, когда опрашивался считыватель",
    "считыватель не ответил за 1 с",
    "порт исчез",
    "MZ6_SYSTEM_ROOT (%s) — не папка",
    "ни одна настройка не отличается: с --force все настройки записываются как есть",
    "порт принадлежит группе %s: sudo adduser $USER %s, затем войдите в систему заново",
    "вы в группе %s, но этот сеанс начат раньше: войдите в систему заново (или откройте оболочку через newgrp %s)",
    "узел порта — %s %s:%s %04o; возможно, udev ещё не настроил его (или правило не даёт вам доступа)",
    "аргумент %d — недопустимый Юникод (в нём половина суррогатной пары), и файла с таким именем mz6 не откроет: %s",
    "журнал %s — ссылка: watch пишет журнал в файл с этим именем, но никогда через ссылку",
};

// What keeps the user from the port and what to do, by its node and the user's groups as they are now; ""
// where nothing is known.
std::string AccessAdviceText(const ConsoleTexts& texts, const PortAccess& access) {
    const auto named = [](const std::string& name, std::uint32_t id) {
        return name.empty() ? std::to_string(id) : name;
    };
    const std::string group = named(access.groupName, access.group);
    switch (AdviceOn(access)) {
        case AccessAdvice::kNone:
            return std::string();
        case AccessAdvice::kJoinGroup:
            return FormatText(texts.joinGroup, group.c_str(), group.c_str());
        case AccessAdvice::kLogInAgain:
            return FormatText(texts.logInAgain, group.c_str(), group.c_str());
        case AccessAdvice::kNodeAsIs:
            return FormatText(texts.nodeAsIs, Escaped(access.node).c_str(),
                              named(access.ownerName, access.owner).c_str(), group.c_str(),
                              static_cast<unsigned>(access.mode));
    }
    return std::string();
}

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
            const std::string advice = report.outcome == Outcome::kPermissionDenied
                                           ? AccessAdviceText(texts, LookAtPortAccess(report.port))
                                           : std::string();
            return std::string(texts.errorOpening) + ": " + texts.openReasons[reason] +
                   (advice.empty() ? "" : "; " + advice) + systemError;
        }
        case Outcome::kOpenFailed:
            return texts.errorOpening + systemError;
        case Outcome::kNoAnswer:
            return texts.noAnswer;
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
            return texts.portWentAway + systemError;
        case Outcome::kNotAttempted:
            return texts.notAttempted;
        case Outcome::kOtherModel:
            return FormatText(texts.otherModel, ModelInfoOf(report.model)->name, ModelInfoOf(report.askedModel)->name);
        case Outcome::kUnplugged:
            return texts.unplugged;
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
    return Escaped(report.port) + ": " + ResultCode(report.outcome) + ": " + DescribeFailure(texts, report);
}

std::string DescribeProfileError(const ConsoleTexts& texts, const ProfileResult& result, const std::string& file) {
    // A subject of some length is a file that is no profile: a piece of it says enough. Escaped before the
    // format takes it, as a NUL would end it there.
    const auto shown = [](std::string text) {
        constexpr std::size_t kShown = 40;
        if (text.size() > kShown) {
            std::size_t cut = kShown;
            while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // not inside a letter
            text = text.substr(0, cut) + "...";
        }
        return Escaped(text);
    };
    std::string text = FormatText(texts.profileErrors[static_cast<int>(result.error)], shown(result.subject).c_str(),
                                  shown(result.value).c_str(), result.allowed.c_str());
    if (result.line > 0) return text + " (" + texts.profileLine + " " + std::to_string(result.line) + ")";
    if (!file.empty()) return Escaped(file) + ": " + text;
    return text;
}
