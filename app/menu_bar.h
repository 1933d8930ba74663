#pragma once

// File / Tools / Help from the current slots, the current language checked,
// attached to the main window.
void BuildMenuBar();
// Destroys the attached bar with its submenus and builds a new one.
void RebuildMenuBar();
