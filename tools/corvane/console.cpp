#include "console.h"

#include "base/ascii.h"
#include "base/host_name.h"
#include "base/ask_within.h"
#include "base/retry_pauses.h"
#include "mapping/drive_table.h"
#include "mapping/group_line.h"
#include "mapping/line_commands.h"
#include "mapping/line_states.h"
#include "platform/console_text.h"
#include "platform/path_style.h"
#include "profiles/profile_book.h"
#include "store/catalogue_file.h"

#include <algorithm>
#include <charconv>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

// The longest --wait, in seconds: a day.
constexpr long LongestWait = 24L * 60 * 60;

const char* const HelpText =
    "usage: corvane <command> [options]\n"
    "\n"
    "Attaches and detaches the drive letters of Corvane's profiles without its window.\n"
    "\n"
    "  profiles                   the profiles; * marks the current one\n"
    "  show [PROFILE]             the profile's group lines, each with its letter's state\n"
    "  attach [PROFILE] [X: ...]  attaches the profile's lines, or only the letters named\n"
    "  detach [PROFILE] [X: ...]  detaches them, without a question\n"
    "  catalogue                  the catalogue's paths and descriptions, and whether\n"
    "                             each needs a user name and password\n"
    "  shares \\\\SERVER             the server's disk shares, one \\\\SERVER\\SHARE a line\n"
    "\n"
    "PROFILE is a profile's name; without it, the current profile.\n"
    "\n"
    "Options of attach (of shares: --user, --password-stdin and --wait):\n"
    "  --persistent               attach the letters again at the next login\n"
    "                             (\"Restore at next login...\" checked)\n"
    "  --user NAME                the user name for paths that need one\n"
    "  --password-stdin           their password from standard input, one line; without it\n"
    "                             the password is asked for at the terminal, unseen\n"
    "  --wait SECONDS             try again, for up to SECONDS, letters whose server\n"
    "                             cannot be reached yet\n"
    "\n"
    "  --help                     this text\n"
    "  --version                  the program's version\n"
    "\n"
    "One line per letter tells its outcome. Exit status: 0 when every letter asked for\n"
    "ended as asked (the shares were listed), 1 when one did not, 2 for a wrong command\n"
    "line (nothing is run).\n"
    "The stored files are read from where the window keeps them, and never written.\n";

struct CommandLine {
    std::string Command;
    // Of shares: the server, as given after its two backslashes.
    std::string Server;
    std::optional<std::string> Profile;
    std::vector<char> Letters;
    bool Persistent = false;
    std::optional<std::string> User;
    bool PasswordFromInput = false;
    std::optional<std::chrono::seconds> Wait;
    bool Help = false;
    bool Version = false;
};

bool TakesLetters(const std::string& command)
{
    return command == "attach" || command == "detach";
}

