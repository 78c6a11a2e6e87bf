#include "program_runner.h"

#include "platform/system_services.h"

CommandResult ProgramRunner::Run(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return {};
    return RunProgram(Program, arguments);
}

std::unique_ptr<CommandRunner> MakeProgramRunner(const std::filesystem::path& program)
{
    return std::make_unique<ProgramRunner>(program);
}
