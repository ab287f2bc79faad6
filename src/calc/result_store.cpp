#include "calc/result_store.h"

#include "calc/nekiri.h"
#include "calc/sections.h"

namespace kuvelt {

StageRef<clsQqw> gQqw;
StageRef<clsKh> gKhActive;
StageRef<clsSpa> gSpa;
StageRef<clsKh> gKhPassive;
StageRef<clsSpp> gSpp;
StageRef<clsRWp> gRWp;
StageRef<clsDL> gDL;
StageRef<clsPressure> gPressure;

void ResetResultStore() {
    gQqw.Reset();
    gKhActive.Reset();
    gSpa.Reset();
    gKhPassive.Reset();
    gSpp.Reset();
    gRWp.Reset();
    gDL.Reset();
    gPressure.Reset();
    ResetSectionResults();
    ResetNekiriAntei();
}

}  // namespace kuvelt
