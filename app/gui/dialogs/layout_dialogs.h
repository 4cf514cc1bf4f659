// The dialogs of "To Different Layout": the template chooser in a window of
// its own, and the remap dialog that says which old label's design each new
// label takes. While it lives it answers the document's layout questions.
#pragma once
#include <QtWidgets/QDialog>

#include <functional>

#include "base/notice.h"
#include "model/layout_switch.h"

class QComboBox;

// The remap dialog over the model's rows: the old sheet and the new side by
// side, one row per new label with "Empty" or an old label with a design.
class a_remap_dialog : public QDialog {
    Q_OBJECT
public:
    a_remap_dialog(a_remap_rec& rec, QWidget* parent);
    // The rows as chosen, into the model (on OK).
    void Apply();
    QComboBox* Row(int r) const { return rows_.at(size_t(r - 1)); }

private:
    a_remap_rec& rec_;
    std::vector<QComboBox*> rows_;
};

class a_layout_dialogs : public QObject {
    Q_OBJECT
public:
    explicit a_layout_dialogs(QWidget* window);
    ~a_layout_dialogs() override;
    // Tests answer here instead of the modal windows.
    std::function<int()> ask_template;
    std::function<bool(a_remap_dialog& dialog)> ask_remap;

private:
    int Choose_Template();
    bool Remap(const a_template& t, a_unit_mapping* map, uint32_t nsig, const a_sig_source* sig);
    QWidget* window_;
    a_listener_token choose_token_ = 0, remap_token_ = 0;
};
