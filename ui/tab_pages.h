#pragma once

// The two tab pages; the reader model is the index of the selected tab (g_shell.readerModel).

// Shows the first tab's page (hiding the second's), selects each group's
// default, disables the shared cards group and sets the page's lamp colours.
void ShowSerialReaderPage();
// The same for the second tab; also enables HEX, DEC and the cards group.
void ShowUsbReaderPage();
// The routine of the current reader model; nothing for any other value.
void ShowPageOfReaderModel();
