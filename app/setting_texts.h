#pragma once

#include "app/texts.h"
#include "protocol/settings_codec.h"

// The text slot of the message for a code that is not one of the setting's values.
using TextSlot = const char* TextSlots::*;
TextSlot UnrecognisedSettingText(SettingId id);
