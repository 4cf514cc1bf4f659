// The interface language of the window: our own texts through a translator
// that reads the compiled window-text tables (keyed by the English wording,
// so every tr() call site stays as it is), Qt's own dialog texts from Qt's
// translations, and the Options > Language menu that switches at once.
// Process-wide state: the installed translators; the window-rebuild hook.
#pragma once
#include <QtCore/QString>

#include <functional>

class QMenu;
class QWidget;

// Installs the translators for the interface language (Messages_Language);
// again after every change of it. Qt then sends every widget a LanguageChange.
void Gui_Apply_Language();
// The language's own name ("Deutsch", "日本語").
QString Language_Name(int language);
// Appends the Language submenu to `options`: one checkable item per language
// this build offers, the current one checked.
void Add_Language_Menu(QMenu* options, QWidget* window);
// Switches the interface language: preferences, media names, translators,
// then the hook that rebuilds the window in the new language (queued, so the
// menu item that asked is not deleted under itself).
void Gui_Switch_Language(int language);
void Gui_Set_Rebuild_Hook(std::function<void()> rebuild);
