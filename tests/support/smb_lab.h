#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

// Samba's smbd on 127.0.0.1 serving folders of a temporary directory, and
// GVfs in a session bus of the test's own, as a desktop login has them.
// Shares: "public" and "100A" for guests, "Team Files Ü" for guests,
// "private" for root with Password.
class SmbLab {
public:
    static constexpr const char* Password = "s3cret";

    // Without guestsList the server lists its shares to logins only.
    explicit SmbLab(std::filesystem::path root, bool guestsList = true);
    ~SmbLab();
    SmbLab(const SmbLab&) = delete;
    SmbLab& operator=(const SmbLab&) = delete;

    // Empty when the server and a session run; else why they cannot here.
    std::string Start();

    // Ends the server, as a restart or a crash does, and starts it again
    // (empty when it runs; else why not).
    void StopServer();
    std::string StartServer();

    // Stops and continues every process of the server.
    void PauseServer();
    void ResumeServer();

    // A session as at a login, its daemons speaking language (as LC_ALL); and
    // its end as at a log-out, GVfs and its mounts going with it.
    std::string StartSession(const std::string& language = "C.UTF-8");
    void EndSession();

    // What GVfs says is mounted in the session (gio mount -l).
    std::string Mounts() const;

    const std::filesystem::path Root;
    const std::filesystem::path Public = Root / "public";
    const std::filesystem::path Private = Root / "private";

private:
    bool GuestsList;
    std::filesystem::path State = Root / "state";
    std::filesystem::path Config = Root / "smb.conf";
    std::filesystem::path Runtime = Root / "run";
    pid_t Server = -1;
    pid_t Bus = -1;
};

// A path as one word of the shell, whatever it holds.
std::string ShellQuoted(const std::filesystem::path& path);