// Reads the command line; the reason of the first fault when it is wrong.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments, std::string& reason)
{
    CommandLine line;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    std::vector<std::string> attachOptions;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            positional.push_back(argument);
            continue;
        }
        const auto equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const auto value = [&]() -> std::optional<std::string> {
            if (equals != std::string::npos)
                return argument.substr(equals + 1);
            if (i + 1 < arguments.size())
                return arguments[++i];
            reason = name + " needs a value";
            return std::nullopt;
        };
        const auto flag = [&] {
            if (equals == std::string::npos)
                return true;
            reason = name + " takes no value";
            return false;
        };
        if (argument == "--") {
            optionsEnded = true;
        } else if (name == "--help" || name == "-h") {
            if (!flag())
                return std::nullopt;
            line.Help = true;
        } else if (name == "--version") {
            if (!flag())
                return std::nullopt;
            line.Version = true;
        } else if (name == "--persistent") {
            if (!flag())
                return std::nullopt;
            line.Persistent = true;
            attachOptions.push_back(name);
        } else if (name == "--password-stdin") {
            if (!flag())
                return std::nullopt;
            line.PasswordFromInput = true;
            attachOptions.push_back(name);
        } else if (name == "--user") {
            line.User = value();
            if (!line.User)
                return std::nullopt;
            // The program's own name stands before the arguments.
            line.User = Utf8FromArgument(*line.User, i + 1);
            attachOptions.push_back(name);
        } else if (name == "--wait") {
            const auto text = value();
            if (!text)
                return std::nullopt;
            long seconds = -1;
            const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), seconds);
            if (error != std::errc() || end != text->data() + text->size() || seconds < 0 || seconds > LongestWait) {
                reason = "--wait takes a number of seconds from 0 to " + std::to_string(LongestWait) + ", not \""
                    + *text + "\"";
                return std::nullopt;
            }
            line.Wait = std::chrono::seconds(seconds);
            attachOptions.push_back(name);
        } else {
            reason = "unknown option " + name;
            return std::nullopt;
        }
    }
    if (line.Help || line.Version)
        return line;
    if (positional.empty()) {
        reason = "no command given";
        return std::nullopt;
    }
    line.Command = positional.front();
    const std::vector<std::string> rest(positional.begin() + 1, positional.end());
    if (line.Command == "profiles" || line.Command == "catalogue") {
        if (!rest.empty()) {
            reason = line.Command + " takes no arguments";
            return std::nullopt;
        }
    } else if (line.Command == "shares") {
        if (rest.size() != 1) {
            reason = "shares takes one server: \\\\SERVER";
            return std::nullopt;
        }
        auto server = std::string_view(rest.front());
        if (server.starts_with("\\\\"))
            server.remove_prefix(2);
        if (server.ends_with('\\'))
            server.remove_suffix(1);
        if (!rest.front().starts_with("\\\\") || !NamesHostText(server)) {
            reason = "\"" + rest.front() + "\" names no server: give \\\\SERVER";
            return std::nullopt;
        }
        line.Server = server;
    } else if (line.Command == "show" || TakesLetters(line.Command)) {
        for (const auto& argument : rest) {
            if (const auto letter = DeviceLetter(argument); letter && TakesLetters(line.Command)) {
                line.Letters.push_back(*letter);
            } else if (!line.Profile) {
                line.Profile = argument;
            } else {
                reason = "more than one profile named: \"" + *line.Profile + "\" and \"" + argument + "\"";
                return std::nullopt;
            }
        }
    } else {
        reason = "unknown command \"" + line.Command + "\"";
        return std::nullopt;
    }
    const auto notOfShares = std::find(attachOptions.begin(), attachOptions.end(), "--persistent");
    if (line.Command == "shares" && notOfShares != attachOptions.end()) {
        reason = "--persistent is an option of attach only";
        return std::nullopt;
    }
    if (line.Command != "attach" && line.Command != "shares" && !attachOptions.empty()) {
        reason = attachOptions.front() + " is an option of attach only";
        return std::nullopt;
    }
    if (line.PasswordFromInput && !line.User) {
        reason = "--password-stdin needs --user NAME";
        return std::nullopt;
    }
    return line;
}

// Names and paths come from files anyone may have written: on a terminal
// their control bytes are shown, never obeyed.
void Print(std::FILE* stream, const std::string& text)
{
    const auto shown = StreamIsTerminal(stream) ? TerminalSafe(text) : text;
    std::fwrite(shown.data(), 1, shown.size(), stream);
    std::fflush(stream);
}

// What a command printed, on the outcome's line.
std::string OneLine(const std::string& text)
{
    std::string folded;
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        auto piece = text.substr(start, end - start);
        if (!piece.empty() && piece.back() == '\r')
            piece.pop_back();
        if (!piece.empty())
            folded += (folded.empty() ? "" : " ") + piece;
        start = end + 1;
    }
    return folded;
}

std::string FailureText(const std::string& what, const CommandResult& result)
{
    std::string text = what + ": status " + std::to_string(result.ExitStatus);
    if (result.ExitStatus == -1 && result.Output.empty())
        return text + ": the network command could not be started";
    const auto reason = OneLine(result.Output);
    return reason.empty() ? text : text + ": " + reason;
}

std::string AttachedText(const std::string& line, const CommandResult& result)
{
    return line + "\tattached" + (result.Note.empty() ? "" : "; " + OneLine(result.Note));
}

class Console {
public:
    Console(const CommandLine& line, ConsoleServices& services)
        : Line(line), Services(services), Profiles(services.DataDirectory)
    {
    }

