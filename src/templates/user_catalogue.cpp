#include "templates/user_catalogue.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "base/message_text.h"
#include "platform/files.h"
#include "platform/process.h"
#include "templates/catalogue.h"
#include "templates/designer.h"
#include "templates/layout_text.h"

namespace {

std::vector<a_ctemplate> g_user;
std::vector<a_ctemplate> g_carried;  // from projects, for this run
std::string g_folder_override;
bool g_damaged = false;  // the file did not read: never overwrite it
std::string g_damage;

// A layout file is a few hundred bytes a sheet.
constexpr size_t kMaxLayoutFileBytes = 4u << 20;

std::string Folder() {
    if (!g_folder_override.empty()) return g_folder_override;
    return User_Data_Home() + "/cirquel/layouts";
}

bool Same_Label(const a_ctemplate& t, const char (&label)[32]) {
    return std::memcmp(t.label, label, sizeof t.label) == 0;
}

bool Is_Builtin_Label(const char (&label)[32]) {
    a_ctemplate t;
    for (int i = 1; i <= Catalogue_Count(); ++i) {
        Get_CTemplate(t, i);
        if (Same_Label(t, label)) return true;
    }
    return false;
}

// A sort key beside the built-in sheets of the same brand (their maker code,
// then '~' so that the user's come after them); else the brand itself.
void Set_Sort_Key(a_ctemplate& t) {
    std::string brand;
    Extract_Brand(brand, t.label);
    char key[12];
    std::memset(key, '_', sizeof key);
    bool found = false;
    a_ctemplate b;
    for (int i = 1; i <= Catalogue_Count() && !found; ++i) {
        Get_CTemplate(b, i);
        std::string other;
        Extract_Brand(other, b.label);
        if (other == brand && b.sort[0] != '-') {
            std::memcpy(key, b.sort, 6);
            found = true;
        }
    }
    if (!found)
        for (size_t i = 0; i < 6 && i < brand.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(brand[i]);
            key[i] = std::isalnum(c) ? static_cast<char>(std::toupper(c)) : '_';
        }
    std::memset(key + 6, '~', 6);
    std::memcpy(t.sort, key, sizeof key);
}

std::string Catalogue_Text(const std::vector<a_ctemplate>& records) {
    std::string text;
    for (const a_ctemplate& t : records) text += Layout_Write(t, false);
    return text;
}

bool Save(const std::vector<a_ctemplate>& records, std::string& error) {
    if (!Folder_Create(Folder())) {
        error = Message_Text("%1: cannot make the folder", {Folder()});
        return false;
    }
    std::string text = Catalogue_Text(records);
    return File_SaveAtomic(User_Catalogue_Path(), text.data(), text.size(), &error);
}

std::string At(const std::string& name, int line, const std::string& what) {
    return name + ":" + std::to_string(line) + ": " + what;
}

}  // namespace

std::string User_Catalogue_Folder() { return Folder(); }

std::string User_Catalogue_Path() { return Folder() + "/my-layouts.layout"; }

void User_Catalogue_Folder_Set(const std::string& folder) {
    g_folder_override = folder;
    g_user.clear();
    g_carried.clear();
    g_damaged = false;
}

bool User_Catalogue_Load(std::string& error) {
    g_user.clear();
    g_damaged = false;
    const std::string path = User_Catalogue_Path();
    if (!File_Exists(path)) return true;
    std::vector<uint8_t> bytes;
    std::string why;
    if (File_Read_Limited(path, kMaxLayoutFileBytes, bytes, &why) != a_file_read::OK) {
        g_damaged = true;
        g_damage = error = why;
        return false;
    }
    std::vector<a_ctemplate> records;
    std::vector<int> lines;
    a_layout_error err;
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!Layout_Parse(text, records, err, &lines)) {
        g_damaged = true;
        g_damage = error = At(path, err.line, Message_Text(err.english, err.values));
        return false;
    }
    for (size_t i = 0; i < records.size(); ++i) {
        std::string fault = User_Record_Fault(records[i]);
        if (!fault.empty()) {
            g_damaged = true;
            g_damage = error = At(path, lines[i], fault);
            return false;
        }
    }
    g_user = std::move(records);
    return true;
}

const std::vector<a_ctemplate>& User_Catalogue() { return g_user; }

