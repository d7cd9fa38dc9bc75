#include "run_command.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

CommandResult RunCommand(const std::vector<std::string>& arguments)
{
    CommandResult result{-1, ""};
    if (arguments.empty()) {
        return result;
    }
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return result;
    }
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        execv(argv[0], argv.data());
        std::perror(argv[0]);
        _exit(127);
    }
    close(pipeEnds[1]);
    if (child < 0) {
        close(pipeEnds[0]);
        return result;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
        if (got > 0) {
            result.output.append(buffer, static_cast<size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            break;
        }
    }
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return result;
        }
    }
    if (WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    return result;
}

std::string CommandText(const std::vector<std::string>& arguments)
{
    std::string text;
    for (const std::string& argument : arguments) {
        text += (text.empty() ? "" : " ") + argument;
    }
    return text;
}
