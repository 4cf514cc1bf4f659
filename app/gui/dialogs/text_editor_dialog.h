// The plain editor of a text block's characters: a new block's text, or the
// text of a block double-clicked on the unit. OK makes or changes the block
// as one action and one history step; Cancel leaves the document alone.
// The dialog is window-modal and deletes itself when closed.
#pragma once
#include <QtWidgets/QDialog>

class QDialogButtonBox;
class QPlainTextEdit;

class a_text_editor_dialog : public QDialog {
    Q_OBJECT
public:
    // Opens the editor of text block objid on unit ux; nullptr when that
    // block is not on the current unit.
    static a_text_editor_dialog* Edit_Block(QWidget* parent, int ux, int objid);
    // Opens an empty editor whose text becomes a new block.
    static a_text_editor_dialog* New_Block(QWidget* parent);

    QPlainTextEdit* Editor() const { return edit_; }

private:
    a_text_editor_dialog(QWidget* parent, const QString& title, const QString& text);
    void Apply();

    QPlainTextEdit* edit_;
    QDialogButtonBox* buttons_;
    int ux_ = 0, objid_ = 0;  // objid 0: a new block
};
