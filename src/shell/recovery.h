// Save-recovery: when a fatal error ends the program with a changed document,
// the document is saved as a recovery project, and the next start offers it.
// The save itself is the project writer's, reached through a service.
// Process-wide state: the recovery save service and the hook in the message
// services (installed by Recovery_Init).
#pragma once
#include <string>
#include <vector>

#include "base/notice.h"

// Writes the open document to `path` as a project that only its owner may
// read; false with "path: reason" in `error` when it failed.
extern a_service<bool(const std::string& path, std::string* error)> g_recovery_save;

// "<data home>/Cirquel/recovery".
std::string Recovery_Folder(const std::string& data_home);
// Where a recovery goes when its folder cannot take it: beside the private
// folders of the undo files ("cirquel-recovery").
std::string Recovery_Fallback_Folder();
// The path a recovery of the document called `name` gets at `stamp` (a
// file-name-safe time), inside `folder`.
std::string Recovery_Path(const std::string& folder, const std::string& name, const std::string& stamp);
// The recovery projects waiting in `folder`, full paths, oldest name first.
std::vector<std::string> Recovery_Pending(const std::string& folder);

// The hook itself: saves a changed open document into `folder` (made 0700,
// the project 0600), else into `fallback`, telling the user where it went;
// when neither can take it the user is told so, with the reason. False when
// there was nothing to save or the save failed.
bool Recovery_Save_Now(const std::string& folder, const std::string& fallback = Recovery_Fallback_Folder());

// Opens a recovery project as a changed, unnamed document; false when it
// could not be read.
extern a_service<bool(const std::string& path)> g_recovery_open;

// At start: offers each waiting recovery project in turn (Open or Later). An
// opened one leaves the folder; one left for later stays. Nothing is offered
// while no project reader is installed. Returns how many were opened.
int Recovery_Offer(const std::string& folder);

// Installs the hook into the fatal reports (the folder under the user's data
// home); Recovery_Stop removes it.
void Recovery_Init();
void Recovery_Stop();
