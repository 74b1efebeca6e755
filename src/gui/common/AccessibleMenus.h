#pragma once

// What a screen reader reaches: Qt leaves popup menus out of the application's accessible children, so a context
// menu (the calendar's, a day's, a note's, the editor's folder colours) could not be found while open. The program's
// accessible root lists every open menu as well, and the toolbar's separators are separators, not nameless buttons.
void InstallAccessibleMenus();
