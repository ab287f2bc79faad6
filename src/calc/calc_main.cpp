#include "calc/calc_main.h"

#include <cmath>

#include "calc/fault.h"
#include "calc/result_store.h"
#include "calc/rounding.h"
#include "calc/sections.h"
#include "model/design.h"

namespace kuvelt {

using fault::Num;

Message CalcErrorMessage(const std::string& title) {
    return Message{0, "計算ｴﾗｰです。入力ﾃﾞｰﾀ等をご確認下さい。", title, MsgIcon::Information,
                   MsgButtons::Ok};
}

Message VirtualGroundErrorMessage(bool neverCrosses) {
    std::string text = "「設計条件の入力」で検討する深さの入力値を大きくして下さい。";
    if (neverCrosses) {
        text +=
            "\n（原因）設計地盤面より下で受働土圧が主働土圧と残留水圧の和を上回ることがないため，"
            "この地盤では自立式の矢板壁は成り立ちません。検討する深さを大きくしても仮想地盤面は"
            "求まりません。";
    }
    return Message{0, text, "仮想海底面の算定ｴﾗｰ", MsgIcon::Information, MsgButtons::Ok};
}

namespace {

// Outcome of the load stages, before the section checks.
enum class LoadsResult { kOk, kNoVirtualGround, kFault };

// A stage that recorded a run-time fault has left partial outputs; the run must
// not go on to design a wall from them.
bool StageFaulted(int32_t error) { return error != 0; }

void FillVirtualGround(clsDL& dl, const clsRWp& rwp) {
    dl.Pa().Clear();
    for (const clsSpJiban& j : gSpa->Jiban()) dl.Pa().Add(j.EU, j.H, j.PaU, j.PaL);
    dl.Pw().Clear();
    if (rwp.DH() > 0.001) {
        // A triangle from the residual water level down to the channel water level, then the
        // full pressure down to the lower limit of the examined ground. A channel water level at
        // or above the groundwater leaves no head (DH not positive) and no water load.
        dl.Pw().Add(rwp.ELRWL, double(Num(rwp.ELRWL) - rwp.ELLWL), 0.0, rwp.Pw());
        dl.Pw().Add(rwp.ELLWL, double(Num(rwp.ELLWL) - rwp.ELDL), rwp.Pw(), rwp.Pw());
    }
    dl.Pp().Clear();
    // In the passive layer records PaU and PaL hold the passive pressures.
    for (const clsSpJiban& j : gSpp->Jiban()) dl.Pp().Add(j.EU, j.H, j.PaU, j.PaL);
}

// Whether the net pressure, positive down to the bottom of the depth examined, stops falling
// there: below it the ground goes on as in its last layer (one soil, one side of the water, one
// line of the clayey pressure), so no depth, however large, brings the net pressure to zero.
// In uniform clay whose cohesion does not grow with depth, σv − 2C behind the wall and σv + 2C in
// front of it grow alike, and a clay too weak for a cantilever keeps a constant net pressure.
bool NetPressureNeverCrosses(const clsDL& dl) {
    if (dl.Pg().Count() == 0) return false;
    const clsDLLoad& last = fault::At(dl.Pg(), dl.Pg().Count());
    return last.PL > 0.0 && Num(last.PL) - last.PU > -0.01;
}

void FillLoads(clsPressure& pr, const clsDL& dl, double ELGL, double ELDL, double h) {
    pr.Qdi().Clear();
    const colDLLoad& pg = dl.Pg();
    if (LayerBelowDesignGround(gInpJiban, gInpJyoken).Kind == 1 && h <= 0.5) {
        // Clay directly below the design ground level with a shallow virtual ground surface:
        // the cantilever is taken down to 0.5 m below the design ground level, the last load a
        // triangle falling to zero there.
        pr.WU = ELGL;
        pr.WL = double(Num(ELDL) - 0.5);
        const clsDLLoad* last = nullptr;
        for (const clsDLLoad& s : pg) {
            if (!ThickEnough(Num(s.EU) - ELDL)) break;  // not above the design ground level
            pr.Qdi().Add(s.EU, s.H, s.PU, s.PL);
            last = &s;
        }
        if (last == nullptr) fault::Raise(vberr::kObjectMissing);
        pr.Qdi().Add(ELDL, 0.5, last->PL, 0.0);
    } else {
        pr.WU = ELGL;
        pr.WL = dl.ELDLX();
        int32_t i = 1;
        for (; i <= pg.Count(); ++i) {
            const clsDLLoad& s = fault::At(pg, i);
            if (ThickEnough(Num(dl.ELDLXU()) - s.EL)) break;  // ends below the crossing layer's top
            pr.Qdi().Add(s.EU, s.H, s.PU, s.PL);
        }
        if (i <= pg.Count()) {
            // The part of the next layer down to the virtual ground surface, falling
            // to zero.
            const clsDLLoad& s = fault::At(pg, i);
            const Num rest = Num(s.EU) - dl.ELDLX();
            if (ThickEnough(rest)) pr.Qdi().Add(s.EU, double(rest), s.PU, 0.0);
        }
    }
}

// The loads of the run, before the section checks: surcharge, earth pressures, residual
// water, virtual ground surface and the load resultant above it. Each stage instance is
// replaced as its stage starts.
LoadsResult CalcLoads(std::vector<Message>* messages) {
    try {
        const CInpJyoken& c = gInpJyoken;
        const double ELGL = c.ELGL;
        const double ELDL = c.ELDL;
        const double ELWL = c.ELWL;
        const double Z = c.Z;
        const double Gw = gInpJiban.Gw;

        clsQqw& q = gQqw.New();
        FillSurcharge(q);
        if (StageFaulted(q.Error())) return LoadsResult::kFault;

        CalcActive();
        if (StageFaulted(gKhActive->Error()) || StageFaulted(gSpa->Error()))
            return LoadsResult::kFault;
        CalcPassive();
        if (StageFaulted(gKhPassive->Error()) || StageFaulted(gSpp->Error()))
            return LoadsResult::kFault;

        // The residual water behind the wall stands at the groundwater level, the water in
        // front of it at the channel water level (the design ground level unless the design
        // raises it).
        clsRWp& rwp = gRWp.New();
        rwp.ELGL = ELGL;
        rwp.ELDL = double(Num(ELDL) - Z);
        rwp.ELRWL = ELWL;
        rwp.ELLWL = ChannelWaterLevel(c);
        rwp.Gw = Gw;
        rwp.Calc();
        if (StageFaulted(rwp.Error())) return LoadsResult::kFault;

        clsDL& dl = gDL.New();
        dl.ELDL = ELDL;
        FillVirtualGround(dl, rwp);
        dl.Calc();
        if (dl.Error() == clsDL::kNotFound) {
            if (messages != nullptr) {
                messages->push_back(VirtualGroundErrorMessage(NetPressureNeverCrosses(dl)));
            }
            return LoadsResult::kNoVirtualGround;
        }
        if (StageFaulted(dl.Error())) return LoadsResult::kFault;

        const double h = double(Num(ELDL) - dl.ELDLX());
        clsPressure& pr = gPressure.New();
        FillLoads(pr, dl, ELGL, ELDL, h);
        pr.Calc();
        if (StageFaulted(pr.Error())) return LoadsResult::kFault;
        return LoadsResult::kOk;
    } catch (const CalcFault&) {
        return LoadsResult::kFault;
    }
}

}  // namespace

void FillSurcharge(clsQqw& q) {
    const CInpJyoken& c = gInpJyoken;
    q.H = double(Num(c.ELGL) - c.ELDL);
    q.Keijyo = c.Keijyo;
    q.D1X = c.K0X;
    q.D1Q = c.K0Q;
    q.D2m = c.K1m;
    q.D2Q = c.K1Q;
    q.D3X1 = c.K2X1;
    q.D3X2 = c.K2X2;
    q.D3Ho = c.K2Ho;
    q.D3Gs = c.K2Gs;
    q.D3Q = c.K2Q;
    q.Calc();
}

double CurrentSurchargeIntensity() {
    clsQqw q;
    FillSurcharge(q);
    if (q.Error() != 0) fault::Raise(q.Error());
    return q.Q();
}

double AdoptedVirtualGround() { return gPressure->WL; }

std::optional<double> ComputedVirtualGroundApart() {
    if (!gDL.Reached() || gDL->Error() != 0 || !gPressure.Reached()) return std::nullopt;
    const double computed = gDL->ELDLX();
    if (std::fabs(computed - gPressure->WL) < 0.0005) return std::nullopt;
    return computed;
}

bool CalcMain(std::vector<Message>* messages) {
    if (CalcLoads(messages) != LoadsResult::kOk) return false;
    return CalcSections();
}

}  // namespace kuvelt
