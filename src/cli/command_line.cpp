#include "cli/command_line.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>
#include <system_error>

#include "io/design_file.h"
#include "usecase/outcome.h"

#ifndef KUVELT_VERSION
#define KUVELT_VERSION "unknown"
#endif

namespace kuvelt::cli {
namespace {

constexpr OptionSpec kOptions[] = {
    {.name = "--summary",
     .mode = true,
     .manyFiles = true,
     .help = "Calculates each design and prints what the windows show of it: the virtual ground "
             "surface, the load resultant, every section's checks with OK or OUT, the sheet-pile "
             "choice and the stability verdict. The mode when none is given."},
    {.name = "--json",
     .mode = true,
     .manyFiles = true,
     .help = "Calculates each design and prints the design and the whole result store as one "
             "JSON object; for a chosen pile the last member, \"distribution\", holds the moment, "
             "shear and displacement along it. With several files one compact object per line, "
             "\"file\" first (a refused file has \"file\" and \"error\" only)."},
    {.name = "--csv",
     .mode = true,
     .manyFiles = true,
     .help = "Calculates each design, or the design once per value of --sweep, and prints CSV: "
             "a header row, then one row per run with the status, the virtual ground, P, Y, the "
             "pile and its checks, the stability check, the passing sections per kind and the "
             "verdict (--columns picks other values)."},
    {.name = "--write",
     .value = "OUT",
     .kind = ValueKind::Output,
     .mode = true,
     .help = "Reads FILE and writes it again as OUT: a JSON design when OUT ends in .json, a "
             "design file otherwise; OUT - writes the design file to standard output. With "
             "--pick the design is calculated first and the choice stored."},
    {.name = "--report",
     .value = "DIR",
     .kind = ValueKind::Folder,
     .mode = true,
     .help = "Writes the calculation report of the chosen pile into the folder DIR (made when "
             "missing): 1.prn to 5.prn, cover.prn, summary.prn, standards.prn, report.prn and "
             "the figure files; standard output lists the files written."},
    {.name = "--pdf",
     .value = "OUT.pdf",
     .kind = ValueKind::Output,
     .mode = true,
     .help = "Writes the calculation report of the chosen pile as a PDF, through the preview "
             "program, and names the file on standard output; OUT.pdf - writes the PDF itself "
             "to standard output."},
    {.name = "--pick",
     .value = "KIND:NO:L|auto",
     .kind = ValueKind::Pick,
     .help = "The sheet-pile choice instead of the design's stored one: KIND concrete, light or "
             "steel, NO the section number in that kind's catalogue, L the total length in m; or "
             "auto, the program's proposal: of the first kind (concrete, light steel, steel) "
             "with a section that satisfies every check, the passing section with the least "
             "mass x L (without masses the first passing one), with L its required length "
             "rounded up to 0.5 m. The pick goes through the choice window's checks."},
    {.name = "--yes",
     .most = 0,
     .help = "Answers the pick's questions yes (a length outside Lmin to Lmax, or below the "
             "required length); without it such a pick is refused."},
    {.name = "--set",
     .value = "PATH=VALUE",
     .kind = ValueKind::Change,
     .most = 0,
     .help = "Changes a field of each design read, before anything else and with the input "
             "windows' checks: gInpJyoken.ELDL=-0.5, gInpSectS[3].Zo=1520 (rows from 0), "
             "gInpJiban.Layers[1].Fai=25 (layers below the first, from 1; one past the last is "
             "appended), gInpHyoshi.SankoBunken[0]=TEXT (the design's references, from 0; one "
             "past the last is appended, an empty TEXT removes one). VALUE is a number, true or "
             "false, or the text itself. Repeatable, applied in the order given."},
    {.name = "--sweep",
     .value = "PATH=FROM:TO:STEP",
     .kind = ValueKind::Sweep,
     .most = 2,
     .csvOnly = true,
     .help = "Runs the design once per value of a numeric field: FROM, FROM+STEP, ... up to TO. "
             "Two sweeps give every pair, the first one's values outermost. Given without a "
             "mode, the mode is --csv."},
    {.name = "--columns",
     .value = "PATH,...",
     .kind = ValueKind::Columns,
     .most = 0,
     .csvOnly = true,
     .help = "The CSV columns: values of the --json dump by their paths (gDL.ELDLX, "
             "gListS[5][1], design.gInpJyoken.Title) instead of the standard columns."},
    {.name = "--max-runs",
     .value = "N",
     .kind = ValueKind::Count,
     .csvOnly = true,
     .help = "Allows a sweep of more than 100000 runs, up to N."},
    {.name = "--verbose",
     .most = 0,
     .help = "Lets the messages of the libraries underneath, and of the preview program that "
             "--pdf starts, through to standard error; without it standard error carries only "
             "kuvelt-calc's own lines."},
    {.name = "--help",
     .most = 0,
     .alias = "-h",
     .help = "Prints the modes, the options and the exit statuses, and exits."},
    {.name = "--version",
     .most = 0,
     .help = "Prints the program's version and the version of the design file it writes, and "
             "exits."},
};

bool ParsePick(const std::string& v, usecase::Pick& pick) {
    const std::size_t a = v.find(':');
    const std::size_t b = a == std::string::npos ? a : v.find(':', a + 1);
    if (b == std::string::npos || v.find(':', b + 1) != std::string::npos) return false;
    const std::string kind = v.substr(0, a);
    if (kind == "concrete") {
        pick.kind = PileKind::Concrete;
    } else if (kind == "light") {
        pick.kind = PileKind::LightSteel;
    } else if (kind == "steel") {
        pick.kind = PileKind::Steel;
    } else {
        return false;
    }
    const std::string no = v.substr(a + 1, b - a - 1);
    const std::string len = v.substr(b + 1);
    int32_t sect = 0;
    auto r1 = std::from_chars(no.data(), no.data() + no.size(), sect);
    if (no.empty() || r1.ec != std::errc() || r1.ptr != no.data() + no.size()) return false;
    double L = 0.0;
    auto r2 = std::from_chars(len.data(), len.data() + len.size(), L);
    if (len.empty() || r2.ec != std::errc() || r2.ptr != len.data() + len.size() ||
        !std::isfinite(L) || L <= 0.0 || L > 999.99) {
        return false;
    }
    pick.sect = sect;
    pick.L = L;
    return true;
}

bool TakePick(const std::string& v, usecase::PickRequest& request, std::ostream& err) {
    if (v == "auto") {
        request.how = usecase::PickRequest::How::Auto;
    } else if (ParsePick(v, request.given)) {
        request.how = usecase::PickRequest::How::Given;
    } else {
        err << "--pick " << v
            << ": expected KIND:NO:L (KIND concrete, light or steel; NO a section number;"
               " L the total length in m, 0 < L <= 999.99) or auto\n";
        return false;
    }
    return true;
}

// "--pdf out.pdf" as the messages name a mode or option with its value.
std::string Given(const OptionSpec& o, const std::string& value) {
    return o.value.empty() ? std::string(o.name) : std::string(o.name) + " " + value;
}

// Stores the value of an option (not a mode); false with the reason on `err`.
bool Take(const OptionSpec& o, const std::string& value, Invocation& inv, std::ostream& err) {
    const std::string_view n = o.name;
    if (n == "--pick") return TakePick(value, inv.pick, err);
    if (n == "--yes") {
        inv.pick.yes = true;
    } else if (n == "--set") {
        const std::size_t eq = value.find('=');
        if (eq == std::string::npos || eq == 0) {
            err << "--set needs PATH=VALUE (e.g. gInpJyoken.ELDL=-0.5)\n";
            return false;
        }
        inv.changes.push_back(value);
    } else if (n == "--sweep") {
        inv.sweeps.push_back(value);
    } else if (n == "--columns") {
        inv.columns.push_back(value);
    } else if (n == "--max-runs") {
        inv.maxRuns = value;
    } else if (n == "--verbose") {
        inv.verbose = true;
    } else if (n == "--help") {
        inv.action = Invocation::Action::Help;
    } else if (n == "--version") {
        inv.action = Invocation::Action::Version;
    }
    return true;
}

// Words wrapped at `width` columns, each line indented by `indent` blanks.
void Wrap(std::string& out, std::string_view text, std::size_t indent, std::size_t width) {
    std::size_t column = 0;
    while (!text.empty()) {
        const std::size_t blank = text.find(' ');
        const std::string_view word = text.substr(0, blank);
        text = blank == std::string_view::npos ? std::string_view() : text.substr(blank + 1);
        if (column > indent && column + 1 + word.size() > width) {
            out += '\n';
            column = 0;
        }
        if (column == 0) {
            out.append(indent, ' ');
            column = indent;
        } else {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
    }
    out += '\n';
}

}  // namespace

std::span<const OptionSpec> CommandLineOptions() { return kOptions; }

const OptionSpec* FindOption(std::string_view name) {
    for (const OptionSpec& o : kOptions) {
        if (o.name == name || (!o.alias.empty() && o.alias == name)) return &o;
    }
    return nullptr;
}

bool ParseCommandLine(const std::vector<std::string>& args, Invocation& inv, std::ostream& err) {
    inv = Invocation();
    const OptionSpec* mode = nullptr;
    std::string modeGiven;
    std::vector<int> counts(std::size(kOptions), 0);
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-') {
            inv.files.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        // "--name=value" is "--name value".
        const std::size_t eq = a.rfind("--", 0) == 0 ? a.find('=') : std::string::npos;
        const std::string name = a.substr(0, eq);
        const OptionSpec* o = FindOption(name);
        if (o == nullptr) {
            err << "unknown option " << name << '\n';
            return false;
        }
        std::string value;
        if (eq != std::string::npos) {
            if (o->value.empty()) {
                err << o->name << " takes no value\n";
                return false;
            }
            value = a.substr(eq + 1);
        } else if (!o->value.empty()) {
            // A value that is itself an option is a value left out.
            if (i + 1 >= args.size() || FindOption(args[i + 1].substr(0, args[i + 1].find('=')))) {
                err << o->name << " needs " << o->value << '\n';
                return false;
            }
            value = args[++i];
        }
        if (!o->value.empty() && value.empty()) {
            err << o->name << " needs " << o->value << ", not an empty word\n";
            return false;
        }
        if (o->mode) {
            if (mode == o) {
                err << "the mode is given twice, " << modeGiven << " and " << Given(*o, value)
                    << ": give it once\n";
                return false;
            }
            if (mode != nullptr) {
                err << "two modes, " << modeGiven << " and " << Given(*o, value)
                    << ": give one mode\n";
                return false;
            }
            mode = o;
            modeGiven = Given(*o, value);
            inv.mode = std::string(o->name);
            inv.output = value;
            continue;
        }
        const int n = ++counts[static_cast<std::size_t>(o - kOptions)];
        if (o->most != 0 && n > o->most) {
            err << o->name << (o->most == 1 ? " is given twice\n" : " is given too often\n");
            return false;
        }
        if (!Take(*o, value, inv, err)) return false;
        // --help and --version answer whatever else the line holds.
        if (inv.action != Invocation::Action::Run) return true;
    }

