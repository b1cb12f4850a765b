#pragma once
// The last stage of a build: the help project, the compiler run and the copy
// of the compiled book to its place.
#include <string>

#include "batch/make_chm.h"
#include "common/window_state.h"

namespace chmbook {

// The compiler's file name in the program's folder.
std::u16string CompilerFileName();

// Writes Temp.hhc, Temp.hhk and Temp.hhp into the work folder, runs the
// compiler on Temp.hhp, waits for it without time limit and, when the
// directory of the Temp.chm it leaves lists every page of the work folder,
// copies it to `strFileName`, replacing a file there (pages it lacks go to
// `outcome.missingPages`). Stops at the first step that fails and records it
// in `outcome`; sets `outcome.produced` only when the copy succeeded.
void WriteChm(const WindowState& frm, std::u16string strTitle, std::u16string strFileName,
              const BuildOptions& options, BuildOutcome& outcome);

}  // namespace chmbook
