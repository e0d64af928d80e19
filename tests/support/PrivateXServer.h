#pragma once

// An X server (Xvfb) of the test program's own, for tests that run under the xcb platform: they
// neither need a display of the machine nor disturb one (their pointer is driven for real), and
// parallel programs never share a server. Xvfb picks a free display number itself and is ended with
// the program, also when the program dies.
#include <sys/types.h>

class PrivateXServer
{
public:
    PrivateXServer() = default;
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    // Starts the server and points DISPLAY at it; false, with the reason on stderr, when it does not
    // come up in time.
    bool Start();

private:
    void Stop();

    pid_t m_pid = -1;
};
