#include "dialogs/text_editor_dialog.h"

#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include "look.h"
#include "model/document.h"
#include "model/photo_rec.h"
#include "model/selection.h"
#include "shell/mainloop.h"
#include "text/text_blocks.h"

namespace {

// A line break is one carriage return in a block, one line feed here.
QString Block_To_Lines(const std::u16string& block) {
    QString s = QString::fromStdU16String(block);
    s.remove(QChar(CHAR_LINEFEED));
    s.replace(QChar(CHAR_HARDBREAK), QChar(CHAR_LINEFEED));
    return s;
}

std::u16string Lines_To_Block(QString lines) {
    lines.replace(QChar(CHAR_LINEFEED), QChar(CHAR_HARDBREAK));
    return lines.toStdU16String();
}

// The block of the current unit with this id; OMX_NONE when gone.
int Block_Of(int ux, int objid) {
    if (!g_doc.up || g_doc.upx != uint32_t(ux)) return OMX_NONE;
    for (int i = 1; i <= g_doc.up->oj.nlist; ++i)
        if (g_doc.up->oj.list[i].objid == uint32_t(objid)) return Curr_OM(i) ? i : OMX_NONE;
    return OMX_NONE;
}

}  // namespace

a_text_editor_dialog::a_text_editor_dialog(QWidget* parent, const QString& title, const QString& text)
    : QDialog(parent) {
    setObjectName("textEditor");
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    auto* column = new QVBoxLayout(this);
    auto* hint = new QLabel(tr("Each line of the editor is a line of the text block."));
    hint->setStyleSheet(Soft_Text_Style());
    column->addWidget(hint);
    edit_ = new QPlainTextEdit(text);
    edit_->setObjectName("textEditorText");
    edit_->setToolTip(tr("The characters of the text block"));
    edit_->setMinimumSize(380, 160);
    edit_->setTabChangesFocus(true);
    column->addWidget(edit_, 1);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons_->button(QDialogButtonBox::Ok)->setObjectName("textEditorOk");
    buttons_->button(QDialogButtonBox::Ok)->setToolTip(tr("Put this text into the block"));
    buttons_->button(QDialogButtonBox::Cancel)->setObjectName("textEditorCancel");
    buttons_->button(QDialogButtonBox::Cancel)->setToolTip(tr("Leave the block as it was"));
    column->addWidget(buttons_);
    // An empty block would be invisible and hard to pick: Delete removes blocks.
    auto ok_when_text = [this] {
        buttons_->button(QDialogButtonBox::Ok)->setEnabled(!edit_->toPlainText().trimmed().isEmpty());
    };
    ok_when_text();
    connect(edit_, &QPlainTextEdit::textChanged, this, ok_when_text);
    connect(buttons_, &QDialogButtonBox::accepted, this, [this] {
        Apply();
        accept();
    });
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    edit_->moveCursor(QTextCursor::End);
    edit_->setFocus();
}

a_text_editor_dialog* a_text_editor_dialog::Edit_Block(QWidget* parent, int ux, int objid) {
    const int omx = Block_Of(ux, objid);
    if (omx == OMX_NONE) return nullptr;
    auto* d = new a_text_editor_dialog(parent, tr("Edit Text"), Block_To_Lines(OM_To_Str(*Curr_OM(omx))));
    d->ux_ = ux;
    d->objid_ = objid;
    d->open();
    return d;
}

a_text_editor_dialog* a_text_editor_dialog::New_Block(QWidget* parent) {
    auto* d = new a_text_editor_dialog(parent, tr("New Text"), QString());
    d->open();
    return d;
}

void a_text_editor_dialog::Apply() {
    const std::u16string text = Lines_To_Block(edit_->toPlainText());
    Interaction_Begin();
    if (objid_ == 0) {
        Text_New_String(text.c_str());
    } else if (int omx = Block_Of(ux_, objid_); omx != OMX_NONE) {
        Text_Replace(omx, text.c_str());
    }
    Interaction_End();
}
