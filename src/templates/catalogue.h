// The built-in catalogue and the working list the template chooser shows.
// Working-list indices are 1-based and stay valid for the whole run.
// Process-wide state: the working list of templates (reads and writes).
#pragma once
#include <bitset>
#include <string>
#include <vector>

#include "templates/template.h"

using a_unit_kind_set = std::bitset<NUNIT_KINDS>;

int Catalogue_Count();  // NTEMPLATES
// Copies catalogue record `index` (1 .. Catalogue_Count()).
void Get_CTemplate(a_ctemplate& ctemplate, int index);

// The working list: every catalogue record and every sheet of the user's own
// with an indexed group, sorted by
// whole-record bytes.
void Build_Template_List();
void Build_Paper_List2(const a_unit_kind_set& kindset);
// The same over other records (users' layout files, tests).
void Build_Paper_List_From(const std::vector<a_ctemplate>& records, const a_unit_kind_set& kindset);
bool Is_Template_In_Cat(const a_unit_kind_set& kindset, const a_ctemplate& ctemplate);
int TList_Count();                       // tlist_n
const a_ctemplate& TList_Get(int index); // 1 .. tlist_n

// First working-list record whose label equals `label` over 32 bytes; 0 if none.
int Find_Template(const char (&label)[32]);
int Find_Template(const std::string& label);

// Brand: the label up to the first space or NUL, '_' shown as a space.
void Extract_Brand(std::string& brand, const char (&label)[32]);
// Display form of a template name (or brand); returns its length.
int Filter_Template_Name(std::u16string& ustr, const char (&label)[32]);
std::u16string Filter_Template_Name(const std::string& label);

void UnitKind_To_Str(std::u16string& str, int kind);

// Letter bar: first record whose sort key starts with `letter` or a later
// letter up to 'Z'; 32000 when none.
int PaperBar_Find(char letter);

// Known paper sizes.
bool Is_Equal_PaperSize(a_fpoint a, a_fpoint b);
void PaperSize_To_Str(std::string& str, a_fpoint size);

// Label helpers.
void Label_Set(char (&label)[32], const std::string& text);
std::string Label_Text(const char (&label)[32]);

void Templates_Init();
void Templates_Stop();
