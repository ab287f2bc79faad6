#include "preview/app/launch.h"

namespace kuvelt::preview {

namespace {

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char a = s[i] >= 'a' && s[i] <= 'z' ? char(s[i] - 32) : s[i];
        if (a != prefix[i]) return false;
    }
    return true;
}

std::string Unquote(std::string s) {
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
    return s;
}

std::string JoinRest(const std::vector<std::string>& args, std::size_t from) {
    std::string out;
    for (std::size_t i = from; i < args.size(); ++i) {
        if (i > from) out += ' ';
        out += args[i];
    }
    return Unquote(out);
}

LaunchOptions Invalid(std::string why) {
    LaunchOptions o;
    o.error = std::move(why);
    return o;
}

}  // namespace

const std::string& UsageText() {
    static const std::string s =
        "使い方: Preview /INI=<作業フォルダ> <印刷ファイル>\n"
        "        Preview --pdf <出力PDFファイル> <印刷ファイル>";
    return s;
}

LaunchOptions ParseLaunchArguments(const std::vector<std::string>& args) {
    if (args.empty()) return Invalid("印刷ファイルが指定されていません。");
    if (args[0] == "--pdf") {
        if (args.size() < 2 || args[1].empty())
            return Invalid("出力PDFファイルが指定されていません。");
        if (args.size() < 3) return Invalid("印刷ファイルが指定されていません。");
        LaunchOptions o;
        o.mode = LaunchMode::Pdf;
        o.pdfFile = Unquote(args[1]);
        o.printFile = JoinRest(args, 2);
        if (o.printFile.empty()) return Invalid("印刷ファイルが指定されていません。");
        return o;
    }
    if (StartsWithNoCase(args[0], "/INI=")) {
        LaunchOptions o;
        o.mode = LaunchMode::Window;
        o.workFolder = Unquote(args[0].substr(5));
        if (o.workFolder.empty()) return Invalid("作業フォルダが指定されていません。");
        o.printFile = JoinRest(args, 1);
        if (o.printFile.empty()) return Invalid("印刷ファイルが指定されていません。");
        return o;
    }
    if (!args[0].empty() && args[0][0] == '-') return Invalid("不明なオプションです: " + args[0]);
    return Invalid("作業フォルダ（/INI=）が指定されていません。");
}

}  // namespace kuvelt::preview
