// List-view helpers shared by the settings pages' report lists.
#pragma once

#include <windows.h>

// Grid lines, full-row and border selection, added to the list's own extended styles.
void AddGridListStyles(HWND list);
// Inserts a left-aligned column with the heading and width at index.
void InsertListColumn(HWND list, int index, const char* heading, int width);
