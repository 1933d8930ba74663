#pragma once

// Quit, a language, Help or About chosen from the menu bar (or Quit from the right-click menu).
void OnMenuCommand(int id);
