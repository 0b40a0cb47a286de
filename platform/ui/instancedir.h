// platform/ui/instancedir.h: the cross-process window directory. Each process that has top-level
// windows publishes them in a per-user runtime folder, so that another process can find a window
// by class name and caption and ask its owner to restore, raise or show it.
#pragma once

#include "platform/rtl/exceptions.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Raised when the runtime folder cannot be made or is unsafe (owned by another user, open to
// group or others), and when the listening socket cannot be set up.
TW_DECLARE_EXCEPTION(EInstanceDirectoryError, Exception);

// A window published by another process.
struct TRemoteWindow {
    int Pid = 0;
    std::uint64_t Handle = 0;
    std::string ClassName;
    std::string Caption;
};

// What one process asks of another's window; the owner carries it out.
enum class TRemoteCommand : std::uint8_t {
    rcRestore,       // as ShowWindow SW_RESTORE
    rcBringToTop,    // raise above the other windows
    rcShow,          // as ShowWindow SW_SHOW
    rcSetForeground, // make it the foreground window
};

// One parsed command line of the wire protocol.
struct TCommandMessage {
    std::uint64_t Handle = 0;
    TRemoteCommand Command = TRemoteCommand::rcRestore;
};

// Parses one command as sent on the socket (without its line end). Empty when the text is not a
// well-formed command: unknown verb, bad handle, extra fields or more than MaxCommandLength bytes.
std::optional<TCommandMessage> ParseInstanceCommand(const std::string& Line);
// The wire form of a command, with its line end.
std::string FormatInstanceCommand(const TCommandMessage& Message);
constexpr std::size_t MaxCommandLength = 64;

class TInstanceDirectory {
public:
    // Opens (creating it when missing, mode 0700) the runtime folder and listens on this
    // process's socket there. Raises EInstanceDirectoryError for an unsafe folder.
    explicit TInstanceDirectory(const std::string& Folder = RuntimeFolder());
    // Withdraws this process's entry and removes its socket.
    ~TInstanceDirectory();
    TInstanceDirectory(const TInstanceDirectory&) = delete;
    TInstanceDirectory& operator=(const TInstanceDirectory&) = delete;

    // $TARNWICK_RUNTIME_DIR, else $XDG_RUNTIME_DIR/tarnwick, else /tmp/tarnwick-<uid>.
    static std::string RuntimeFolder();
    const std::string& Folder() const { return FFolder; }

    // Adds the window, or updates its class name and caption (a caption change is published the
    // same way). Rewrites the entry file; raises EAtomicWriteError when it cannot be written.
    void Publish(std::uint64_t Handle, const std::string& ClassName, const std::string& Caption);
    // Removes the window; unknown handles are ignored.
    void Withdraw(std::uint64_t Handle);

    // The windows of the other live processes. Entries of processes that are gone are removed.
    std::vector<TRemoteWindow> Enumerate() const;
    // The first window of another process whose class name and caption equal the given ones,
    // compared without regard to case, as the classic window search does; a missing value
    // matches any window. A caller that needs an exact match filters Enumerate() itself.
    std::optional<TRemoteWindow> Find(const std::optional<std::string>& ClassName,
                                      const std::optional<std::string>& Caption) const;
    // Asks the owning process to carry out Command on the window: true once the command is on
    // its socket (the owner carries it out when its loop next turns, and ignores it when the
    // window is gone by then). Never waits longer than SendTimeoutMs on a stuck peer; false
    // when the peer cannot be reached in time.
    bool SendCommand(const TRemoteWindow& Window, TRemoteCommand Command) const;
    static constexpr int SendTimeoutMs = 500;

    // To be polled for readability by the message loop: it becomes readable when a peer
    // connects or sends (one descriptor stands for the listening socket and its connections).
    int Descriptor() const { return FPoller; }
    // Accepts pending connections and reads what they sent without blocking; calls OnCommand
    // for each valid command on a window published here. Malformed input is dropped.
    void HandleReadable();
    std::function<void(std::uint64_t Handle, TRemoteCommand Command)> OnCommand;

private:
    struct TPublished {
        std::uint64_t Handle;
        std::string ClassName;
        std::string Caption;
    };
    struct TPeer {
        int Fd;
        std::string Buffer;
        std::int64_t LastActive; // monotonic milliseconds; a silent peer is dropped after a while
    };

    bool IsPublished(std::uint64_t Handle) const;
    void WriteEntry() const;
    void Accept();
    // Reads what the peer has sent so far; false when the connection is done with.
    bool ReadPeer(TPeer& Peer, std::vector<TCommandMessage>& Commands);
    void DropPeer(std::size_t Index);

    std::string FFolder;
    int FPid;
    std::string FSocketPath;
    std::string FEntryPath;
    int FListener = -1;
    int FPoller = -1;
    std::vector<TPublished> FWindows;
    std::vector<TPeer> FPeers;
};
