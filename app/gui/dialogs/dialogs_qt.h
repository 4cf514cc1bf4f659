// The dialog service's presenter on screen: alerts and questions as message
// boxes with the program's own buttons.
#pragma once

void Dialogs_Qt_Install();
void Dialogs_Qt_Remove();
