// The result store: the calculation's working area, the stage instances of the run in progress.
// Every use case that calculates empties it first (ResetResultStore) and hands its readers a
// copy of what the run left (SnapshotResults, calc/results.h), so after a failed run the store
// holds the stages that run reached and nothing of an earlier one. Each run creates a stage's
// instance (New) the moment the stage starts; a reference no run has set gives a fresh instance
// with its defaults on first use.
#pragma once

#include <memory>

#include "calc/dl.h"
#include "calc/kh.h"
#include "calc/pressure.h"
#include "calc/qqw.h"
#include "calc/rwp.h"
#include "calc/sp.h"

namespace kuvelt {

template <class T>
class StageRef {
  public:
    T* operator->() { return &Get(); }
    const T* operator->() const { return &Get(); }
    T& operator*() { return Get(); }
    const T& operator*() const { return Get(); }

    // Replaces the instance by a fresh one (the run's "new") and returns it.
    T& New() {
        p_ = std::make_unique<T>();
        return *p_;
    }
    // Whether an instance exists (a run reached this stage, or it was read since the last Reset).
    bool Reached() const { return p_ != nullptr; }
    // Drops the instance; the next use yields a fresh one.
    void Reset() { p_.reset(); }

  private:
    T& Get() const {
        if (!p_) p_ = std::make_unique<T>();
        return *p_;
    }
    mutable std::unique_ptr<T> p_;
};

extern StageRef<clsQqw> gQqw;
extern StageRef<clsKh> gKhActive;
extern StageRef<clsSpa> gSpa;
extern StageRef<clsKh> gKhPassive;
extern StageRef<clsSpp> gSpp;
extern StageRef<clsRWp> gRWp;
extern StageRef<clsDL> gDL;
extern StageRef<clsPressure> gPressure;

// Empties the whole store (stages, section tables and lists, stability checks), so a batch run
// starts every design from the same state as a fresh program.
void ResetResultStore();

}  // namespace kuvelt
