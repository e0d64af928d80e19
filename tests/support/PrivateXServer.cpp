#include "PrivateXServer.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A loaded machine can take long to start a server; a server that never answers still ends the wait.
constexpr int kStartBoundMs = 60000;
constexpr auto kStopBound = std::chrono::seconds(10);

bool Fail(const std::string& reason)
{
    std::fprintf(stderr, "private X server: %s\n", reason.c_str());
    return false;
}

// Reads the display number that Xvfb writes, a line, once it listens.
bool ReadDisplayNumber(int fd, std::string& number)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartBoundMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return Fail("Xvfb named no display within " + std::to_string(kStartBoundMs / 1000) + " s");
        pollfd wait{fd, POLLIN, 0};
        const int ready = poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue;
        char c = 0;
        const ssize_t got = read(fd, &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return Fail("Xvfb ended before it named a display (is it installed?)");
        if (c == '\n')
            return !number.empty() || Fail("Xvfb named an empty display");
        number += c;
    }
}

} // namespace

PrivateXServer::~PrivateXServer()
{
    Stop();
}

bool PrivateXServer::Start()
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return Fail("no pipe");
    const std::string writeEnd = std::to_string(fds[1]);
    const std::vector<const char*> args{"Xvfb", "-displayfd", writeEnd.c_str(), "-screen", "0", "1280x1024x24",
                                        "-nolisten", "tcp", "-noreset", nullptr};
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return Fail("no fork");
    }
    if (pid == 0) {
        // The server must not outlive a test program that crashes or is killed on a timeout.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(127);
        fcntl(fds[1], F_SETFD, 0);
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0)
            dup2(devNull, STDOUT_FILENO);
        execvp(args[0], const_cast<char* const*>(args.data()));
        _exit(127);
    }
    m_pid = pid;
    close(fds[1]);
    std::string number;
    const bool named = ReadDisplayNumber(fds[0], number);
    close(fds[0]);
    if (!named) {
        Stop();
        return false;
    }
    setenv("DISPLAY", (":" + number).c_str(), 1);
    return true;
}

void PrivateXServer::Stop()
{
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kStopBound;
    while (waitpid(m_pid, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    m_pid = -1;
}
