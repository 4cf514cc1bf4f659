// The Edit and Arrange menus over the document: cut, copy and paste through
// the system clipboard (our private block formats first, then a picture,
// then plain text), select all and none, stacking, centring, placing at
// fractions of the unit, and the photo fit and cover commands.
// Process-wide state: the system clipboard, the document, the phase.
#pragma once
#include <string>

struct a_masked_gworld;

// Cut (`cut`) or copy: the selected text while text is edited, else the
// first selected block; false (with the refusal sound) when nothing can be.
bool Edit_Copy(bool cut);
// Paste; false (with the refusal sound) when nothing could be pasted.
bool Edit_Paste();
// Why the last paste refused a block of ours on the clipboard (one line), or
// empty.
const std::string& Edit_Paste_Refusal();
// A pasted picture becomes a photo block with the photo tools chosen; the
// picture is taken.
bool Do_Paste_MW(a_masked_gworld& mw);
// Pasted text: inserted at the caret while text is edited, else a new text
// block with the text tools chosen.
bool Do_Paste_UTF16(const std::u16string& text);
// Select All (`all`) or Select None: characters while text is edited, else
// blocks of the phase.
void Edit_Select(bool all);

// Installs the Edit (404 to 408) and Arrange commands; the command table's
// stop removes them with the rest.
void Edit_Commands_Init();
