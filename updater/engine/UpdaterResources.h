#pragma once

// Registers the updater's images (":/res/..."). The resource data sits in a static library, whose
// object the linker keeps only when something refers to it: every window that shows an image
// calls this first. Repeated calls are harmless.
void ensureUpdaterResources();
