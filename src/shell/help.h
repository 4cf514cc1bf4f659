// Contextual help: a topic per phase, HTML pages per language, and the
// maker's web page. Showing a page is the window's (its help window, or a
// browser); these rules say which page.
// Process-wide state: the page opener service (installed by the window).
#pragma once
#include <string>
#include <vector>

#include "base/notice.h"
#include "ui/phase.h"

int Help_Topic(a_phase phase);
// The page of `topic`: "<folder>/<language code>/<topic>.html" in the first
// of `folders` that holds it, English when the language lacks it; "" when
// no folder holds either.
std::string Help_Page_Path(const std::vector<std::string>& folders, int language, int topic);
// The help folders: "help" inside the installed data folders and the source
// tree's share/cirquel.
std::vector<std::string> Help_Folders();

// The topic's name, from its page's title ("Photos"); "Cirquel" when the
// page is missing or has none.
std::string Help_Topic_Name(const std::vector<std::string>& folders, int language, int topic);
// The contextual help item's text with "XXX" replaced by the topic's name.
std::string Help_Menu_Text(const std::string& item_text, const std::string& topic_name);

// Opens a file or web address in the user's browser; false when it could not.
extern a_service<bool(const std::string& url)> g_open_url;
// Shows a help page (a local file) in the program's own help window, which
// needs no browser; false when it could not. Without one the page goes to
// the browser.
extern a_service<bool(const std::string& path)> g_show_help_page;

// Help topic `topic` in the interface language; alert 50 when it is missing
// or cannot be shown.
void Help_Show(int topic);
// Help on the current phase.
void Help_Contextual();
// The maker's web page (identity string 7); alert 35 when no browser opens it.
void Help_Web_Page();
