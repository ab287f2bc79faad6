// kuvelt-calc end to end: the program itself is run on the example designs and on bad files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace kuvelt {
namespace {

namespace fs = std::filesystem;
using nlohmann::ordered_json;

using CalcRun = test::ProgramRun;

// Runs bin/kuvelt-calc (the tests run in the build's bin folder) with `args`, no shell.
CalcRun Calc(const std::vector<std::string>& args) {
    return test::RunProgram("./kuvelt-calc", args);
}

std::vector<fs::path> ExampleFiles() {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(test::SourceDir() / "examples")) {
        if (e.path().extension() == ".kvt") files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> Keys(const ordered_json& j) {
    std::vector<std::string> k;
    for (auto it = j.begin(); it != j.end(); ++it) k.push_back(it.key());
    return k;
}

TEST(CliJson, ExamplesPrintEveryFieldInOrderWithTheirTypes) {
    const auto files = ExampleFiles();
    ASSERT_GE(files.size(), 4u);
    for (const fs::path& f : files) {
        const CalcRun r = Calc({"--json", f.string()});
        ASSERT_EQ(r.status, 0) << f << r.err;
        EXPECT_EQ(r.err, "");
        const ordered_json j = ordered_json::parse(r.out);
        ASSERT_FALSE(j.empty());
        ASSERT_EQ(j.begin().key(), "design");
        const ordered_json& d = j["design"];
        EXPECT_EQ(Keys(d),
                  (std::vector<std::string>{"gInpJyoken", "gInpJiban", "gInpZairyo", "gInpSectC",
                                            "gInpSectLS", "gInpSectS", "gInpYaita", "gInpHyoshi"}));
        // The site's values beyond the classic ones follow their record's, only where given.
        const bool site = f.filename() == "layered-channel.kvt";
        std::vector<std::string> jyoken = {"InpFlg", "Title",  "ELGL",  "ELYU", "ELDL", "ELWL",
                                           "Z",      "Keijyo", "K0X",   "K0Q",  "K1m",  "K1Q",
                                           "K2X1",   "K2X2",   "K2Ho",  "K2Gs", "K2Q",  "Delta",
                                           "Fsb",    "Fsh",    "Nekiri"};
        std::vector<std::string> jiban = {"InpFlg", "Kind", "Gt", "Gws", "Gw",
                                          "Fai",    "Ca",   "Cb", "KH"};
        if (site) {
            jyoken.push_back("ELWF");
            jiban.push_back("Layers");
        }
        EXPECT_EQ(Keys(d["gInpJyoken"]), jyoken) << f;
        EXPECT_EQ(Keys(d["gInpJiban"]), jiban) << f;
        EXPECT_EQ(Keys(d["gInpZairyo"]),
                  (std::vector<std::string>{"InpFlg", "EcHira", "EcMizo", "EcNami", "Esky", "Esy",
                                            "KYZai", "KYSat", "KYSac", "YZai", "YSat", "YSac",
                                            "AlphaIz", "AlphaIs", "AlphaId", "AlphaZs"}));
        EXPECT_EQ(Keys(d["gInpYaita"]),
                  (std::vector<std::string>{"InpFlg", "Yaita", "Sect", "H", "D", "L"}));
        EXPECT_EQ(Keys(d["gInpHyoshi"]),
                  (std::vector<std::string>{"KojiMei", "Hachusha", "Sekkeisha", "Shosasha",
                                            "Hizuke", "Han"}));
        ASSERT_TRUE(d["gInpSectC"].is_array());
        ASSERT_FALSE(d["gInpSectC"].empty());
        EXPECT_EQ(Keys(d["gInpSectC"][0]),
                  (std::vector<std::string>{"Name", "Keijyo", "Ic", "Mc", "Lmin", "Lmax"}));
        EXPECT_EQ(Keys(d["gInpSectS"][0]),
                  (std::vector<std::string>{"Name", "Id", "Zd", "Io", "Zo"}));

        EXPECT_TRUE(d["gInpJyoken"]["InpFlg"].get<bool>()) << f;
        EXPECT_TRUE(d["gInpJiban"]["InpFlg"].get<bool>()) << f;
        EXPECT_TRUE(d["gInpJyoken"]["Title"].is_string());
        for (const char* k : {"Keijyo", "Nekiri"})
            EXPECT_TRUE(d["gInpJyoken"][k].is_number_integer());
        EXPECT_TRUE(d["gInpJiban"]["Kind"].is_number_integer());
        EXPECT_TRUE(d["gInpYaita"]["Yaita"].is_number_integer());
        EXPECT_TRUE(d["gInpYaita"]["Sect"].is_number_integer());
        EXPECT_TRUE(d["gInpSectC"][0]["Keijyo"].is_number_integer());
        EXPECT_TRUE(d["gInpJiban"]["Fai"].is_number());
    }
}

TEST(CliJson, NumbersAreShortestRoundTripTexts) {
    const CalcRun r = Calc({"--json", (test::SourceDir() / "examples/sand-channel.kvt").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"ELGL\": 3.5,"), std::string::npos);
    EXPECT_NE(r.out.find("\"Gw\": 9.8,"), std::string::npos);
    EXPECT_NE(r.out.find("\"EcNami\": 35000000,"), std::string::npos);
    EXPECT_NE(r.out.find("\"Keijyo\": 0,"), std::string::npos);
    EXPECT_NE(r.out.find("\"Name\": \"SP-ⅥL\""), std::string::npos);  // UTF-8, not escaped
    const ordered_json j = ordered_json::parse(r.out);
    EXPECT_EQ(j["design"]["gInpSectLS"][0]["Id"].get<double>(), 85.1);
    EXPECT_EQ(j["design"]["gInpJyoken"]["Title"].get<std::string>(),
              "砂質土地盤の水路護岸（H=3.5m、水平載荷）");
}

// The start script runs the tool on a bare file name until the application exists.
TEST(CliJson, BareFileNameRunsTheDefaultMode) {
    const CalcRun r = Calc({(test::SourceDir() / "examples/sand-channel.kvt").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(r.out.empty());
}

TEST(CliWrite, WritingAnExampleAgainGivesTheSameBytes) {
    test::TempDir dir;
    for (const fs::path& f : ExampleFiles()) {
        const std::string out = dir.file(f.filename().string());
        const CalcRun r = Calc({"--write", out, f.string()});
        ASSERT_EQ(r.status, 0) << f << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(test::ReadBytes(out), test::ReadBytes(f.string())) << f;
    }
}

const std::string kReadHead =
    "ﾃﾞｰﾀﾌｧｲﾙ読み込みｴﾗｰ: 指定された入力ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。（ｴﾗｰｺｰﾄﾞ ： ";
const std::string kTail =
    "\n\nお問い合わせの際は，上記ｴﾗｰﾒｯｾｰｼﾞおよびｴﾗｰｺｰﾄﾞをお知らせください。\n";

TEST(CliErrors, RefusedAndBrokenFilesExitTwoWithTheCodedMessage) {
    test::TempDir dir;
    const std::string good =
        test::ReadBytes((test::SourceDir() / "examples/sand-channel.kvt").string());
    std::string v101 = good;
    v101.replace(v101.find("[1.00]"), 6, "[1.01]");
    struct Case {
        const char* name;
        const char* file;
        std::string bytes;
        const char* code;
    };
    const std::vector<Case> cases = {
        {"version_1_01", "v101.kvt", v101, "0）"},
        {"wrong_extension", "design.kv", good, "0）"},
        {"truncated", "cut.kvt", good.substr(0, good.size() / 2), "62）"},
        {"not_a_number", "word.kvt",
         good.substr(0, good.find("#TRUE#")) + "#TRUE#\r\n\"t\"\r\nabc\r\n", "13）"},
    };
    for (const auto& c : cases) {
        test::WriteBytes(dir.file(c.file), c.bytes);
        const CalcRun r = Calc({"--json", dir.file(c.file)});
        EXPECT_EQ(r.status, 2) << c.name;
        EXPECT_EQ(r.out, "") << c.name;
        EXPECT_EQ(r.err, test::Said("kuvelt-calc", kReadHead + c.code + kTail)) << c.name;
    }
    const CalcRun missing = Calc({"--json", dir.file("missing.kvt")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, test::Said("kuvelt-calc",
                                      kReadHead + "0）" + kTail));  // the pre-read check refuses it
}

// The windows' words: the code, the file and the cause.
TEST(CliErrors, WriteFailureExitsThree) {
    test::TempDir dir;
    const std::string out = dir.file("no/such/folder/out.kvt");
    const CalcRun r =
        Calc({"--write", out, (test::SourceDir() / "examples/sand-channel.kvt").string()});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              test::Said("kuvelt-calc",
                         "ﾃﾞｰﾀﾌｧｲﾙ書き込みｴﾗｰ: 入力ﾃﾞｰﾀﾌｧｲﾙを作成することができませんでした。"
                         "（ｴﾗｰｺｰﾄﾞ ： 76）\n\nﾌｧｲﾙ名：" +
                             out + "\n原因：No such file or directory" + kTail));
    EXPECT_FALSE(fs::exists(dir.file("no")));
}

// Standard output that cannot take what a mode prints (a full device, a reader gone) is a
// failure like any other write, said with its cause; a mode that prints nothing does not fail.
TEST(CliErrors, OutputThatDoesNotReachStandardOutputExitsThree) {
    test::TempDir dir;
    const std::string f = (test::SourceDir() / "examples/sand-channel.kvt").string();
    const struct {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{"--json", f}, 3},
        {{f}, 3},
        {{"--csv", f, f}, 3},
        {{"--help"}, 3},
        {{"--sweep", "gInpJyoken.ELDL=0:-1:-0.1", f}, 3},
        {{"--report", dir.file("r"), f}, 3},
        {{"--write", dir.file("w.kvt"), f}, 0},
    };
    for (const bool pipe : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.args[0] + (pipe ? " into a closed pipe" : " into /dev/full"));
            int fds[2];
            ASSERT_EQ(::pipe(fds), 0);
            const int err = ::open(dir.file("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const pid_t pid = ::fork();
            if (pid == 0) {
                ::dup2(pipe ? fds[1] : ::open("/dev/full", O_WRONLY), 1);
                ::dup2(err, 2);
                ::close(fds[0]);  // nobody reads
                std::vector<char*> argv = {const_cast<char*>("./kuvelt-calc")};
                for (const auto& a : c.args) argv.push_back(const_cast<char*>(a.c_str()));
                argv.push_back(nullptr);
                ::execv(argv[0], argv.data());
                ::_exit(127);
            }
            ::close(fds[0]);
            ::close(fds[1]);
            ::close(err);
            int status = 0;
            ::waitpid(pid, &status, 0);
            ASSERT_TRUE(WIFEXITED(status));
            EXPECT_EQ(WEXITSTATUS(status), c.status);
            const std::string said = test::ReadBytes(dir.file("err"));
            const std::string cause = pipe ? "Broken pipe" : "No space left on device";
            EXPECT_EQ(said.find("kuvelt-calc: 標準出力に書き込めません：" + cause + "\n") !=
                          std::string::npos,
                      c.status == 3)
                << said;
        }
    }
}

// --write writes only what the program's own reader of the target's form takes back; the field
// it would refuse is named, and the file there stays as it was.
TEST(CliWrite, NeverWritesWhatItsReaderRefuses) {
    test::TempDir dir;
    const std::string good =
        test::ReadBytes((test::SourceDir() / "examples/sand-channel.kvt").string());
    const std::size_t fai = good.find("\r\n 30 \r\n") + 2;  // φ, the first number of 30
    const std::size_t title = good.find("\r\n\"", good.find("#TRUE#")) + 2;
    const std::string titleLine = good.substr(title, good.find("\r\n", title) - title);
    auto withTitle = [&](const std::string& t) {
        return std::string(good).replace(title, titleLine.size(), "\"" + t + "\"");
    };
    const struct {
        const char* name;
        std::string design;
        const char* field;  // named when refused: always into .json, into .kvt when kvtRefused
        bool kvtRefused;
    } cases[] = {
        {"phi_1000", std::string(good).replace(fai, 4, " 1000 "), "gInpJiban.Fai", false},
        {"bytes_invalid_in_code_page_932", withTitle("abc\xFF\x81xyz"), "gInpJyoken.Title", true},
        {"title_over_its_byte_limit", withTitle(std::string(90, 'x')), "gInpJyoken.Title", false},
        {"title_with_a_line_break", withTitle("a\r\nb"), "gInpJyoken.Title", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::WriteBytes(dir.file("in.kvt"), c.design);
        for (const std::string out : {"out.json", "out.kvt"}) {
            test::WriteBytes(dir.file(out), "old");
            const CalcRun r = Calc({"--write", dir.file(out), dir.file("in.kvt")});
            const bool refused = out == "out.json" || c.kvtRefused;
            EXPECT_EQ(r.status, refused ? 2 : 0) << out << r.err;
            EXPECT_EQ(r.err.find("kuvelt-calc: " + dir.file(out) + ": " + c.field + ": ") == 0,
                      refused)
                << r.err;
            if (refused) {
                EXPECT_EQ(test::ReadBytes(dir.file(out)), "old");
            } else {
                // Read back as it stands (a design outside the windows' rules is not calculated).
                EXPECT_EQ(Calc({"--write", dir.file("back.kvt"), dir.file(out)}).status, 0)
                    << "reads back";
            }
        }
    }
}

}  // namespace
}  // namespace kuvelt
