// The user's own label sheets: layout text records kept in one file of the
// user's data folder, listed in the chooser beside the built-in ones. A sheet
// is known by its name; adding a sheet of a name already there replaces it.
// Process-wide state: the user's sheets as last read or saved (reads and writes).
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "templates/template.h"

// The file: <data folder>/cirquel/layouts/my-layouts.layout.
std::string User_Catalogue_Path();
// Makes the catalogue live under `folder` instead of the user's data folder
// (tests); empty goes back. Forgets the sheets read before.
void User_Catalogue_Folder_Set(const std::string& folder);
std::string User_Catalogue_Folder();

// Reads the file; a missing file is an empty catalogue. False with
// "file:line: what is wrong" when the file is damaged: the catalogue is then
// empty and refuses changes, so that the user's file is never overwritten.
bool User_Catalogue_Load(std::string& error);
const std::vector<a_ctemplate>& User_Catalogue();
bool Is_User_Template(const char (&label)[32]);
const a_ctemplate* User_Template(const char (&label)[32]);

// Adds every sheet of a layout text file (`name` is used in messages).
// All or nothing: on any fault nothing is added, and `error` is
// "name:line: what is wrong". `added` receives the names taken in.
bool User_Catalogue_Add_Text(std::string_view text, const std::string& name, std::string& error,
                             std::vector<std::string>* added = nullptr);
bool User_Catalogue_Add_File(const std::string& path, std::string& error,
                             std::vector<std::string>* added = nullptr);
// Removes the sheet named `label`; false with a message when there is none.
bool User_Catalogue_Remove(const std::string& label, std::string& error);

// Sheets carried by projects opened this run that neither catalogue has:
// listed in the chooser for the rest of the run, and written again when the
// project is saved. A sheet of the same name replaces the one before.
void Project_Sheet_Add(const a_ctemplate& t);
// The record of a sheet of the user's own or carried by a project; null for
// built-in sheets and unknown names.
const a_ctemplate* Own_Sheet_Record(const char (&label)[32]);
const std::vector<a_ctemplate>& Project_Sheets();

// A record's fault as the catalogue would see it, or "": the designer's
// checks, and a name that is not one of the built-in sheets.
std::string User_Record_Fault(const a_ctemplate& t);
