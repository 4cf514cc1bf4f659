// The history panel: the kept undo steps, oldest on top, each with its label;
// the step the document shows is marked. A click restores that step through
// the history's own panel click (with its sound, or the refusal sound).
#pragma once
#include <QtWidgets/QListWidget>

#include "base/notice.h"

class a_history_panel : public QListWidget {
    Q_OBJECT
public:
    explicit a_history_panel(QWidget* parent = nullptr);
    ~a_history_panel() override;
    void Refresh();

private:
    void Clicked(int row);
    a_listener_token tokens_[2] = {};
};
