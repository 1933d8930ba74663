#include "ui/tab_pages.h"

TabPageState g_tabs;
