// A stream in memory that gives its text back: the messages of a run that
// a front end shows instead of printing them.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "context/run.h"

class MemoryStream {
public:
    MemoryStream() : f_(open_memstream(&buf_, &len_)) {}
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;
    ~MemoryStream() {
        if (f_) std::fclose(f_);
        std::free(buf_);
    }
    // The stream; where no memory could be had for it, one that discards
    // what is written (the text is then lost, not the run).
    std::FILE* file() const { return f_ ? f_ : discardStream(); }
    std::string text() {
        if (!f_) return "";
        std::fflush(f_);
        return std::string(buf_ ? buf_ : "", len_);
    }

private:
    char* buf_ = nullptr;
    std::size_t len_ = 0;
    std::FILE* f_;
};
