#pragma once

#include "app/text/texts.h"
#include "protocol/settings_codec.h"

// The text slot of the message for a code that is not one of the setting's values.
using TextSlot = const char* TextSlots::*;
TextSlot UnrecognisedSettingText(SettingId id);