    if (mode == nullptr && !inv.sweeps.empty()) {
        mode = FindOption("--csv");
        inv.mode = std::string(mode->name);
    }
    for (const OptionSpec& o : kOptions) {
        if (o.csvOnly && inv.mode != "--csv" && counts[static_cast<std::size_t>(&o - kOptions)]) {
            err << o.name << " goes with --csv, not with " << inv.mode << '\n';
            return false;
        }
    }
    if (inv.mode == "--report" && inv.output == kStandardStream) {
        err << "--report writes a folder: DIR cannot be - (standard output)\n";
        return false;
    }
    if (inv.files.empty()) {
        err << "no design FILE given (- reads one from standard input)\n";
        return false;
    }
    if (mode != nullptr && !mode->manyFiles && inv.files.size() != 1) {
        err << inv.mode << " takes one FILE, not " << inv.files.size() << '\n';
        return false;
    }
    if (std::count(inv.files.begin(), inv.files.end(), kStandardStream) > 1) {
        err << "- (standard input) is given twice: it holds one design\n";
        return false;
    }
    return true;
}

std::string HelpText() {
    constexpr std::size_t kWidth = 79;
    std::string s = "Usage: kuvelt-calc [MODE] [OPTION...] FILE...\n";
    Wrap(s,
         "Calculates designs of cantilever sheet-pile walls, prints their results and writes "
         "their calculation reports. Modes and options stand in any order, before or after the "
         "files; -- ends the options. A FILE is a design file (.kvt), a JSON design (.json) or - "
         "for standard input.",
         0, kWidth);
    s += "\nModes (one; without one, --summary):\n";
    auto entry = [&](const OptionSpec& o) {
        std::string head = "  ";
        if (!o.alias.empty()) head += std::string(o.alias) + ", ";
        head += o.name;
        if (!o.value.empty()) head += " " + std::string(o.value);
        if (o.mode) head += o.manyFiles ? " FILE..." : " FILE";
        s += head + '\n';
        Wrap(s, o.help, 6, kWidth);
    };
    for (const OptionSpec& o : kOptions)
        if (o.mode) entry(o);
    s += "\nOptions (--sweep, --columns and --max-runs with --csv only):\n";
    for (const OptionSpec& o : kOptions)
        if (!o.mode) entry(o);
    s += "\nExit status (with several files the highest):\n";
    for (const usecase::OutcomeInfo& o : usecase::Outcomes()) {
        const std::string code = std::to_string(usecase::ExitStatus(o.outcome));
        s += "  " + code + std::string(4 - code.size(), ' ') + std::string(o.meaning) + '\n';
    }
    return s;
}

std::string VersionText() {
    return "kuvelt-calc " KUVELT_VERSION "\ndesign file versions " +
           std::string(kDesignFileVersion) + " and " + std::string(kExtendedFileVersion) +
           " (.kvt); JSON designs as kuvelt-design.schema.json\n";
}

}  // namespace kuvelt::cli
