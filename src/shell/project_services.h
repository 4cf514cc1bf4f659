// The project file behind the services that the lower layers call without
// knowing it: printing a project from the command line, and the recovery
// save and open of a document a fatal error interrupted.
// Process-wide state: g_file_services.print_document, g_recovery_save and
// g_recovery_open (installed here); the document g_doc through them.
#pragma once
#include <string>

// Opens the recovery project at `path` as a changed document that was never
// saved, so that it is not written back over the recovery file. False (alert
// 10) when it cannot be read, or when a changed document is open.
[[nodiscard]] bool Recovery_Open_Project(const std::string& path);

void Project_Services_Init();
void Project_Services_Stop();
