#include "block_watch.h"

#include <utility>

#include "model/notices.h"
#include "shell/mainloop.h"

a_block_watch::a_block_watch(std::function<void()> changed) {
    tokens_[0] = g_shell_notices.interaction_end.Subscribe(changed);
    tokens_[1] = g_doc_notices.selection.Subscribe(changed);
    tokens_[2] = g_doc_notices.block_count.Subscribe(changed);
    tokens_[3] = g_doc_notices.restored.Subscribe(changed);
    tokens_[4] = g_doc_notices.unit_selected.Subscribe(
        [changed = std::move(changed)](uint32_t) { changed(); });
}

a_block_watch::~a_block_watch() {
    g_shell_notices.interaction_end.Unsubscribe(tokens_[0]);
    g_doc_notices.selection.Unsubscribe(tokens_[1]);
    g_doc_notices.block_count.Unsubscribe(tokens_[2]);
    g_doc_notices.restored.Unsubscribe(tokens_[3]);
    g_doc_notices.unit_selected.Unsubscribe(tokens_[4]);
}
