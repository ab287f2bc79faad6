#include "preview/app/launch.h"

namespace kuvelt::preview {

namespace {

constexpr LaunchOption kOptions[] = {
    {"/INI=", "FOLDER",
     "プレビューのウィンドウを開きます。FOLDER は設定ファイル Preview.ini を置く作業フォルダ。"},
    {"--pdf", "OUT.pdf", "ウィンドウを開かずに、報告書を PDF ファイル OUT.pdf に書き出します。"},
    {"--verbose", "", "下で動くライブラリのメッセージも標準エラー出力に出します。"},
    {"--help", "", "この説明を表示して終了します（-h も同じ）。"},
    {"--version", "", "バージョンを表示して終了します。"},
};

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

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += ' ';
        out += items[i];
    }
    return Unquote(out);
}

LaunchOptions Invalid(std::string why) {
    LaunchOptions o;
    o.error = std::move(why);
    return o;
}

}  // namespace

std::span<const LaunchOption> LaunchOptionTable() { return kOptions; }

const std::string& UsageText() {
    static const std::string s = [] {
        std::string t =
            "使い方: Preview /INI=<作業フォルダ> <印刷ファイル>\n"
            "        Preview --pdf <出力PDFファイル> <印刷ファイル>\n"
            "オプションの順序は自由です（-- より後はオプションとして扱いません）。\n\n";
        for (const LaunchOption& o : kOptions) {
            t += "  " + std::string(o.name);
            if (!o.value.empty()) t += (o.name.back() == '=' ? "" : " ") + std::string(o.value);
            t += "\n      " + std::string(o.help) + "\n";
        }
        t += "\n終了ステータス: 0 正常終了、1 印刷ファイルを読めない又は PDF を書けない、"
             "64 コマンドラインの誤り\n";
        return t;
    }();
    return s;
}

LaunchOptions ParseLaunchArguments(const std::vector<std::string>& args) {
    LaunchOptions o;
    bool pdfGiven = false, iniGiven = false, optionsEnded = false;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded) {
            rest.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--help" || a == "-h") {
            o.mode = LaunchMode::Help;
            return o;
        } else if (a == "--version") {
            o.mode = LaunchMode::Version;
            return o;
        } else if (a == "--verbose") {
            o.verbose = true;
        } else if (a == "--pdf" || a.rfind("--pdf=", 0) == 0) {
            std::string value;
            if (a.size() > 5) {
                value = a.substr(6);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            }
            o.pdfFile = Unquote(value);
            if (o.pdfFile.empty()) return Invalid("出力PDFファイルが指定されていません。");
            if (pdfGiven) return Invalid("--pdf が2回指定されています。");
            pdfGiven = true;
        } else if (StartsWithNoCase(a, "/INI=")) {
            o.workFolder = Unquote(a.substr(5));
            if (o.workFolder.empty()) return Invalid("作業フォルダが指定されていません。");
            iniGiven = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return Invalid("不明なオプションです: " + a);
        } else {
            rest.push_back(a);
        }
    }
    if (pdfGiven && iniGiven) return Invalid("--pdf と /INI= は一緒に指定できません。");
    o.printFile = Join(rest);
    if (!pdfGiven && !iniGiven) {
        return Invalid(o.printFile.empty() ? "印刷ファイルが指定されていません。"
                                           : "作業フォルダ（/INI=）が指定されていません。");
    }
    if (o.printFile.empty()) return Invalid("印刷ファイルが指定されていません。");
    o.mode = pdfGiven ? LaunchMode::Pdf : LaunchMode::Window;
    return o;
}

}  // namespace kuvelt::preview
