#include "platform/standard_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>

namespace kuvelt::output {

StandardOutput::StandardOutput() {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    previous_ = std::cout.rdbuf(this);
}

StandardOutput::~StandardOutput() {
    Drain();
    std::cout.rdbuf(previous_);
}

bool StandardOutput::Put(const char* s, std::size_t n) {
    while (n > 0 && error_ == 0) {
        const ssize_t w = ::write(STDOUT_FILENO, s, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            error_ = errno;
        } else if (w == 0) {
            error_ = ENOSPC;  // no progress is a full device in all but name
        } else {
            s += w;
            n -= static_cast<std::size_t>(w);
        }
    }
    return error_ == 0;
}

bool StandardOutput::Drain() {
    const std::size_t n = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return Put(buffer_.data(), n);
}

StandardOutput::int_type StandardOutput::overflow(int_type c) {
    if (!Drain()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize StandardOutput::xsputn(const char* s, std::streamsize n) {
    const std::size_t size = static_cast<std::size_t>(n);
    if (size <= static_cast<std::size_t>(epptr() - pptr())) {
        traits_type::copy(pptr(), s, size);
        pbump(static_cast<int>(n));
        return n;
    }
    // A large piece goes out at once, after what is buffered.
    if (!Drain() || !Put(s, size)) return 0;
    return n;
}

int StandardOutput::sync() { return Drain() ? 0 : -1; }

int StandardOutput::Finish() {
    if (finished_) return error_;
    finished_ = true;
    Drain();
    std::cout.flush();
    if (!std::cout && error_ == 0) error_ = EIO;  // a failure of the stream itself
    if (std::fflush(stdout) != 0 && error_ == 0) error_ = errno;
    if (std::ferror(stdout) && error_ == 0) error_ = EIO;
    // A file system may report its last failure only when the file is closed (any descriptor of
    // it: a network file system writes back on every close); a copy is closed, so the streams
    // stay valid until the program ends. A descriptor that was never open lost nothing as long as
    // nothing was printed.
    const int copy = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (copy >= 0 && ::close(copy) != 0 && error_ == 0 && errno != EINTR) error_ = errno;
    return error_;
}

}  // namespace kuvelt::output
