#include "tracks/tag_stream.h"

#include <algorithm>

a_tag_stream::a_tag_stream(int fd) : file_(fd, true) {
    size_ = std::max(0L, file_.length());
    file_.seek(0);
}

void a_tag_stream::seek(long offset, Position p) {
    const long from = p == Beginning ? 0 : p == Current ? pos_ : size_;
    pos_ = std::max(0L, from + offset);
    moved_ = true;
}

TagLib::ByteVector a_tag_stream::readBlock(unsigned long length) {
    const long tail = std::max(0L, size_ - kTail);
    unsigned long take = length;
    if (pos_ < tail) {
        // Past the budget the middle reads as the end of the file: scans
        // stop. The empty answer is shared: a backward scan asks a million
        // times.
        static const TagLib::ByteVector kNothing;
        const long left = kBudget - read_;
        if (left <= 0) return kNothing;
        take = std::min<unsigned long>(length, static_cast<unsigned long>(left));
    }
    if (moved_) file_.seek(pos_);
    moved_ = false;
    TagLib::ByteVector got = file_.readBlock(take);
    if (pos_ < tail) read_ += std::min<long>(long(got.size()), tail - pos_);
    pos_ += long(got.size());
    return got;
}