    int Run()
    {
        // A server's shares need none of the stored files.
        if (Line.Command == "shares")
            return ListShares();
        ReadStoredFiles();
        if (Line.Command == "profiles")
            return ListProfiles();
        if (Line.Command == "catalogue")
            return ListCatalogue();
        const auto profile = ChosenProfile();
        if (!profile)
            return ExitUsage;
        const auto group = Profiles.ReadGroup(*profile);
        if (!group)
            Report("File " + Profiles.FileText(*profile)
                   + " was not found or could not be read; the profile \"" + Profiles.Name(*profile)
                   + "\" has no lines.");
        const auto lines = ChosenLines(group.value_or(std::vector<std::string>{}), *profile);
        if (!lines)
            return ExitUsage;
        if (Line.Command == "show")
            return Show(*lines);
        if (!group)
            return ExitFailed;
        return Line.Command == "attach" ? Attach(*lines) : Detach(*lines);
    }

private:
    void Report(const std::string& text) { Print(Services.Err, "corvane: " + text + "\n"); }
    void Say(const std::string& text) { Print(Services.Out, text + "\n"); }

    int UsageError(const std::string& reason)
    {
        Report(reason);
        return ExitUsage;
    }

    // What the window reads at its start, with its rules for damaged files.
    void ReadStoredFiles()
    {
        const auto& configuration = Profiles.Read();
        if (configuration.Status == FileReadStatus::Unreadable)
            Report("Corvane2.cfg could not be read; only the default profile is known.");
        else if (configuration.Damaged)
            Report("The Corvane2.cfg file is corrupted! The names it holds were read; it is left as it is.");
        const auto catalogue =
            ReadCatalogueFile(Services.DataDirectory / TextPath(std::string(CatalogueFileName)), Catalogue);
        CatalogueStatus = catalogue.Status;
        if (catalogue.Status == FileReadStatus::Unreadable)
            Report("Corvane2.net could not be read; no path is known to need a user name and password.");
        else if (catalogue.Damaged)
            Report("The Corvane2.net file is corrupted! The whole records before the damage were read; it is left "
                   "as it is.");
    }

    std::optional<std::int32_t> ChosenProfile()
    {
        if (!Line.Profile)
            return Profiles.Current();
        for (std::int32_t index = 0; index < Profiles.Count(); ++index) {
            if (Profiles.Name(index) == *Line.Profile)
                return index;
        }
        UsageError("no profile is named \"" + *Line.Profile + "\" (corvane profiles lists them)");
        return std::nullopt;
    }

    // The group's lines in its order; only those of the letters named, when some are.
    std::optional<std::vector<std::string>> ChosenLines(const std::vector<std::string>& group, std::int32_t profile)
    {
        if (Line.Letters.empty())
            return group;
        for (const char letter : Line.Letters) {
            const bool known = std::any_of(group.begin(), group.end(), [letter](const auto& line) {
                return HasLetterAndPath(line) && AsciiUpper(GroupLineLetter(line)) == letter;
            });
            if (!known) {
                UsageError(std::string(1, letter) + ": is no letter of the profile \"" + Profiles.Name(profile) + "\"");
                return std::nullopt;
            }
        }
        std::vector<std::string> chosen;
        for (const auto& line : group) {
            if (HasLetterAndPath(line)
                && std::find(Line.Letters.begin(), Line.Letters.end(), AsciiUpper(GroupLineLetter(line)))
                    != Line.Letters.end())
                chosen.push_back(line);
        }
        return chosen;
    }

    int ListProfiles()
    {
        for (std::int32_t index = 0; index < Profiles.Count(); ++index)
            Say((index == Profiles.Current() ? "* " : "  ") + Profiles.Name(index));
        return ExitDone;
    }

    int ListCatalogue()
    {
        if (CatalogueStatus == FileReadStatus::Missing)
            Report("there is no catalogue (Corvane2.net) yet.");
        if (CatalogueStatus == FileReadStatus::Unreadable)
            return ExitFailed;
        for (std::size_t i = 0; i < Catalogue.size(); ++i) {
            const auto entry = Catalogue[i];
            Say(std::string(entry.NetworkPath) + "\t" + std::string(entry.Description) + "\t"
                + (entry.RequiresPW != 0 ? "user and password" : "-"));
        }
        return ExitDone;
    }

    // What stands at the lines' letters, all asked at once; nothing for a line
    // without a letter, or a letter that did not answer in time.
    std::vector<std::optional<DriveConnection>> Connections(const std::vector<std::string>& lines)
    {
        std::vector<char> letters;
        for (const auto& line : lines)
            letters.push_back(HasLetterAndPath(line) ? AsciiUpper(GroupLineLetter(line)) : '\0');
        return ConnectionsWithin(Services.Drives, letters, AnswerTimeLimit);
    }

