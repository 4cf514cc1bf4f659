// What a panel showing the current unit's blocks listens to: the end of an
// action, the selection, the number of blocks, an undo or redo, another unit.
// Any of them asks for one refresh, run once the event that caused it is
// over (never inside a signal of the panel's own widgets), for as long as
// the watch lives.
#pragma once
#include <functional>

#include "base/notice.h"

class QObject;

class a_block_watch {
public:
    a_block_watch(QObject* owner, std::function<void()> refresh);
    ~a_block_watch();
    a_block_watch(const a_block_watch&) = delete;
    a_block_watch& operator=(const a_block_watch&) = delete;
    // One refresh later, however often this is asked before it runs.
    void Schedule();

private:
    QObject* owner_;
    std::function<void()> refresh_;
    bool pending_ = false;
    a_listener_token tokens_[5] = {};
};
