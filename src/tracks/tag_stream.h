// A read-only stream for the tag reader that reads at most a budget of bytes
// away from the file's end. Tag readers look for frames by scanning; on a
// large file that holds none (a gigabyte of silence named ".mp3") they would
// read all of it. Tags sit at the start (read within the budget) and at the
// end (always read), so bounding the middle loses none of them.
#pragma once
#include <taglib/tfilestream.h>

class a_tag_stream : public TagLib::IOStream {
public:
    static constexpr long kBudget = 32L << 20;   // bytes read before the tail
    static constexpr long kTail = 256L << 10;    // ID3v1, APE and Lyrics3 live here

    // Takes the descriptor and closes it.
    explicit a_tag_stream(int fd);
    TagLib::FileName name() const override { return file_.name(); }
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long = 0, unsigned long = 0) override {}
    void removeBlock(unsigned long = 0, unsigned long = 0) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return file_.isOpen(); }
    // Seeks are only noted: a scan past the budget then costs no system call
    // per step, however long the file.
    void seek(long offset, Position p = Beginning) override;
    void clear() override { file_.clear(); }
    long tell() const override { return pos_; }
    long length() override { return size_; }
    void truncate(long) override {}

private:
    TagLib::FileStream file_;
    long size_ = 0;
    long pos_ = 0;
    bool moved_ = false;  // pos_ is not yet where the file stands
    long read_ = 0;       // bytes read before the tail
};
