// Where the program may load libraries from.
#pragma once

namespace vantorel {

// From now on, libraries loaded by name come from the system folder only, never from the folder
// the program was started from: opening the help page makes the shell load many, and a library
// of the same name planted next to the program (in a Downloads folder, say) must not be one of
// them. Call it first, before anything else can load a library.
void RestrictLibrarySearch();

}  // namespace vantorel
