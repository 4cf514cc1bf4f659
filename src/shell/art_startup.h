// Opening the art databases at start-up: the main database from the
// program's folders or a removable medium, then the optional patch database,
// with the alerts that refuse a missing, damaged or outdated database.
// Process-wide state: the result of opening the art databases (reads and writes); the open art
// files.
#pragma once
#include <string>
#include <vector>

#include "artdb/database.h"

extern a_openfile_result g_art_result;

// The folders searched for the main database, in order: the program's own
// folder, share/cirquel beside it, the build tree's data folder, the
// installed data folders.
std::vector<std::string> Art_Search_Folders();
// Looks for `fname` at the root of every mounted removable medium; the
// result of the last attempt (OPEN_NOTFOUND when there is none).
[[nodiscard]] a_openfile_result Find_CD(const std::string& fname);
// Opens the main database from `folders`, then from removable media; the
// result of the last attempt, with the path opened in `path`.
[[nodiscard]] a_openfile_result Art_Open_Main(const std::vector<std::string>& folders, std::string& path);

// The start-up steps: open the main database (alert 52 when it is damaged,
// 44 when it is missing), the patch database beside it, and check for the
// about-box picture (alert 40). False after an alert: the program must stop.
[[nodiscard]] bool Art_Start(const std::vector<std::string>& folders);

// Module start and stop: no database open, empty lock slots and picture
// cache; `open_databases` runs Art_Start on the standard folders.
[[nodiscard]] bool Art_Init(bool open_databases);
void Art_Stop();
