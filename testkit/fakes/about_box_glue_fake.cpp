#include "app/about_box_glue.h"
#include "testkit/fakes/fakes.h"

// The dialog closes at once, its template kept; the About box is seen end to end.
void RunAboutDialog(WindowHandle, int templateId) { g_fakeWindow.aboutTemplate = templateId; }
