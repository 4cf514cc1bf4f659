// What a panel showing the current unit's blocks listens to: the end of an
// action, the selection, the number of blocks, an undo or redo, another unit.
// Each calls `changed`, for as long as the watch lives.
#pragma once
#include <functional>

#include "base/notice.h"

class a_block_watch {
  public:
    explicit a_block_watch(std::function<void()> changed);
    ~a_block_watch();
    a_block_watch(const a_block_watch&) = delete;
    a_block_watch& operator=(const a_block_watch&) = delete;

  private:
    a_listener_token tokens_[5] = {};
};
