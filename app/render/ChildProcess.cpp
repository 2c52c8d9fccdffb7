// fork, a pipe read against a deadline, and the child's exit status.
#include "app/render/ChildProcess.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Reads until the other end closes; false when the deadline passes first or reading fails.
bool ReadUntilClosed(int fd, std::chrono::steady_clock::time_point deadline, std::string& output) {
    char buffer[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd ready{fd, POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR) {
            continue;
        }
        if (polled <= 0) {
            return false;
        }
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return false;
        }
        if (count == 0) {
            return true;
        }
        output.append(buffer, static_cast<std::size_t>(count));
    }
}

} // namespace

bool RunInChildProcess(const std::function<std::string()>& work, std::chrono::milliseconds limit,
                       std::string& output, SChildFailure& failure) {
    output.clear();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        failure = {SChildFailure::Kind::Start, std::strerror(errno)};
        return false;
    }
    const pid_t child = fork();
    if (child < 0) {
        failure = {SChildFailure::Kind::Start, std::strerror(errno)};
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (child == 0) {
        close(fds[0]);
        const std::string result = work();
        _exit(WriteAll(fds[1], result.data(), result.size()) ? 0 : 1);
    }
    close(fds[1]);
    const bool complete = ReadUntilClosed(fds[0], std::chrono::steady_clock::now() + limit, output);
    close(fds[0]);
    if (!complete) {
        kill(child, SIGKILL);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!complete) {
        failure = {SChildFailure::Kind::TimeLimit, {}};
        return false;
    }
    if (WIFSIGNALED(status)) {
        failure = {SChildFailure::Kind::Signal, strsignal(WTERMSIG(status))};
        return false;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        failure = {SChildFailure::Kind::ExitCode, std::to_string(WEXITSTATUS(status))};
        return false;
    }
    return true;
}
