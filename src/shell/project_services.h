// The project file behind the services that the lower layers call without
// knowing it: printing a project from the command line, and the recovery
// save and open of a document a fatal error interrupted.
// The file commands of the menus are installed here too.
// Process-wide state: g_file_services.print_document, g_recovery_save and
// g_recovery_open (installed here); the document g_doc through them; the
// file commands of the command table; the phase.
#pragma once
#include <string>

// Opens the recovery project at `path` as a changed document that was never
// saved, so that it is not written back over the recovery file. False (alert
// 10) when it cannot be read, or when a changed document is open.
[[nodiscard]] bool Recovery_Open_Project(const std::string& path);

// Opens the project at `path` (asking for one when empty) as File/Open does,
// from the menu, the start screen, the command line or a drop: after the
// save-changes question. An opened project shows in the editing phase, with
// what could not be restored told in one message; a failed read leaves the
// start screen.
void Open_Project_Command(const std::string& path);

void Project_Services_Init();
void Project_Services_Stop();
