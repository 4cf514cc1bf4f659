#include "model/doc_media.h"

#include "model/document.h"

namespace {

bool Is_Landscape_Doc() { return Has_Flag(g_doc.doc_template.tflags, IS_LANDSCAPE); }

}  // namespace

void Get_Media_Specs(a_print_media_spec& spec) {
    Media_Spec_Get(Calc_Direct_Print_Kind(), g_doc.doc_mediax, Is_Landscape_Doc(), spec);
}

void Set_Media_Specs(const a_print_media_spec& spec) {
    Media_Spec_Set(Calc_Direct_Print_Kind(), g_doc.doc_mediax, Is_Landscape_Doc(), spec);
}
