// The desktop's list of recently used files (the XDG recently-used.xbel in
// the user's data folder), so that projects show up in the file dialogs and
// launchers of the desktop.
// Process-wide state: none (the list is a file of the user's).
#pragma once
#include <string>

// Adds (or moves to the front, with a new time) the file at `path`, under
// `mime_type`, for this program. False when the list could not be written;
// the list is never left half-written.
[[nodiscard]] bool Recent_Document_Add(const std::string& path, const std::string& mime_type);
// The list's file: $XDG_DATA_HOME/recently-used.xbel, or the default folder's.
std::string Recent_Documents_File();
