// A folder of this run of the program that only the running user can enter:
// made afresh (mode 0700) under $XDG_RUNTIME_DIR when that is the user's own
// folder, else under the temporary folder, so two running copies never share
// one. Its name carries the process id ("cirquel-PID-XXXXXX"), so that the
// folders of programs that were killed can be told and removed. It and everything in it are removed by Private_Folder_Remove and when
// the program is ended by a signal it can catch (interrupt, hang-up, quit,
// terminate), unless that signal already had a handler of its own.
// Process-wide state: the folder's path and the signal handlers it installs (reads and writes).
#pragma once
#include <string>

// The folder, made on the first call; "" when it cannot be made.
std::string Private_Folder();
// Removes the folder and its files; the next Private_Folder makes a new one.
void Private_Folder_Remove();
// The folder the private folders are made in.
std::string Private_Folder_Parent();
// Removes the private folders of this user's programs that are no longer
// running (killed before they could remove their own), with their undo
// files; called at start-up. The number removed.
int Private_Folders_Sweep();
