#pragma once

#include "app/handles.h"

// Where lamp `lamp` (0..4) of a reader model's page is drawn at 96 DPI; null
// for a model without a page.
const PixelRect* LampBox(int readerModel, int lamp);

// The paint of the main window: the other page's lamp places in the background
// colour, then the shown page's lamps in their colours.
void PaintIndicatorPanel();
