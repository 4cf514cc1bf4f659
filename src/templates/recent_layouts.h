// Recently used layouts: twenty slots kept with the preferences, and the six
// boxes of the chooser (three most used, then the most recent others).
// Process-wide state: the recent-layouts list in the preferences g_pref (reads and writes); the
// working list.
#pragma once
#include <string>

enum : int { RECENTLAY_NBOX_TOT = 6, RECENTLAY_NBOX_H = 3, RECENTLAY_NBOX_V = 2, DELBOX_SIZE = 10 };

// Working-list indices shown in the boxes; 0 ends the list. Index 0 unused.
extern int recent_layouts[RECENTLAY_NBOX_TOT + 1];

void RecentLay_Add(const std::string& label);
void RecentLay_BuildList();
int RecentLay_Count();
void RecentLay_Clean();
int RecentLay_Find(const std::string& label);  // slot 1..20, 0 if none
int RecentLay_FindEmpty();
int RecentLay_FindLeast();
// Slots in order of the sort, most first (index 0 unused).
void RecentLay_SortByWhen(int (&slots)[21]);
void RecentLay_SortByCount(int (&slots)[21]);
bool Is_In_MostOften(int index);
void Remove_Recent_Layout(int index);
