#include "widgets/history_panel.h"

#include <QtGui/QFont>

#include "model/document.h"
#include "model/history.h"
#include "model/notices.h"
#include "shell/mainloop.h"

a_history_panel::a_history_panel(QWidget* parent) : QListWidget(parent) {
    setObjectName("historyPanel");
    setToolTip(tr("The steps you can go back to, the oldest on top. Click one to show the label "
                  "as it was then."));
    setSelectionMode(QAbstractItemView::NoSelection);
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* it) { Clicked(row(it)); });
    auto refresh = [this] { QMetaObject::invokeMethod(this, &a_history_panel::Refresh, Qt::QueuedConnection); };
    tokens_[0] = g_doc_notices.history.Subscribe(refresh);
    tokens_[1] = g_doc_notices.restored.Subscribe(refresh);
}

a_history_panel::~a_history_panel() {
    g_doc_notices.history.Unsubscribe(tokens_[0]);
    g_doc_notices.restored.Unsubscribe(tokens_[1]);
}

void a_history_panel::Refresh() {
    clear();
    if (!g_doc.doc_open) return;
    int kept = Modulo(g_hist.hi - g_hist.lo);
    for (int n = 0; n < kept; ++n) {
        int slot = Modulo(g_hist.lo + n);
        const a_hist_state& s = g_hist.list[slot];
        bool current = slot == g_hist.curr;
        auto* it = new QListWidgetItem(QString::fromUtf8(current ? "\u25B6 " : "   ") +
                                       QString::fromStdString(Calc_Op_Label(s.op)));
        if (current) {
            QFont f = font();
            f.setBold(true);
            it->setFont(f);
            it->setBackground(palette().highlight());
            it->setForeground(palette().highlightedText());
        }
        if (!current && !Is_Restorable(slot)) it->setForeground(palette().placeholderText());
        addItem(it);
    }
}

// The row stands for the history's own box of that step: the click goes to
// the middle of that box, so the history decides what it means.
void a_history_panel::Clicked(int row) {
    if (row < 0) return;
    Rect frame{0, 0, int16_t(count() * HIST_BOX_HEIGHT), 100};
    Rect box = Calc_Hist_Box(frame, row);
    Interaction_Begin();
    History_MouseDown(frame, Point{int16_t((box.top + box.bottom) / 2), 50});
    Interaction_End();
}
