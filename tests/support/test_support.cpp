#include "test_support.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kuvelt::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kuvelt-test-XXXXXX").string();
    char* made = ::mkdtemp(pattern.data());
    if (made == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = made;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Tests may leave read-only folders behind; make them writable before removing them.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot read " << path;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string ReadBytesAfter(const std::string& path, const std::string& firstLine) {
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.substr(0, firstLine.size()), firstLine) << path;
    return bytes.substr(std::min(bytes.size(), firstLine.size()));
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& input) {
    TempDir dir;
    const std::string inPath = dir.file("in"), outPath = dir.file("out"), errPath = dir.file("err");
    WriteBytes(inPath, input);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int i = open(inPath.c_str(), O_RDONLY);
        const int o = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int e = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(i, 0);
        dup2(o, 1);
        dup2(e, 2);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    ProgramRun r;
    int st = 0;
    if (pid > 0 && waitpid(pid, &st, 0) == pid && WIFEXITED(st)) r.status = WEXITSTATUS(st);
    r.out = ReadBytes(outPath);
    r.err = ReadBytes(errPath);
    return r;
}

std::string Said(const std::string& program, const std::string& text) {
    std::string out;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) out += program + ": " + line + "\n";
    }
    return out;
}

std::filesystem::path SourceDir() {
    if (const char* s = std::getenv("KUVELT_SOURCE_DIR")) return s;
    return KUVELT_DEFAULT_SOURCE_DIR;
}

std::filesystem::path ProgramDir() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

std::string Example(const char* name) { return (SourceDir() / "examples" / name).string(); }

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace kuvelt::test
