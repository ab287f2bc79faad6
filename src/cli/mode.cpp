#include "cli/mode.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>
#include <system_error>

#include "cli/design_source.h"
#include "io/design_file.h"
#include "io/design_json_read.h"
#include "model/design.h"
#include "platform/vberror.h"

namespace kuvelt::cli {
namespace {

// Built on first use, so registrations from any file's static initialisation find it.
std::vector<Mode>& Registry() {
    static std::vector<Mode> modes;
    return modes;
}

}  // namespace

bool RegisterMode(const Mode& mode) {
    Registry().push_back(mode);
    return true;
}

std::vector<Mode> Modes() {
    std::vector<Mode> m = Registry();
    std::sort(m.begin(), m.end(), [](const Mode& a, const Mode& b) { return a.option < b.option; });
    return m;
}

const Mode* FindMode(std::string_view option) {
    for (const Mode& m : Registry()) {
        if (m.option == option) return &m;
    }
    return nullptr;
}

void PrintMessage(const Message& m, std::ostream& err) { err << m.title << ": " << m.text << '\n'; }

void PrintMessages(const std::vector<Message>& messages, std::ostream& err) {
    for (const Message& m : messages) PrintMessage(m, err);
}

namespace {

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

}  // namespace

bool TakePickOptions(std::vector<std::string>& args, usecase::PickRequest& request,
                     std::ostream& err) {
    std::vector<std::string> rest;
    bool picked = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--yes") {
            request.yes = true;
            continue;
        }
        if (a != "--pick") {
            rest.push_back(a);
            continue;
        }
        if (picked) {
            err << "kuvelt-calc: --pick is given twice\n";
            return false;
        }
        picked = true;
        if (i + 1 >= args.size()) {
            err << "kuvelt-calc: --pick needs KIND:NO:L or auto\n";
            return false;
        }
        const std::string& v = args[++i];
        if (v == "auto") {
            request.how = usecase::PickRequest::How::Auto;
        } else if (ParsePick(v, request.given)) {
            request.how = usecase::PickRequest::How::Given;
        } else {
            err << "kuvelt-calc: --pick " << v
                << ": expected KIND:NO:L (KIND concrete, light or steel; NO a section number;"
                   " L the total length in m, 0 < L <= 999.99) or auto\n";
            return false;
        }
    }
    args = std::move(rest);
    return true;
}

bool LoadDesign(const std::string& path, std::ostream& err) {
    if (IsJsonDesignPath(path)) {
        if (!ReadJsonDesign(path, err)) return false;
    } else {
        // The Open command's order: a refused type or version is code 0 and reads nothing.
        int32_t code = 0;
        if (!CheckAndReadData(path, code)) {
            PrintMessage(ReadFailureMessage(code), err);
            return false;
        }
    }
    if (!ApplyDesignChanges(err)) {
        InitData();
        return false;
    }
    return true;
}

}  // namespace kuvelt::cli
