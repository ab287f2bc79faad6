// The CSV mode of kuvelt-calc: "--csv FILE ..." prints one row per design; with "--sweep
// PATH=FROM:TO:STEP [--sweep …] FILE" (alone on the command line it means --csv) it runs one
// design once per value (two sweeps: every pair, the first sweep's values outermost) and prints
// one row per run, the swept values first. Every
// run starts from the design as read (and changed by --set), with the swept values set and a
// fresh result store. "--columns PATH,PATH…" picks values of the --json dump instead of the
// standard columns. A run of more than two seconds shows its progress on standard error when
// that is a terminal.
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <sstream>

#include "cli/calc_json.h"
#include "cli/csv.h"
#include "cli/mode.h"
#include "io/design_json_read.h"
#include "model/design.h"

namespace kuvelt::cli {
namespace {

// More runs than this need --max-runs.
constexpr long kRunsWithoutLimit = 100000;

struct Sweep {
    DesignPath path;
    std::vector<double> values;
};

// Digits after the decimal point of a number's text ("-0.1" 1, "2" 0, "1e-3" none: -1).
int Decimals(const std::string& t) {
    if (t.find_first_of("eE") != std::string::npos) return -1;
    const std::size_t dot = t.find('.');
    return dot == std::string::npos ? 0 : static_cast<int>(t.size() - dot - 1);
}

bool ParseNumber(const std::string& t, double& v) {
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    return !t.empty() && r.ec == std::errc() && r.ptr == t.data() + t.size() && std::isfinite(v);
}

// "PATH=FROM:TO:STEP": the values FROM, FROM+STEP, … up to the last one not past TO, each
// rounded to the decimals the numbers are written with (so 0:-1:-0.1 gives -0.3, not
// -0.30000000000000004). False with the reason on `err`.
bool ParseSweep(const std::string& spec, Sweep& s, std::ostream& err) {
    const std::size_t eq = spec.find('=');
    const std::string range = eq == std::string::npos ? std::string() : spec.substr(eq + 1);
    const std::size_t a = range.find(':');
    const std::size_t b = a == std::string::npos ? a : range.find(':', a + 1);
    if (eq == std::string::npos || b == std::string::npos ||
        range.find(':', b + 1) != std::string::npos) {
        err << "--sweep needs PATH=FROM:TO:STEP (e.g. gInpJyoken.ELDL=0:-1:-0.1)\n";
        return false;
    }
    std::string fault;
    std::optional<DesignPath> p = ParseDesignPath(spec.substr(0, eq), fault);
    if (!p) {
        err << "--sweep " << fault << '\n';
        return false;
    }
    if (p->field->type != FieldType::Double && p->field->type != FieldType::Long) {
        err << "--sweep " << p->text << ": only numeric fields can be swept\n";
        return false;
    }
    const std::string parts[3] = {range.substr(0, a), range.substr(a + 1, b - a - 1),
                                  range.substr(b + 1)};
    double from = 0, to = 0, step = 0;
    if (!ParseNumber(parts[0], from) || !ParseNumber(parts[1], to) ||
        !ParseNumber(parts[2], step)) {
        err << "--sweep " << spec << ": FROM, TO and STEP must be numbers\n";
        return false;
    }
    if (step == 0.0 || (to - from) * step < 0.0) {
        err << "--sweep " << spec << ": STEP must lead from FROM to TO\n";
        return false;
    }
    int decimals = 0;
    for (const std::string& t : parts) decimals = std::max(decimals, Decimals(t));
    if (Decimals(parts[0]) < 0 || Decimals(parts[2]) < 0) decimals = -1;
    // A millionth of a step of slack, so 1:2:0.1 ends at 2 despite the binary fractions.
    const double n = std::floor((to - from) / step + 1e-6);
    if (n + 1 > static_cast<double>(kRunsWithoutLimit) * 100) {
        err << "--sweep " << spec << ": far too many values\n";
        return false;
    }
    s.path = std::move(*p);
    s.values.clear();
    for (long i = 0; i <= static_cast<long>(n); ++i) {
        double v = from + static_cast<double>(i) * step;
        if (decimals >= 0) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
            v = std::strtod(buf, nullptr);
            if (v == 0.0) v = 0.0;  // no "-0"
        }
        s.values.push_back(v);
    }
    return true;
}

// "kuvelt-calc: 1200/10000 runs, about 14 s left" on a terminal's standard error, for runs that
// last more than two seconds; rewritten in place at most a few times a second.
class Progress {
  public:
    explicit Progress(std::size_t total) : total_(total), shown_(::isatty(STDERR_FILENO) == 1) {}
    ~Progress() {
        if (printed_) std::fprintf(stderr, "\r\033[K");
    }
    void Done(std::size_t done) {
        if (!shown_) return;
        const auto now = Clock::now();
        const double elapsed = std::chrono::duration<double>(now - start_).count();
        if (elapsed < 2.0 || now - last_ < std::chrono::milliseconds(250)) return;
        last_ = now;
        const double left =
            elapsed / static_cast<double>(done) * static_cast<double>(total_ - done);
        std::fprintf(stderr, "\r\033[Kkuvelt-calc: %zu/%zu runs, about %.0f s left", done, total_,
                     left);
        std::fflush(stderr);
        printed_ = true;
    }

