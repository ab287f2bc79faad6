// The temporary-file service of the report when the user's temporary folder fails: the run-time
// error number of each cause, and no file created anywhere else.
#include <stdlib.h>

#include <filesystem>
#include <functional>

#include "fault_support.h"
#include "platform/paths.h"
#include "platform/tempfile.h"

namespace kuvelt::faults {
namespace {

namespace fs = std::filesystem;

TEST(TempFileFault, CreateReportsTheCauseAndCreatesNothing) {
    struct Case {
        const char* name;
        const char* options;
        std::function<std::string(ScratchMount&)> arrange;  // the temporary folder
        std::string prefix;
        int32_t code;
    };
    const Case cases[] = {
        {"read_only_folder", "size=64k",
         [](ScratchMount& m) { return m.SetReadOnly(true) ? m.path() : ""; }, "~MT", 70},
        {"no_free_inode", "size=64k,nr_inodes=1", [](ScratchMount& m) { return m.path(); }, "~MT",
         61},
        {"vanished_folder", "size=64k", [](ScratchMount& m) { return m.file("gone"); }, "~MT", 76},
        {"folder_is_a_file", "size=64k",
         [](ScratchMount& m) {
             kuvelt::test::WriteBytes(m.file("file"), "x");
             return m.file("file");
         },
         "~MT", 76},
        {"prefix_with_a_folder", "size=64k", [](ScratchMount& m) { return m.path(); }, "../~MT",
         52},
    };
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchMount mnt(c.options);
        KUVELT_NEED_MOUNT(mnt);
        const std::string folder = c.arrange(mnt);
        ASSERT_FALSE(folder.empty());
        const auto before = FolderContents(mnt.outside().path().string());
        // Through TMPDIR, as the report finds the folder, and given directly.
        ::setenv("TMPDIR", folder.c_str(), 1);
        EXPECT_EQ(paths::TempFolder(), folder);
        for (const std::string& given : {std::string(), folder}) {
            std::string path = "unchanged";
            int32_t code = 0;
            EXPECT_FALSE(tempfile::Create(c.prefix, path, code, given));
            EXPECT_EQ(code, c.code);
            EXPECT_EQ(path, "unchanged");
        }
        // Restored before the next case makes its own temporary folder.
        if (old) {
            ::setenv("TMPDIR", saved.c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
        EXPECT_EQ(FolderContents(mnt.outside().path().string()), before);
    }
}

}  // namespace
}  // namespace kuvelt::faults
