// The field dialog of a track-list import on screen: a box per field (shown
// or not) and one under "Start Column" (the field begins a new column of
// text), the track number with its style, and a live preview of the columns.
// Every click goes to the field dialog's model, which keeps the choice; the
// dialog holds only its widgets.
#pragma once
#include <QtWidgets/QDialog>

#include <vector>

#include "tracks/field_dialog.h"

class QCheckBox;
class QComboBox;
class QPushButton;

// The preview: a grey header band saying "Preview" over a darker body, the
// chunks as columns of lines with light bands between them.
class a_field_preview : public QWidget {
    Q_OBJECT
public:
    explicit a_field_preview(const a_field_dialog& d, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    const a_field_dialog& d_;
};

class a_field_dialog_qt : public QDialog {
    Q_OBJECT
public:
    a_field_dialog_qt(a_field_dialog& d, const a_song_table& t, QWidget* parent);
    // Field f's boxes (0 the track number, which has no column box).
    QCheckBox* Shown(uint32_t f) const { return shown_.at(f); }
    QCheckBox* Column(uint32_t f) const { return column_.at(f); }
    QComboBox* Style() const { return style_; }
    QPushButton* Ok() const { return ok_; }
    a_field_preview* Preview() const { return preview_; }

private:
    QWidget* Field_Group(uint32_t first, uint32_t last, const QString& heading);
    // The boxes from the model's choice, the preview and OK from the model.
    void Show_Choice();

    a_field_dialog& d_;
    const a_song_table& t_;
    std::vector<QCheckBox*> shown_, column_;
    QComboBox* style_;
    QPushButton* ok_;
    a_field_preview* preview_;
};
