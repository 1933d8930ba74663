"""The program's own texts, as the bytes it hands to the ANSI API (Russian in Windows-1251)."""

RU, EN = "ru", "en"


def _bytes(table):
    return {key: text.encode("cp1251") for key, text in table.items()}


TEXTS = {
    RU: _bytes({
        "title": "MivorZentak-6 вер.1.01 (x64)",
        "file": "Файл", "quit": "Выход",
        "tools": "Инструменты", "language": "Язык",
        "help": "Помощь", "help_item": "Справка", "about": "О программе...",
        "caption": "Сообщение",
        "save_failed": "Не удалось сохранить настройки!\nПерезапустите программу.",
    }),
    EN: _bytes({
        "title": "MivorZentak-6 ver.1.01 (x64)",
        "file": "File", "quit": "Quit",
        "tools": "Tools", "language": "Language",
        "help": "Help", "help_item": "Help", "about": "About...",
        "caption": "Message",
        "save_failed": "Failed to save settings!\nRestart the program.",
    }),
}

# appconfig.ini as the program writes it: text mode, so each line ends in CR LF on disk.
SETTINGS = {
    (RU, "KRT_KRN"): b"Language = RU;\r\nTabCtrl = KRT_KRN;\r\n",
    (RU, "USB_USB"): b"Language = RU;\r\nTabCtrl = USB_USB;\r\n",
    (EN, "KRT_KRN"): b"Language = EN;\r\nTabCtrl = KRT_KRN;\r\n",
    (EN, "USB_USB"): b"Language = EN;\r\nTabCtrl = USB_USB;\r\n",
}
DEFAULT_SETTINGS = SETTINGS[(RU, "KRT_KRN")]

# Messages of the reader operations and the port watch.
MESSAGES = {
    RU: _bytes({
        "found_serial": "Считыватель Zentak-6KRT_6KRN найден!", "found_usb": "Считыватель Zentak-6-USB найден!",
        "not_found_serial": "Zentak-6KRT_6KRN не найден!", "not_found_usb": "Zentak-6-USB не найден!",
        "hint": "Если Вы уверены, что считыватель подключен к ПК,\nто выберите COM-порт из списка!",
        "no_ports": "Не найдены COM-порты в системе!", "error_opening": "Ошибка при открытие",
        "no_response": "Считыватель не ответил!\n(Попробуйте ещё раз или другой COM-порт).",
        "unrecognized": "Не удалось распознать ответ!", "invalid_command": "Неверная команда!",
        "recorded": "Настройки записаны!", "read": "Настройки считаны!",
        "firmware": "Версия прошивки не поддерживается!",
        "broken": "Соединение нарушено.", "disabled": "отключен!",
        "usb_broken": "Соединение нарушено.\n\r(Zentak-6-USB отключен!)",
    }),
    EN: _bytes({
        "found_serial": "Zentak-6KRT_6KRN reader found!", "found_usb": "Zentak-6-USB reader found!",
        "not_found_serial": "Zentak-6KRT_6KRN not found!", "not_found_usb": "Zentak-6-USB not found!",
        "hint": "If you are sure that the reader is connected to the PC,\nselect a COM port from the list!",
        "no_ports": "No COM ports found in the system!", "error_opening": "Error opening",
        "no_response": "The reader did not respond!\n(Try again or a different COM port).",
        "unrecognized": "The answer could not be recognized!", "invalid_command": "Invalid command!",
        "recorded": "Settings recorded!", "read": "Settings read!",
        "firmware": "Firmware version not supported!",
        "broken": "The connection is broken.", "disabled": "disabled!",
        "usb_broken": "Connection broken.\n\r(Zentak-6-USB disabled!)",
    }),
}
