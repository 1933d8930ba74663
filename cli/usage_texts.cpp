#include "cli/usage_texts.h"

namespace {

const UsageTexts kEnglish = {
    "mz6 - reads and writes the settings of Zentak-6 card readers on serial ports.",
    {"Keys (krx: serial-output reader):", "Keys (usb: USB reader):"},
    "(type only with format=hex-dec)",
    "Results (result in --json, the code after the port in text):",
    "Exit status: 0 success; 1 a port failed, no reader was found, output was lost or a file not written;\n  2 "
    "wrong usage, profile or key; 3 watch's log could not be written; 130 interrupted (SIGINT), 143 terminated\n  "
    "(SIGTERM), 129 hang-up (SIGHUP).",
    "Completion of commands, options, keys with their values, ports and file names: bash, with the Linux package.",
    "Maker: ",
    {"List every serial port, and which one is a USB reader",
     "Ask every port (or the ones given) at once; list the readers", "Version and settings of one reader",
     "Change settings: read, change, write, read back to verify", "Write the reader's settings into a profile file",
     "One profile onto many readers at once, each verified",
     "Apply a profile to each reader as it is plugged in, until Ctrl+C"},
    "Language of the messages",
    "JSON output for scripts",
    "Print the name and version and exit",
    "Print this help message and exit",
    "A port to ask (repeatable)",
    "The reader's port: COM4, /dev/ttyUSB0",
    "A reader's port (repeatable)",
    "Reader model (default: what answers)",
    "The settings to change",
    {"Profile file to write (- for standard output)", "Profile file (- for standard input)"},
    "Every port that find would ask",
    "Write even when the reader holds every setting asked",
    "Read and list what would change; write nothing",
    "Only the ports whose path or name matches (repeatable): '/dev/serial/by-id/*', 'COM1?'",
    "Append one JSON line per reader to this file",
    "Examples:\n"
    "  mz6 apply site.profile --all --check    what would change on each reader (differs); nothing written\n"
    "  mz6 apply site.profile --all            writes only the readers that differ: changed / unchanged\n"
    "  mz6 write --port COM4 --force standby=off    writes even when the reader already holds it\n"
    "  mz6 watch site.profile --port '/dev/serial/by-id/*' --log readers.jsonl\n"
    "                                          each reader as it is plugged in, a JSON line each in the log",
    {"Usage", "OPTIONS", "SUBCOMMAND", "Positionals", "REQUIRED", "Excludes", "Needs"},
    "Options",
    "Subcommands",
    "unknown command '%s'",
    "unknown option '%s'",
    "; did you mean %s?",
    "a command is required: ports, find, read, write, save, apply or watch",
    "%s: give the reader's port with --port (COM4, /dev/ttyUSB0)",
    "the port name is empty",
    "write: give the settings to change as key=value (interface=wiegand26)",
    {"%s: give the profile file to write", "%s: give the profile file (- for standard input)"},
    "apply: give --port P (one or more) or --all",
    "apply: --port and --all exclude each other",
    "wrong value '%s' for %s; one of: %s",
    "%s needs a value",
    "%s is given twice",
    "unexpected argument '%s'",
    "; give the port with --port: %s",
    "Run mz6 --help for more information.",
    "watch: --port '%s' can match no port (a '[' without its ']', or a folder)",
};

const UsageTexts kRussian = {
    "mz6 — читает и записывает настройки считывателей карт Zentak-6 на последовательных портах.",
    {"Ключи (krx: считыватель с последовательным выходом):", "Ключи (usb: USB-считыватель):"},
    "(type только при format=hex-dec)",
    "Результаты (result в --json, код после порта в тексте):",
    "Код выхода: 0 успех; 1 ошибка на порту, считыватель не найден, вывод или файл не записан;\n  2 неверный "
    "вызов, профиль или ключ; 3 журнал watch не удалось записать; 130 прервано (SIGINT), 143 завершено\n  "
    "(SIGTERM), 129 обрыв связи (SIGHUP).",
    "Дополнение команд, параметров, ключей со значениями, портов и имён файлов: bash, с пакетом для Linux.",
    "Производитель: ",
    {"Все последовательные порты и какой из них USB-считыватель",
     "Опросить все порты (или заданные) одновременно; список считывателей", "Версия и настройки одного считывателя",
     "Изменить настройки: считать, изменить, записать, считать для проверки",
     "Записать настройки считывателя в файл профиля",
     "Один профиль на много считывателей одновременно, каждый с проверкой",
     "Применять профиль к каждому считывателю при подключении, до Ctrl+C"},
    "Язык сообщений",
    "Вывод JSON для сценариев",
    "Показать название и версию и выйти",
    "Показать эту справку и выйти",
    "Порт для опроса (можно несколько раз)",
    "Порт считывателя: COM4, /dev/ttyUSB0",
    "Порт считывателя (можно несколько раз)",
    "Модель считывателя (по умолчанию: какая ответит)",
    "Настройки для изменения",
    {"Файл профиля для записи (- для стандартного вывода)", "Файл профиля (- для стандартного ввода)"},
    "Все порты, которые опросила бы find",
    "Записывать, даже если все заданные настройки уже стоят",
    "Прочитать и перечислить, что изменилось бы; ничего не записывать",
    "Только порты, путь или имя которых подходит под шаблон (можно несколько раз): '/dev/serial/by-id/*', 'COM1?'",
    "Дописывать в этот файл по строке JSON на считыватель",
    "Примеры:\n"
    "  mz6 apply site.profile --all --check    что изменилось бы на каждом считывателе (differs); ничего не записано\n"
    "  mz6 apply site.profile --all            записывает только отличающиеся: changed / unchanged\n"
    "  mz6 write --port COM4 --force standby=off    записывает, даже если настройка уже стоит\n"
    "  mz6 watch site.profile --port '/dev/serial/by-id/*' --log readers.jsonl\n"
    "                                          каждый считыватель при подключении, по строке JSON в журнале",
    {"Использование", "ПАРАМЕТРЫ", "КОМАНДА", "Аргументы", "ОБЯЗАТЕЛЬНО", "Исключает", "Требует"},
    "Параметры",
    "Команды",
    "неизвестная команда «%s»",
    "неизвестный параметр «%s»",
    "; возможно, имелось в виду %s?",
    "нужна команда: ports, find, read, write, save, apply или watch",
    "%s: укажите порт считывателя через --port (COM4, /dev/ttyUSB0)",
    "пустое имя порта",
    "write: укажите изменяемые настройки в виде ключ=значение (interface=wiegand26)",
    {"%s: укажите файл профиля для записи", "%s: укажите файл профиля (- для стандартного ввода)"},
    "apply: укажите --port P (один или несколько) или --all",
    "apply: --port и --all вместе не задаются",
    "неверное значение «%s» для %s; допустимо: %s",
    "%s требует значения",
    "%s задан дважды",
    "лишний аргумент «%s»",
    "; порт указывается через --port: %s",
    "Подробнее: mz6 --help.",
    "watch: --port «%s» не подходит ни к одному порту («[» без «]» или папка)",
};

}  // namespace

const UsageTexts& UsageTextsFor(bool russian) { return russian ? kRussian : kEnglish; }
