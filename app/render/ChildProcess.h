// Running a piece of work in a child process of its own, so that a library that may crash,
// hang or corrupt memory on bad input (Coin's VRML reader) cannot take the program with it.
#pragma once

#include <chrono>
#include <functional>
#include <string>

// Why a child gave no result: the kind, and the system's words for it (the system's error for a
// child that could not be started, the signal's name, the exit code).
struct SChildFailure {
    enum class Kind { Start, TimeLimit, Signal, ExitCode };
    Kind kind = Kind::Start;
    std::string detail;
};

// Forks, runs work in the child and hands its bytes back through a pipe. True with the bytes in
// output when the child ended normally within the time limit; false with the reason in failure
// when it could not be started, crashed, exited otherwise, or took longer (it is then killed).
// The child leaves through _exit: nothing of the parent's state is written back or cleaned up
// there, so work must only compute. Blocks the calling thread until the child has ended.
bool RunInChildProcess(const std::function<std::string()>& work, std::chrono::milliseconds limit,
                       std::string& output, SChildFailure& failure);