const a_ctemplate* User_Template(const char (&label)[32]) {
    for (const a_ctemplate& t : g_user)
        if (Same_Label(t, label)) return &t;
    return nullptr;
}

bool Is_User_Template(const char (&label)[32]) { return User_Template(label) != nullptr; }

void Project_Sheet_Add(const a_ctemplate& t) {
    if (Is_User_Template(t.label)) return;
    for (a_ctemplate& c : g_carried)
        if (Same_Label(c, t.label)) return void(c = t);
    if (g_carried.size() < 100) g_carried.push_back(t);  // a run opens few
}

const std::vector<a_ctemplate>& Project_Sheets() { return g_carried; }

const a_ctemplate* Own_Sheet_Record(const char (&label)[32]) {
    if (const a_ctemplate* t = User_Template(label)) return t;
    for (const a_ctemplate& c : g_carried)
        if (Same_Label(c, label)) return &c;
    return nullptr;
}

std::string User_Record_Fault(const a_ctemplate& record) {
    // Groups past the record's count are never expanded: not checked either.
    a_ctemplate t = record;
    for (uint32_t g = CTemplate_NGroups(t); g < MAXNGROUPS; ++g) t.units[g] = a_cunit{};
    std::vector<a_design_problem> problems = Design_Problems(t);
    if (!problems.empty()) return problems.front().text;
    if (Is_Builtin_Label(t.label)) return Message_Text("\"%1\" is the name of a built-in layout", {Label_Text(t.label)});
    return {};
}

bool User_Catalogue_Add_Text(std::string_view text, const std::string& name, std::string& error,
                             std::vector<std::string>* added) {
    if (g_damaged) {
        error = g_damage;
        return false;
    }
    std::vector<a_ctemplate> records;
    std::vector<int> lines;
    a_layout_error err;
    if (!Layout_Parse(text, records, err, &lines)) {
        error = At(name, err.line, Message_Text(err.english, err.values));
        return false;
    }
    if (records.empty()) {
        error = At(name, 1, Message_Text("no layout in the file"));
        return false;
    }
    std::vector<a_ctemplate> next = g_user;
    for (size_t i = 0; i < records.size(); ++i) {
        a_ctemplate& t = records[i];
        std::string fault = User_Record_Fault(t);
        for (size_t j = 0; j < i && fault.empty(); ++j)
            if (Same_Label(records[j], t.label))
                fault = Message_Text("\"%1\" is named twice in the file", {Label_Text(t.label)});
        if (!fault.empty()) {
            error = At(name, lines[i], fault);
            return false;
        }
        Set_Sort_Key(t);
        auto same = std::find_if(next.begin(), next.end(), [&](const a_ctemplate& u) { return Same_Label(u, t.label); });
        if (same != next.end()) *same = t;
        else next.push_back(t);
    }
    const size_t room = size_t(MAXNTEMPLATES - Catalogue_Count());  // beside the built-in ones
    if (next.size() > room) {
        error = At(name, lines.back(), Message_Text("more than %1 layouts of your own", {std::to_string(room)}));
        return false;
    }
    if (!Save(next, error)) return false;
    g_user = std::move(next);
    if (added)
        for (const a_ctemplate& t : records) added->push_back(Label_Text(t.label));
    return true;
}

bool User_Catalogue_Add_File(const std::string& path, std::string& error, std::vector<std::string>* added) {
    std::vector<uint8_t> bytes;
    if (File_Read_Limited(path, kMaxLayoutFileBytes, bytes, &error) != a_file_read::OK) return false;
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return User_Catalogue_Add_Text(text, path, error, added);
}

bool User_Catalogue_Remove(const std::string& label, std::string& error) {
    if (g_damaged) {
        error = g_damage;
        return false;
    }
    char l[32];
    Label_Set(l, label);
    std::vector<a_ctemplate> next = g_user;
    auto it = std::find_if(next.begin(), next.end(), [&](const a_ctemplate& t) { return Same_Label(t, l); });
    if (label.size() > 31 || it == next.end()) {
        error = Message_Text("no layout of your own named \"%1\"", {label});
        return false;
    }
    next.erase(it);
    if (!Save(next, error)) return false;
    g_user = std::move(next);
    return true;
}
