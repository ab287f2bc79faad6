#include "cli/calc_modes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <optional>
#include <ostream>
#include <sstream>

#include "calc/nekiri.h"
#include "calc/results.h"
#include "calc/yaita_choice.h"
#include "cli/calc_json.h"
#include "cli/design_json.h"
#include "cli/result_fields.h"
#include "model/design.h"
#include "platform/cp932.h"
#include "platform/numfmt.h"

namespace kuvelt::cli {

namespace {

// ---- Summary -----------------------------------------------------------------------------------

std::string Num(double v, const char* picture) { return numfmt::FormatNumber(v, picture); }

// Terminal columns of a text: code page 932 bytes (full-width characters take two columns).
std::size_t Width(const std::string& s) { return cp932::ByteLength(s); }

std::string PadLeft(const std::string& s, std::size_t w) {
    const std::size_t n = Width(s);
    return n >= w ? s : std::string(w - n, ' ') + s;
}

std::string PadRight(const std::string& s, std::size_t w) {
    const std::size_t n = Width(s);
    return n >= w ? s : s + std::string(w - n, ' ');
}

// A table whose columns are as wide as their widest cell; the first two columns (number and
// name) are left-aligned, the values right-aligned.
class TextTable {
  public:
    explicit TextTable(std::vector<std::string> header) { rows_.push_back(std::move(header)); }
    void Add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }
    void Write(std::ostream& out) const {
        std::vector<std::size_t> w(rows_[0].size(), 0);
        for (const auto& r : rows_) {
            for (std::size_t c = 0; c < r.size(); ++c) w[c] = std::max(w[c], Width(r[c]));
        }
        for (const auto& r : rows_) {
            std::string line = " ";
            for (std::size_t c = 0; c < r.size(); ++c) {
                line += "  ";
                line += c < 2 ? PadRight(r[c], w[c]) : PadLeft(r[c], w[c]);
            }
            while (!line.empty() && line.back() == ' ') line.pop_back();
            out << line << '\n';
        }
    }

