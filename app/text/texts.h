#pragma once

#include "base/language_id.h"

// Every language-dependent text of the program. Each field is one text slot;
// SelectLanguageTexts points all of them at one language at once.
struct TextSlots {
    const char* WindowTitle;
    const char* MenuFile;
    const char* MenuTools;
    const char* MenuHelp;
    const char* MenuQuit;
    const char* MenuLanguage;
    const char* MenuHelpItem;
    const char* MenuAbout;
    const char* ButtonSearch;
    const char* LabelVersion;
    const char* ButtonRead;
    const char* ButtonWrite;
    const char* GroupIndicators;
    const char* GroupInterfaces;
    const char* GroupIndicationControl;
    const char* GroupStandbyIndication;
    const char* GroupTouchButtonPoll;
    const char* GroupOperatingMode;
    const char* GroupOutputFormat;
    const char* GroupOutputType;
    const char* GroupIdBytes;
    const char* GroupCardsToRead;
    const char* RadioDirect;
    const char* RadioInverse;
    const char* RadioHexOrDec;
    const char* RadioDynamic;
    const char* RadioStatic;
    const char* RadioStandbyOff;
    const char* RadioPollOn;
    const char* RadioPollOff;
    const char* ProgressSearchSerial;
    const char* ProgressSearchUsb;
    const char* ProgressReadSerial;
    const char* ProgressReadUsb;
    const char* ProgressWriteSerial;
    const char* ProgressWriteUsb;
    const char* CaptionMessage;
    const char* MsgFoundSerial;
    const char* MsgFoundUsb;
    const char* MsgNotFoundSerial;
    const char* MsgNotFoundUsb;
    const char* MsgSelectPortHint;
    const char* MsgNoComPorts;
    const char* MsgErrorOpening;
    const char* MsgNoResponse;
    const char* MsgUnrecognized;
    const char* MsgInvalidCommand;
    const char* MsgSettingsWritten;
    const char* MsgSettingsRead;
    const char* MsgFirmwareUnsupported;
    const char* MsgBadInterface;
    const char* MsgBadIndicationControl;
    const char* MsgBadStandbyIndication;
    const char* MsgBadTouchButtonPoll;
    const char* MsgBadOperatingMode;
    const char* MsgBadOutputFormat;
    const char* MsgBadOutputType;
    const char* MsgBadIdBytes;
    const char* MsgBadCardsToRead;
    const char* MsgConnectionBroken;
    const char* WordDisabled;
    const char* MsgUsbDisconnected;
    const char* WordError;
    const char* MsgReadPortError;
    const char* MsgWritePortError;
    const char* MsgSaveFailed;
    const char* MsgHelpNotFound;
    const char* MsgHelpFolderHint;
    const char* MsgHelpNoViewer;
    const char* MsgInstallViewer;
    const char* MsgHelpFailed;
    const char* WordErrorCode;
};

extern const TextSlots kRussianTexts;
extern const TextSlots kEnglishTexts;

// The two language menu items read the same in either language.
extern const char* const kRussianLanguageItem;
extern const char* const kEnglishLanguageItem;

// The interface language and the slots that point at its texts.
struct LanguageState {
    int current = kLanguageRussian;
    TextSlots text{};  // filled by SelectLanguageTexts before any window exists
};
extern LanguageState g_lang;

// Points every slot at the texts of g_lang.current (English for 1, Russian otherwise).
void SelectLanguageTexts();
