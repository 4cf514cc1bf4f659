#include "tracks/media_name.h"

#include <algorithm>

#include "base/messages.h"
#include "base/string_ids.h"
#include "model/doc_media.h"
#include "platform/dialogs.h"

void MediaName_Set(a_medianame_rec& rec, const std::u16string& typed) {
    rec.name = typed.substr(0, MEDIA_NAME_MAX);
}

bool MediaName_Can_OK(const a_medianame_rec& rec) { return !rec.name.empty(); }

a_medianame_key MediaName_Key(const a_medianame_rec& rec, int key) {
    if (key == DKEY_ESCAPE) return MEDIANAME_CANCEL;
    if (key == DKEY_RETURN || key == DKEY_ENTER) return MediaName_Can_OK(rec) ? MEDIANAME_ACCEPT : MEDIANAME_BEEP;
    return MEDIANAME_NONE;
}

bool Ask_Media_Name(a_medianame_rec& rec, void (*edit)(a_medianame_rec&)) {
    rec.valid = false;
    if (edit) edit(rec);
    rec.name.resize(std::min<size_t>(rec.name.size(), MEDIA_NAME_MAX));
    a_dialog_request req;
    req.layout = DLOG_MEDIA_NAME;
    GetIndString(req.message, MAIN_STR_ID, STR_MEDIA_NAME);
    std::string ok, cancel;
    GetIndString(ok, MAIN_STR_ID, STR_OK);
    GetIndString(cancel, MAIN_STR_ID, STR_CANCEL);
    req.buttons = {ok, cancel};
    req.keys = {{DKEY_RETURN, false, 0}, {DKEY_ENTER, false, 0}, {DKEY_ESCAPE, false, 1}};
    rec.valid = Dialog_Ask(req) == 0 && MediaName_Can_OK(rec);
    return rec.valid;
}

a_medianame_rec Media_Name_Current() {
    a_print_media_spec spec;
    Get_Media_Specs(spec);
    a_medianame_rec rec;
    for (size_t i = 0; i < MEDIA_NAME_MAX && spec.label[i]; ++i) rec.name.push_back(spec.label[i]);
    return rec;
}

bool Media_Name_Store(const std::u16string& name) {
    a_medianame_rec rec;
    MediaName_Set(rec, name);
    if (!MediaName_Can_OK(rec)) return false;
    a_print_media_spec spec;
    Get_Media_Specs(spec);
    std::fill(std::begin(spec.label), std::end(spec.label), u'\0');
    std::copy(rec.name.begin(), rec.name.end(), spec.label);
    Set_Media_Specs(spec);
    return true;
}

bool Edit_Media_Name(void (*edit)(a_medianame_rec&)) {
    a_medianame_rec rec = Media_Name_Current();
    return Ask_Media_Name(rec, edit) && Media_Name_Store(rec.name);
}
