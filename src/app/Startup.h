// The program's windows as start-up makes them.
#pragma once
#include "ui/Application.h"

// Creates the four windows in start-up order (the main window first; each
// one's creation handler runs as it is made), all hidden, and connects them
// to each other, to the pre-operation notice and to the power actions.
void CreateWindows(ui::TApplication& application);
