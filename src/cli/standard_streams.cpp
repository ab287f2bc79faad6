#include "cli/standard_streams.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ostream>

namespace kuvelt::cli {

bool ReadStandardInput(std::string& bytes, std::string& why) {
    bytes.clear();
    char buf[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            why = std::string("standard input cannot be read (") + std::strerror(errno) + ")";
            return false;
        }
        if (bytes.size() + static_cast<std::size_t>(n) > kMaxStandardInputBytes) {
            why = "standard input holds more than " + std::to_string(kMaxStandardInputBytes >> 20) +
                  " MiB: not a design";
            return false;
        }
        bytes.append(buf, static_cast<std::size_t>(n));
    }
}

void WriteStandardOutput(std::string_view bytes, std::ostream& out) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
}

bool LinePrefixer::Put(char c) {
    if (lineStart_) {
        if (c == '\n') return true;  // an empty line says nothing
        if (to_->sputn(prefix_.data(), static_cast<std::streamsize>(prefix_.size())) !=
            static_cast<std::streamsize>(prefix_.size())) {
            return false;
        }
    }
    lineStart_ = c == '\n';
    return to_->sputc(c) != traits_type::eof();
}

LinePrefixer::int_type LinePrefixer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    return Put(traits_type::to_char_type(c)) ? c : traits_type::eof();
}

std::streamsize LinePrefixer::xsputn(const char* s, std::streamsize n) {
    for (std::streamsize i = 0; i < n; ++i) {
        if (!Put(s[i])) return i;
    }
    return n;
}

StderrCapture::StderrCapture() {
    // In memory: no folder has to be writable for it.
    kept_ = ::memfd_create("kuvelt-calc-stderr", MFD_CLOEXEC);
    if (kept_ < 0) return;  // then nothing is caught
    std::fflush(stderr);
    saved_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    if (saved_ < 0 || ::dup2(kept_, STDERR_FILENO) < 0) {
        if (saved_ >= 0) ::close(saved_);
        saved_ = -1;
        ::close(kept_);
        kept_ = -1;
    }
}

StderrCapture::~StderrCapture() { Release(); }

std::string StderrCapture::Release() {
    std::string text;
    if (kept_ < 0) return text;
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
    saved_ = -1;
    char buf[4096];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(kept_, buf, sizeof buf, at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buf, static_cast<std::size_t>(n));
        at += n;
    }
    ::close(kept_);
    kept_ = -1;
    return text;
}

void PassOnMessages(std::string_view captured, std::string_view ownPrefix, bool verbose,
                    std::ostream& err) {
    while (!captured.empty()) {
        const std::size_t end = captured.find('\n');
        const std::string_view line = captured.substr(0, end);
        captured = end == std::string_view::npos ? std::string_view() : captured.substr(end + 1);
        if (line.substr(0, ownPrefix.size()) == ownPrefix) {
            err << line << '\n';
        } else if (verbose) {
            err.flush();
            std::fwrite(line.data(), 1, line.size(), stderr);
            std::fputc('\n', stderr);
        }
    }
}

}  // namespace kuvelt::cli