  private:
    std::vector<std::vector<std::string>> rows_;
};

const char* Verdict(bool fails) { return fails ? "OUT" : "OK"; }

std::string KindName(int32_t yaita) {
    const std::optional<PileKind> k = KindOfChoice(yaita);
    return k ? std::string(KindCaption(*k)) : "（不明な種類）";
}

// The result list of a kind as the choice window shows it: number, name, then the fields of
// the row that have a caption (result_fields.h). A section without a row shows zeros.
template <class Row, class Catalogue>
void WriteList(std::ostream& out, int32_t yaita, const Catalogue& cat,
               const std::vector<Row>& rows) {
    out << "\n■ " << KindName(yaita) << "（" << cat.Count() << "断面）\n";
    if (cat.Count() == 0) return;
    std::vector<std::string> header = {"№", "名称"};
    for (const ResultField<Row>& f : FieldsOf<Row>()) {
        if (!f.caption.empty()) header.emplace_back(f.caption);
    }
    TextTable t(std::move(header));
    int32_t s = 0;
    for (const auto& c : cat) {
        ++s;
        if (s > kMaxSections) break;
        const auto i = static_cast<std::size_t>(s - 1);
        const Row row = i < rows.size() ? rows[i] : Row{};
        std::vector<std::string> cells = {std::to_string(s), c.Name};
        for (const ResultField<Row>& f : FieldsOf<Row>()) {
            if (f.caption.empty()) continue;
            cells.push_back(f.IsCheck() ? Verdict(f.Fails(row)) : Num(f.Value(row), f.picture));
        }
        t.Add(std::move(cells));
    }
    t.Write(out);
}

template <class Row>
const std::vector<Row>& RowsOf(const std::optional<std::vector<Row>>& list) {
    static const std::vector<Row> kNone;
    return list ? *list : kNone;
}

std::string Judgement(bool hantei, double fa) {
    return (hantei ? "≧ " : "＜ ") + Num(fa, "##0.0") + (hantei ? " OK" : " OUT");
}

void WriteChoiceAndStability(const usecase::DesignRun& o, std::ostream& out) {
    const Results& r = *o.calc.results;
    out << '\n';
    const CInpYaita& y = gInpYaita;
    if (!y.InpFlg) {
        out << "使用矢板          未決定\n";
    } else {
        const std::optional<PileKind> kind = KindOfChoice(y.Yaita);
        const std::string name = kind ? SectionName(*kind, y.Sect) : std::string();
        out << "使用矢板          " << KindName(y.Yaita) << "  №" << y.Sect << ' '
            << (name.empty() ? "（登録されていない断面№）" : name)
            << (y.Proposed ? "（ﾌﾟﾛｸﾞﾗﾑの提案）" : "") << '\n';
        // H' and D of the design as it stands (the stored ones may be of the design before a
        // --set): from the adopted virtual ground surface of this run to the pile head.
        const double h = gInpJyoken.ELYU - r.AdoptedVirtualGround().value_or(0.0);
        out << "                  矢板全長Ｌ = " << Num(y.L, "0.00")
            << " m   壁高Ｈ' = " << Num(h, "0.00") << " m   根入れ長Ｄ = " << Num(y.L - h, "0.00")
            << " m\n";
    }
    if (gInpJyoken.Nekiri == 0) {
        out << "根切り底面の安定  検討しない\n";
        return;
    }
    if (!o.calc.stability) {
        out << "根切り底面の安定  使用矢板の決定後に検討\n";
        return;
    }
    if (LayerBelowDesignGround(gInpJiban, gInpJyoken).Kind == 0 && r.boiling) {
        const clsNekiriAnteiAs& a = *r.boiling;
        if (a.Error() != 0) {
            out << "ボイリングの検討  " << NekiriNoResultMessage("ボイリングの検討").text << '\n';
            return;
        }
        out << "ボイリングの検討  水頭差Ｈ1 = " << Num(a.Hw, "0.00")
            << " m   根入れ長Ｄ = " << Num(a.D, "0.00") << " m   ";
        if (a.NoHead()) {
            out << "水位差がないため検討不要\n";
            return;
        }
        out << "安全率Ｆs = " << Num(a.F(), "##0.000") << "   " << Judgement(a.Hantei(), a.Fa)
            << '\n';
    } else if (LayerBelowDesignGround(gInpJiban, gInpJyoken).Kind != 0 && r.heaving) {
        const clsNekiriAnteiAc& a = *r.heaving;
        if (a.Error() != 0) {
            out << "ヒービングの検討  " << NekiriNoResultMessage("ヒービングの検討").text << '\n';
            return;
        }
        out << "ヒービングの検討  壁高Ｈ = " << Num(a.H, "0.00")
            << " m   根入れ長Ｄ = " << Num(a.D, "0.00")
            << " m   安全率Ｆs = " << Num(a.F(), "##0.000") << "   " << Judgement(a.Hantei(), a.Fa)
            << '\n';
    }
}

// ---- Modes -------------------------------------------------------------------------------------

// Each design of a run: read it, run it with the pick, and hand the run to `each`; the
// highest outcome of all. A file not read, or a design refused before its calculation, is
// reported by `refused` with its message.
// `beforeErr` is called before anything is said on `err`.
template <class Each, class Refused, class BeforeErr>
Outcome ForEachDesign(const std::vector<std::string>& files, const usecase::PickRequest& pick,
                      std::ostream& err, Each each, Refused refused, BeforeErr beforeErr) {
    Outcome worst = Outcome::Ok;
    std::ostringstream readErr;  // one for the run: a stream is costly to make
    std::ostringstream said;     // what a design says on `err`, written in one piece
    for (const std::string& file : files) {
        readErr.str(std::string());
        readErr.clear();
        const bool loaded = LoadDesign(file, readErr);
        const std::string readText = readErr.str();
        if (!readText.empty()) {
            beforeErr();
            err << readText;  // the refusal, or a warning about the levels
        }
        if (!loaded) {
            refused(file, readText);
            worst = usecase::Worst(worst, Outcome::Refused);
            continue;
        }
        const usecase::DesignRun r = usecase::RunDesign(pick);
        said.str(std::string());
        said.clear();
        if (!r.messages.empty() || r.note) {
            PrintMessages(r.messages, said);
            if (r.note) said << *r.note << '\n';
            beforeErr();
            err << said.str();
        }
        worst = usecase::Worst(worst, r.outcome);
        // A design the windows would refuse has no results to show, as one not read.
        if (r.calc.refusal) {
            refused(file, said.str());
            continue;
        }
        each(file, r);
    }
    return worst;
}

template <class Each, class Refused>
Outcome ForEachDesign(const std::vector<std::string>& files, const usecase::PickRequest& pick,
                      std::ostream& err, Each each, Refused refused) {
    return ForEachDesign(files, pick, err, each, refused, [] {});
}

// True when what is written on `out` and on `err` ends up in one place (a terminal, a file or
// pipe given both, or one stream), where their order shows.
bool SharedDestination(const std::ostream& out, const std::ostream& err) {
    if (&out == &err) return true;
    if (&out != &std::cout || &err != &std::cerr) return false;
    struct stat a {
    }, b{};
    if (::fstat(STDOUT_FILENO, &a) != 0 || ::fstat(STDERR_FILENO, &b) != 0) return true;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

Outcome RunCalcJson(const Invocation& inv, std::ostream& out, std::ostream& err) {
    const std::vector<std::string>& args = inv.files;
    const usecase::PickRequest& pick = inv.pick;
    // The text goes out in pieces of about this size, so memory stays flat over any batch and
    // the stream is written a few hundred times for thousands of designs.
    constexpr std::size_t kPiece = 64 * 1024;
    JsonBuffer text;
    const bool ordered = SharedDestination(out, err);
    auto beforeErr = [&] {
        // The messages of a design stand after the JSON of the designs before it.
        if (ordered && text.size() > 0) text.WriteTo(out);
    };
    auto passOn = [&] {
        if (text.size() >= kPiece) text.WriteTo(out);
    };
    Outcome outcome;
    if (args.size() == 1) {
        outcome = ForEachDesign(
            args, pick, err,
            [&](const std::string&, const usecase::DesignRun& r) {
                WriteResultsText(text, r.calc);
                passOn();
            },
            [](const std::string&, const std::string&) {}, beforeErr);
    } else {
        // Several designs: one compact object per line, in the order given.
        outcome = ForEachDesign(
            args, pick, err,
            [&](const std::string& file, const usecase::DesignRun& r) {
                WriteResultsLine(text, file, r.calc);
                passOn();
            },
            [&](const std::string& file, std::string line) {
                nlohmann::ordered_json head;
                head["file"] = file;
                while (!line.empty() && line.back() == '\n') line.pop_back();
                head["error"] = line;
                WriteJsonLine(text, head);
                passOn();
            },
            beforeErr);
    }
    text.WriteTo(out);
    return outcome;
}

Outcome RunSummary(const Invocation& inv, std::ostream& out, std::ostream& err) {
    const std::vector<std::string>& args = inv.files;
    const usecase::PickRequest& pick = inv.pick;
    bool first = true;
    auto heading = [&](const std::string& file) {
        if (!first) out << '\n';
        first = false;
        if (args.size() > 1) out << "==== " << file << " ====\n";
    };
    return ForEachDesign(
        args, pick, err,
        [&](const std::string& file, const usecase::DesignRun& r) {
            heading(file);
            WriteSummary(r, out);
        },
        [&](const std::string& file, const std::string&) { heading(file); });
}

}  // namespace

void WriteSummary(const usecase::DesignRun& o, std::ostream& out) {
    out << "件名              " << gInpJyoken.Title << '\n';
    const Results& r = *o.calc.results;
    if (!o.calc.calculated || !r.dl || !r.pressure) {
        out << "計算              計算ｴﾗｰ（入力ﾃﾞｰﾀ等をご確認下さい）\n";
        return;
    }
    const double eldlx = r.dl->ELDLX();
    out << "計算              正常終了\n\n";
    out << "仮想地盤面        ELDLX = " << Num(eldlx, "0.000") << " m（設計地盤面より "
        << Num(gInpJyoken.ELDL - eldlx, "0.000") << " m 下）\n";
    out << "荷重合力          P = " << Num(r.pressure->P(), "0.00")
        << " kN/m   M = " << Num(r.pressure->M(), "0.00")
        << " kN･m/m   Y = " << Num(r.pressure->Y(), "0.000") << " m\n";
    WriteList(out, 0, gInpSectC, RowsOf(r.sections.listC));
    WriteList(out, 1, gInpSectLS, RowsOf(r.sections.listLS));
    WriteList(out, 2, gInpSectS, RowsOf(r.sections.listS));
    WriteChoiceAndStability(o, out);
}

KUVELT_CLI_MODE(json, "--json", RunCalcJson);
KUVELT_CLI_MODE(summary, "--summary", RunSummary);

}  // namespace kuvelt::cli
