#include "block_watch.h"

#include <QtCore/QTimer>

#include <utility>

#include "model/notices.h"
#include "shell/mainloop.h"
#include "text/text_edit.h"

a_block_watch::a_block_watch(QObject* owner, std::function<void()> refresh)
    : owner_(owner), refresh_(std::move(refresh)) {
    auto changed = [this] { Schedule(); };
    // Keys typed into a text block change neither the blocks nor their order:
    // the pictures catch up when the editing ends.
    tokens_[0] = g_shell_notices.interaction_end.Subscribe([this] {
        if (!Edited_OM()) Schedule();
    });
    tokens_[1] = g_doc_notices.selection.Subscribe(changed);
    tokens_[2] = g_doc_notices.block_count.Subscribe(changed);
    tokens_[3] = g_doc_notices.restored.Subscribe(changed);
    tokens_[4] = g_doc_notices.unit_selected.Subscribe([this](uint32_t) { Schedule(); });
}

a_block_watch::~a_block_watch() {
    g_shell_notices.interaction_end.Unsubscribe(tokens_[0]);
    g_doc_notices.selection.Unsubscribe(tokens_[1]);
    g_doc_notices.block_count.Unsubscribe(tokens_[2]);
    g_doc_notices.restored.Unsubscribe(tokens_[3]);
    g_doc_notices.unit_selected.Unsubscribe(tokens_[4]);
}

void a_block_watch::Schedule() {
    if (pending_) return;
    pending_ = true;
    // Tied to the owner: a panel gone before it runs is not refreshed.
    QTimer::singleShot(0, owner_, [this] {
        pending_ = false;
        refresh_();
    });
}
