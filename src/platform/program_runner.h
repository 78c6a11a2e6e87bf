#pragma once

#include "platform/platform.h"

#include <filesystem>

// Starts program with the arguments after the first, an empty standard input
// and one pipe for its output; waits and collects. -1 when it cannot start.
CommandResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments);

// Runs one fixed program in the network command's place.
class ProgramRunner final : public CommandRunner {
public:
    explicit ProgramRunner(std::filesystem::path program) : Program(std::move(program)) {}

    CommandResult Run(const std::vector<std::string>& arguments) override;

private:
    std::filesystem::path Program;
};
