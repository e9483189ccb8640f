// The benchmark build of the updater (FerncastleUpdate-bench) records, on
// top of the program's own work: the update check's start and end, the
// download's start, the moment the package was verified, the first paint
// entered and copied to the window, each later paint during the download
// (its area and time), the worker's messages and the progress row's place.
// FERNCASTLE_BENCH_CLOSE=painted closes the window after its first paint,
// =finished once the download has ended.
#pragma once

#include "main_frame_wnd.h"

namespace bench {

// `check` with its start and end marked.
UpdateCheck MarkedCheck(UpdateCheck check);
// The Windows package services with the download's start and the
// verification marked.
PackageServices MarkedPackageServices();
// Watches the window's messages from now on; call right after creating it.
void WatchWindow(MainFrameWnd& window);

} // namespace bench