    int Show(const std::vector<std::string>& lines)
    {
        const auto connections = Connections(lines);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (HasLetterAndPath(lines[i]))
                Say(lines[i] + "\t" + LineStateText(StateOfLine(GroupLinePath(lines[i]), connections[i])));
            else
                Say(lines[i] + "\tNever run: no drive letter and path");
        }
        return ExitDone;
    }

    int ListShares()
    {
        const auto unc = "\\\\" + Line.Server;
        std::optional<ShareLogin> login;
        if (Line.User) {
            std::string reason;
            const auto password = PasswordFor(*Line.User, unc, reason);
            if (!password) {
                Report(unc + ": not listed: " + reason);
                return ExitFailed;
            }
            login = ShareLogin{*Line.User, *password};
        }
        auto list = ListOnce(login);
        if (Line.Wait && Line.Wait->count() > 0) {
            const auto deadline = Clock::now() + *Line.Wait;
            RetryPauses pauses;
            while (HostNotReachedYet(unc + "\\IPC$", list.Status) && Clock::now() < deadline) {
                Report(unc + ": status " + std::to_string(list.Status) + ": " + OneLine(list.Reason) + "; trying again");
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
                Services.Pause(std::min(left, pauses.Next()));
                list = ListOnce(login);
            }
        }
        if (list.Status != 0) {
            auto reason = OneLine(list.Reason);
            if (list.LoginNeeded)
                reason += " Give --user NAME.";
            Report(unc + ": not listed: status " + std::to_string(list.Status) + ": " + reason);
            return ExitFailed;
        }
        for (const auto& name : list.Names)
            Say(unc + "\\" + name);
        return ExitDone;
    }

    // One ask of the server; one that says nothing within the limit did not answer.
    ShareList ListOnce(const std::optional<ShareLogin>& login)
    {
        auto answer = AskOffThread([shares = Services.Shares, server = Line.Server, login] { return shares->List(server, login); });
        if (answer.wait_for(ShareListLimit + AnswerTimeLimit) != std::future_status::ready)
            return NoAnswerInTime();
        return answer.get();
    }

    // The credentials of a line whose path needs them; nothing, with the
    // reason, when nobody can give them.
    std::optional<Credentials> CredentialsFor(const std::string& line, std::string& reason)
    {
        const auto path = std::string(GroupLinePath(line));
        auto user = Line.User;
        if (!user && !Line.PasswordFromInput && Services.CanAsk())
            user = Services.AskUser("User name for " + path + ": ");
        if (!user) {
            reason = "needs a user name and password: give --user NAME, and the password at a terminal or with "
                     "--password-stdin";
            return std::nullopt;
        }
        const auto password = PasswordFor(*user, path, reason);
        if (!password)
            return std::nullopt;
        return Credentials{*user, *password};
    }

    // The password of user at path: from standard input, or asked at the
    // terminal; nothing, with the reason, when nobody can give it.
    std::optional<Secret> PasswordFor(const std::string& user, const std::string& path, std::string& reason)
    {
        if (Line.PasswordFromInput) {
            // Standard input holds one line: read once, for every line that needs it.
            if (!InputPassword && InputProblem.empty())
                InputPassword = Services.ReadPassword({}, InputProblem);
            if (!InputPassword)
                reason = "the password from standard input was refused: " + InputProblem;
            return InputPassword;
        }
        if (!Services.CanAsk()) {
            reason = "needs a password, and there is no terminal to ask at: give --password-stdin";
            return std::nullopt;
        }
        std::string problem;
        auto typed = Services.ReadPassword("Password for " + user + " at " + path + ": ", problem);
        if (!typed)
            reason = "the password was refused: " + problem;
        return typed;
    }

    // A line whose server could not be reached yet, and its credentials for the next try.
    struct Waiting {
        std::string Line;
        std::optional<Credentials> Given;
        CommandResult Last;
    };

    CommandResult AttachOnce(const std::string& line, const std::optional<Credentials>& credentials)
    {
        return AttachGroupLine(line, credentials, Line.Persistent,
                               [this](const auto& arguments) { return Services.Runner.Run(arguments); });
    }

    int Attach(const std::vector<std::string>& lines)
    {
        const auto connections = Connections(lines);
        bool allDone = true;
        std::vector<Waiting> waiting;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const auto& line = lines[i];
            if (HasLetterAndPath(line) && AttachedAlready(GroupLinePath(line), connections[i])) {
                Say(line + "\tattached already");
                continue;
            }
            std::optional<Credentials> credentials;
            if (HasLetterAndPath(line) && PathRequiresPW(Catalogue, GroupLinePath(line)) != 0) {
                std::string reason;
                credentials = CredentialsFor(line, reason);
                if (!credentials) {
                    Say(line + "\tnot attached: " + reason);
                    allDone = false;
                    continue;
                }
            }
            auto result = AttachOnce(line, credentials);
            const bool retry = Line.Wait && Line.Wait->count() > 0 && HostNotReachedYet(GroupLinePath(line), result.ExitStatus);
            if (result.ExitStatus == 0) {
                Say(AttachedText(line, result));
            } else if (retry) {
                Report(FailureText(line + ": not attached yet", result) + "; trying again");
                waiting.push_back({line, std::move(credentials), std::move(result)});
            } else {
                Say(FailureText(line + "\tnot attached", result));
                allDone = false;
            }
        }
        if (!waiting.empty() && !TryAgain(waiting))
            allDone = false;
        return allDone ? ExitDone : ExitFailed;
    }

    // Tries the waiting lines again with growing pauses until the wait is
    // over; whether all were attached.
    bool TryAgain(std::vector<Waiting>& waiting)
    {
        bool failed = false;
        const auto deadline = Clock::now() + *Line.Wait;
        RetryPauses pauses;
        while (!waiting.empty() && Clock::now() < deadline) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            Services.Pause(std::min(left, pauses.Next()));
            for (auto entry = waiting.begin(); entry != waiting.end();) {
                entry->Last = AttachOnce(entry->Line, entry->Given);
                const bool ended = !HostNotReachedYet(GroupLinePath(entry->Line), entry->Last.ExitStatus);
                if (entry->Last.ExitStatus == 0) {
                    Say(AttachedText(entry->Line, entry->Last));
                    entry = waiting.erase(entry);
                } else if (ended) {
                    Say(FailureText(entry->Line + "\tnot attached", entry->Last));
                    entry = waiting.erase(entry);
                    failed = true;
                } else {
                    ++entry;
                }
            }
        }
        for (const auto& entry : waiting)
            Say(FailureText(entry.Line + "\tnot attached", entry.Last));
        return waiting.empty() && !failed;
    }

    int Detach(const std::vector<std::string>& lines)
    {
        bool allDone = true;
        for (const auto& line : lines) {
            if (!HasLetterAndPath(line)) {
                Say(line + "\tNever run: no drive letter and path");
                continue;
            }
            const char letter = AsciiUpper(GroupLineLetter(line));
            // As the window: a letter where nothing is needs no command.
            if ((Services.Drives->PresentDrives() & (1U << (letter - 'A'))) == 0) {
                Say(line + "\tnot attached");
                continue;
            }
            const auto result = Services.Runner.Run(DetachArguments(letter));
            if (result.ExitStatus == 0) {
                Say(line + "\tdetached");
            } else {
                Say(FailureText(line + "\tnot detached", result));
                allDone = false;
            }
        }
        return allDone ? ExitDone : ExitFailed;
    }

    const CommandLine& Line;
    ConsoleServices& Services;
    ProfileBook Profiles;
    PathCatalogue Catalogue;
    FileReadStatus CatalogueStatus = FileReadStatus::Missing;
    std::optional<Secret> InputPassword;
    std::string InputProblem;
};

} // namespace

int RunConsole(const std::vector<std::string>& arguments, ConsoleServices& services)
{
    std::string reason;
    const auto line = ParseCommandLine(arguments, reason);
    if (!line) {
        Print(services.Err, "corvane: " + reason + "\nTry 'corvane --help'.\n");
        return ExitUsage;
    }
    if (line->Help) {
        Print(services.Out, HelpText);
        return ExitDone;
    }
    if (line->Version) {
        Print(services.Out, "corvane " CORVANE_VERSION "\n");
        return ExitDone;
    }
    return Console(*line, services).Run();
}
