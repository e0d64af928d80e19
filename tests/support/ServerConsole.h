#pragma once

class LocalHttpServer;

// What a server process tells whoever started it on standard output: the port on the first line,
// then "request METHOD TARGET RANGE" for every request, each line flushed at once.
void reportOnStandardOutput(LocalHttpServer& server);
