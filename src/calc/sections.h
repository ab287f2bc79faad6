// Per-section checks of every registered sheet-pile section (Chang's method, bending, required
// length, head displacement) and their result tables and lists, indexed from 1 like the section
// numbers. A run-time fault makes CalcSections return false (the calculation then fails).
#pragma once

namespace kuvelt {

// Runs passes A-D over the three catalogues and fills gSectChang, gSectStress, gSectEmbed,
// gSectDisp, gListC, gListLS, gListS. False on a run-time fault or a catalogue of more than 30.
bool CalcSections();

}  // namespace kuvelt
