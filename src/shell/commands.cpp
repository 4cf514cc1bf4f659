#include "shell/commands.h"

#include "base/messages.h"
#include "shell/edit_cmds.h"

#include <map>

#include "base/prefs.h"
#include "model/document.h"
#include "model/history.h"
#include "model/layout_switch.h"
#include "platform/sound.h"
#include "shell/help.h"
#include "shell/mainloop.h"
#include "shell/menus.h"
#include "ui/interface.h"

namespace {

std::map<int, a_command_fn> g_doers;

// What each command needs that is not built yet; "" for those built here or
// by the window.
struct a_command_row {
    int command;
    const char* needs;
};

const char kPrint[] = "Needs the print window";
const char kHistoryPanel[] = "Needs the history panel, which is not built yet";
const char kEdit[] = "Needs the editing phases, which are not built yet";
const char kTracks[] = "Needs track-list import, which is not built yet";

const a_command_row kTable[] = {
    {201, ""},     {301, ""},     {302, ""},        {303, ""},     {304, ""},      {305, ""},
    {306, ""},     {308, kPrint}, {309, kPrint},    {311, ""},     {401, ""},      {402, ""},
    {404, kEdit},  {405, kEdit},  {406, kEdit},     {407, kEdit},  {408, kEdit},   {501, kHistoryPanel},
    {502, kEdit},  {503, ""},     {505, ""},        {506, ""},     {508, ""},      {1001, ""},
    {1002, ""},    {1004, ""},    {1005, ""},       {1006, ""},    {1007, ""},     {1008, ""},
    {1201, kTracks}, {1202, kTracks}, {1203, kTracks}, {1205, ""},     {1207, kTracks}, {1208, kTracks}, {1209, kTracks},
    {1101, ""},    {1103, ""},
    {1104, ""},    {1105, ""},    {1106, ""},       {1107, ""},    {901, kEdit},   {902, kEdit},
    {903, kEdit},  {904, kEdit},  {906, kEdit},     {907, kEdit},  {908, kEdit},   {101, kEdit},
    {102, kEdit},  {103, kEdit},  {104, kEdit},     {105, kEdit},  {121, kEdit},   {122, kEdit},
    {123, kEdit},  {124, kEdit},  {125, kEdit},     {912, kEdit},  {913, kEdit},   {914, kEdit},
    {915, kEdit},  {601, ""},     {602, ""},        {604, ""},     {606, ""}, {608, ""},
};

const a_command_row* Row(int command) {
    for (const a_command_row& r : kTable)
        if (r.command == command) return &r;
    return nullptr;
}

void Toggle_Sound(const a_command_context&) {
    bool on = !Sound_IsEnabled();
    Sound_Enable(on);
    g_pref.sound_option = on;
}

// Photos imported from now on keep their file's bytes, which a save then
// stores in the project.
void Toggle_Embed(const a_command_context&) { g_pref.embed_option = !g_pref.embed_option; }

void Toggle_Hide(const a_command_context&) {
    gs.tool_show = !gs.tool_show;
    g_shell_notices.finish.Emit();
}

// The document on another stock, shown anew in the phase it was in.
void To_Different_Layout(const a_command_context&) {
    if (g_doc.doc_open && Switch_Layout() == SWITCH_DONE)
        Phase_Set(gs.curr_phase == PAPER_PHASE ? CANVAS_PHASE : gs.curr_phase);
}

void New_Project(const a_command_context&) {
    gs.grid_vals[START_GRID] = 0;
    if (Close_Command()) Phase_Set(PAPER_PHASE);
}

}  // namespace

void Command_Install(int command, a_command_fn fn) { g_doers[command] = std::move(fn); }
void Command_Remove(int command) { g_doers.erase(command); }
bool Command_Available(int command) { return g_doers.count(command) != 0; }
bool Command_Known(int command) { return Row(command) != nullptr; }

std::string Command_Missing(int command) {
    if (Command_Available(command)) return {};
    const a_command_row* r = Row(command);
    // Shown as the disabled item's tip, in the interface language.
    return Window_Text(r && r->needs[0] ? r->needs : "Not available");
}

void Zoom_Command(int item) {
    int16_t& zoom = gs.grid_vals[ZOOM_GRID];
    if (item == 1 || item == 2) {
        int next = zoom + (item == 1 ? 1 : -1);
        if (next < 0 || next > 4) {
            Sound_Play(SND_REFUSED);
            return;
        }
        zoom = int16_t(next);
    } else if (item >= 4 && item <= 8) {
        zoom = int16_t(item - 4);
    } else {
        return;
    }
    g_shell_notices.finish.Emit();
}

bool DoMenuEvent(bool optionkey, bool shiftkey, int menu_item, int menu_category) {
    int command = menu_category + menu_item;
    auto it = g_doers.find(command);
    if (it == g_doers.end()) {
        Sound_Play(SND_REFUSED);
        return false;
    }
    a_command_fn fn = it->second;  // a doer may remove itself
    fn(a_command_context{optionkey, shiftkey});
    return true;
}

void Do_Menu_Event(bool optionkey, bool shiftkey, int menu_item, int menu_category) {
    Interaction_Begin();
    (void)DoMenuEvent(optionkey, shiftkey, menu_item, menu_category);
    Interaction_End();
}

void Commands_Init() {
    Command_Install(MENU_FILE + 1, New_Project);
    Command_Install(MENU_FILE + 3, [](const a_command_context&) { (void)Close_Command(); });
    Command_Install(MENU_FILE + 11, [](const a_command_context&) { Quit_Command(); });
    Command_Install(MENU_EDIT + 1, [](const a_command_context&) {
        if (g_doc.doc_open) Undo_Button();
    });
    Command_Install(MENU_EDIT + 2, [](const a_command_context&) {
        if (g_doc.doc_open) Redo_Button();
    });
    Command_Install(MENU_EXPORT + 1, To_Different_Layout);
    Command_Install(MENU_OPTIONS + 5, Toggle_Sound);
    Command_Install(MENU_OPTIONS + 6, Toggle_Embed);
    Command_Install(MENU_OPTIONS + 8, Toggle_Hide);
    for (int item : {1, 2, 4, 5, 6, 7, 8})
        Command_Install(MENU_ZOOM + item, [item](const a_command_context&) { Zoom_Command(item); });
    Command_Install(MENU_HELP + 1, [](const a_command_context&) { Help_Show(1); });
    Command_Install(MENU_HELP + 2, [](const a_command_context&) { Help_Contextual(); });
    Command_Install(MENU_HELP + 4, [](const a_command_context&) { Help_Web_Page(); });
    Edit_Commands_Init();
}

void Commands_Stop() { g_doers.clear(); }