  private:
    using Clock = std::chrono::steady_clock;
    std::size_t total_;
    bool shown_;
    bool printed_ = false;
    Clock::time_point start_ = Clock::now();
    Clock::time_point last_{};
};

struct CsvOptions {
    std::vector<Sweep> sweeps;
    std::vector<std::string> columns;  // empty: the standard columns
    long maxRuns = kRunsWithoutLimit;
    std::vector<std::string> files;
};

// The --csv options of the command line; false (usage) with the reason on `err`.
bool TakeCsvOptions(const Invocation& inv, CsvOptions& o, std::ostream& err) {
    for (const std::string& spec : inv.sweeps) {
        Sweep s;
        if (!ParseSweep(spec, s, err)) return false;
        o.sweeps.push_back(std::move(s));
    }
    for (const std::string& given : inv.columns) {
        std::stringstream list(given);
        for (std::string p; std::getline(list, p, ',');) {
            if (!csv::ValidPath(p)) {
                err << "--columns " << p << ": not a path of the JSON dump\n";
                return false;
            }
            o.columns.push_back(p);
        }
    }
    if (!inv.maxRuns.empty()) {
        const std::string& n = inv.maxRuns;
        const auto r = std::from_chars(n.data(), n.data() + n.size(), o.maxRuns);
        if (r.ec != std::errc() || r.ptr != n.data() + n.size() || o.maxRuns < 1) {
            err << "--max-runs " << n << ": expected a whole number from 1\n";
            return false;
        }
    }
    o.files = inv.files;
    if (!o.sweeps.empty() && o.files.size() != 1) {
        err << "a sweep runs one FILE\n";
        return false;
    }
    return true;
}

std::vector<std::string> Cells(const CsvOptions& o, const usecase::DesignRun& r) {
    if (o.columns.empty()) return csv::SummaryCells(r);
    const nlohmann::ordered_json j = ResultsJson(r.calc);
    std::vector<std::string> c;
    for (const std::string& p : o.columns) c.push_back(csv::Pick(j, p));
    return c;
}

std::vector<std::string> Header(const CsvOptions& o) {
    std::vector<std::string> h;
    if (o.sweeps.empty()) h.push_back("file");
    for (const Sweep& s : o.sweeps) {
        const std::string unit = FieldUnit(*s.path.field);
        h.push_back(csv::Text(unit.empty() ? s.path.text : s.path.text + " (" + unit + ")"));
    }
    if (o.columns.empty()) {
        for (std::string& c : csv::SummaryHeader()) h.push_back(std::move(c));
    } else {
        for (const std::string& c : o.columns) h.push_back(csv::Text(c));
    }
    return h;
}

usecase::DesignRun Run(const usecase::PickRequest& pick, std::ostream& err) {
    usecase::DesignRun r = usecase::RunDesign(pick);
    PrintMessages(r.messages, err);
    if (r.note) err << *r.note << '\n';
    return r;
}

Outcome RunFiles(const CsvOptions& o, const usecase::PickRequest& pick, std::ostream& out,
                 std::ostream& err) {
    Outcome worst = Outcome::Ok;
    Progress progress(o.files.size());
    std::size_t done = 0;
    for (const std::string& file : o.files) {
        std::vector<std::string> row{csv::Text(file)};
        std::vector<std::string> cells;
        std::ostringstream readErr;
        if (!LoadDesign(file, readErr)) {
            err << readErr.str();
            worst = usecase::Worst(worst, Outcome::Refused);
            std::string why = readErr.str();
            while (!why.empty() && why.back() == '\n') why.pop_back();
            cells = o.columns.empty() ? csv::RefusedCells(why)
                                      : std::vector<std::string>(o.columns.size());
        } else {
            const usecase::DesignRun r = Run(pick, err);
            worst = usecase::Worst(worst, r.outcome);
            cells = Cells(o, r);
        }
        row.insert(row.end(), cells.begin(), cells.end());
        out << csv::Row(row);
        progress.Done(++done);
    }
    return worst;
}

Outcome RunSweep(const CsvOptions& o, const usecase::PickRequest& pick, std::ostream& out,
                 std::ostream& err) {
    std::size_t runs = 1;
    for (const Sweep& s : o.sweeps) runs *= s.values.size();
    if (runs > static_cast<std::size_t>(o.maxRuns)) {
        err << "the sweep makes " << runs << " runs, more than "
            << (o.maxRuns == kRunsWithoutLimit ? "100000" : std::to_string(o.maxRuns))
            << ": give --max-runs " << runs << " to make them\n";
        return Outcome::Usage;
    }
    if (!LoadDesign(o.files[0], err)) return Outcome::Refused;
    // Every run starts from the same design.
    const Design design = CurrentDesign();
    // Every value must be one the input window takes, before the first run.
    bool refused = false;
    for (const Sweep& s : o.sweeps) {
        int shown = 0;
        for (double v : s.values) {
            std::string fault;
            if (SetDesignValue(s.path, nlohmann::json(v), fault)) continue;
            refused = true;
            if (++shown <= 10) err << "--sweep " << fault << '\n';
        }
        if (shown > 10)
            err << "--sweep " << s.path.text << ": " << shown - 10 << " more values refused\n";
    }
    if (refused) return Outcome::Refused;

    out << csv::Row(Header(o));
    Outcome worst = Outcome::Ok;
    Progress progress(runs);
    const std::size_t inner = o.sweeps.size() > 1 ? o.sweeps[1].values.size() : 1;
    for (std::size_t n = 0; n < runs; ++n) {
        SetCurrentDesign(design);
        std::vector<std::string> row;
        const std::size_t idx[2] = {n / inner, n % inner};
        for (std::size_t k = 0; k < o.sweeps.size(); ++k) {
            const double v = o.sweeps[k].values[idx[k]];
            std::string fault;
            SetDesignValue(o.sweeps[k].path, nlohmann::json(v), fault);  // checked above
            row.push_back(csv::Number(v));
        }
        const usecase::DesignRun r = Run(pick, err);
        worst = usecase::Worst(worst, r.outcome);
        for (std::string& c : Cells(o, r)) row.push_back(std::move(c));
        out << csv::Row(row);
        progress.Done(n + 1);
    }
    return worst;
}

Outcome RunCsv(const Invocation& inv, std::ostream& out, std::ostream& err) {
    CsvOptions o;
    if (!TakeCsvOptions(inv, o, err)) return Outcome::Usage;
    if (!o.sweeps.empty()) return RunSweep(o, inv.pick, out, err);
    out << csv::Row(Header(o));
    return RunFiles(o, inv.pick, out, err);
}

}  // namespace

KUVELT_CLI_MODE(csv, "--csv", RunCsv);

}  // namespace kuvelt::cli
