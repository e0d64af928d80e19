#pragma once

// How long a test waits for something that is bound to happen (a window, a signal, a request, an
// installer's end). The tests run in parallel under the sanitizers on busy machines, where a step
// that takes a millisecond alone can take seconds; the bound is reached only when the awaited thing
// never comes, so it is generous.
constexpr int kWaitBoundMs = 60000;
