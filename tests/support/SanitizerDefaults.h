#pragma once

// Puts the test programs' own sanitizer options into the environment (where none are set) so that
// the programs a test starts, the updater among them, run under the same rules.
void exportSanitizerOptions();
