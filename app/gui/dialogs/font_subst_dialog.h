// The font remapping dialog: a project names a font this machine lacks. It
// shows the sample the project keeps of the missing font, the font's name
// drawn in the substitute as chosen now, and the list of installed fonts.
#pragma once
#include <QtWidgets/QDialog>

#include <cstdint>

#include "persist/project_file.h"

class QComboBox;
class QLabel;
struct PixMap;

// The stored sample (8-bit, 0 white .. 255 black) as a grey picture; a null
// image for a null map or another depth.
QImage Font_Sample_Image(const PixMap& sample);

class a_font_subst_dialog : public QDialog {
    Q_OBJECT
public:
    a_font_subst_dialog(const a_font_map_entry& entry, const PixMap& sample, QWidget* parent);
    QComboBox* Fonts() const { return fonts_; }
    // The installed font chosen (its number).
    uint32_t Chosen() const;

private:
    void Show_Substitute();
    QString missing_;
    QComboBox* fonts_;
    QLabel* substitute_;
};
