#include "protocol/setting_texts.h"

TextSlot UnrecognisedSettingText(SettingId id) {
    switch (id) {
        case kSettingInterface:
            return &TextSlots::MsgBadInterface;
        case kSettingIndicationControl:
            return &TextSlots::MsgBadIndicationControl;
        case kSettingStandbyIndication:
            return &TextSlots::MsgBadStandbyIndication;
        case kSettingTouchButtonPoll:
            return &TextSlots::MsgBadTouchButtonPoll;
        case kSettingOperatingMode:
            return &TextSlots::MsgBadOperatingMode;
        case kSettingOutputFormat:
            return &TextSlots::MsgBadOutputFormat;
        case kSettingOutputType:
            return &TextSlots::MsgBadOutputType;
        case kSettingIdBytes:
            return &TextSlots::MsgBadIdBytes;
        default:
            return &TextSlots::MsgBadCardsToRead;
    }
}
