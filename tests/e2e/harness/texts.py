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
