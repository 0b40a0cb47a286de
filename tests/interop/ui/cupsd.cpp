// tests/interop/ui/cupsd.cpp: a private CUPS scheduler for the printer's interop tests.
#include "tests/interop/ui/cupsd.h"

#include "tests/interop/mail/childprocess.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

namespace TestSupport {

namespace {

// The backend runs as the scheduler's user lp: it keeps the job's title and then the job, the
// job renamed into place so that a reader never sees half of it.
const char* const CaptureBackend = "#!/bin/sh\n"
                                   "if [ $# -eq 0 ]; then\n"
                                   "  echo 'direct capture \"Unknown\" \"Capture\"'\n"
                                   "  exit 0\n"
                                   "fi\n"
                                   "out=${DEVICE_URI#capture:}\n"
                                   "printf '%s' \"$3\" > \"$out.title\"\n"
                                   "if [ -n \"$6\" ]; then cat \"$6\" > \"$out.tmp\";"
                                   " else cat > \"$out.tmp\"; fi\n"
                                   "mv \"$out.tmp\" \"$out\"\n";

} // namespace

TCupsd::TCupsd()
{
    if (::geteuid() != 0)
        throw std::runtime_error("cupsd runs jobs as the user lp, which takes root to switch to");
    std::string Pattern = "/tmp/tarnwick-cupsd-XXXXXX";
    if (::mkdtemp(Pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a folder in /tmp");
    ::chmod(Pattern.c_str(), 0755); // the backend, run as lp, reaches its output folder
    FFolder = Pattern + "/";
    for (const char* Sub : {"etc", "bin", "bin/backend", "cache", "state", "spool", "log", "out"})
        std::filesystem::create_directory(FFolder + Sub);
    ::chmod((FFolder + "out").c_str(), 0777);
    std::filesystem::create_directory(FFolder + "tmp");
    ::chmod((FFolder + "tmp").c_str(), 01777);
    std::filesystem::create_symlink("/usr/lib/cups/daemon", FFolder + "bin/daemon");
    WriteWholeFile(FFolder + "bin/backend/capture", CaptureBackend);
    ::chmod((FFolder + "bin/backend/capture").c_str(), 0755); // 0755: run as lp, not root

    FPort = FreeLoopbackPort();
    // Administration over the loopback port is open: lpadmin has no local certificate there.
    WriteWholeFile(FFolder + "etc/cupsd.conf", "Listen 127.0.0.1:" + std::to_string(FPort) +
                                                   "\n"
                                                   "LogLevel debug\n"
                                                   "WebInterface No\n"
                                                   "Browsing No\n"
                                                   "DefaultAuthType None\n"
                                                   "<Location />\n"
                                                   "  Order allow,deny\n"
                                                   "  Allow all\n"
                                                   "</Location>\n"
                                                   "<Policy default>\n"
                                                   "  <Limit All>\n"
                                                   "    Order deny,allow\n"
                                                   "  </Limit>\n"
                                                   "</Policy>\n");
    WriteWholeFile(FFolder + "etc/cups-files.conf", "User lp\nGroup lp\nSystemGroup root\n"
                                                    "ServerRoot " +
                                                        FFolder +
                                                        "etc\n"
                                                        "ServerBin " +
                                                        FFolder +
                                                        "bin\n"
                                                        "CacheDir " +
                                                        FFolder +
                                                        "cache\n"
                                                        "StateDir " +
                                                        FFolder +
                                                        "state\n"
                                                        "RequestRoot " +
                                                        FFolder +
                                                        "spool\n"
                                                        "TempDir " +
                                                        FFolder +
                                                        "tmp\n"
                                                        "AccessLog " +
                                                        FFolder +
                                                        "log/access_log\n"
                                                        "ErrorLog " +
                                                        FFolder +
                                                        "log/error_log\n"
                                                        "PageLog " +
                                                        FFolder + "log/page_log\n");
    try {
        FPid = StartProcessGroup({"/usr/sbin/cupsd", "-f", "-c", FFolder + "etc/cupsd.conf", "-s",
                                  FFolder + "etc/cups-files.conf"},
                                 FFolder + "log/stdout");
        WaitUntilAccepting(FPid, FPort, "cupsd", [this] { return Log(); });
        const std::string Host = Server();
        const TProgramResult Added = RunProgram({"/usr/sbin/lpadmin", "-h", Host, "-p", "q", "-v",
                                                 "capture:" + JobFile(), "-E", "-m", "raw"});
        if (Added.ExitCode != 0)
            throw std::runtime_error("lpadmin -p q: " + Added.Errors + Log());
        const TProgramResult Default = RunProgram({"/usr/sbin/lpadmin", "-h", Host, "-d", "q"});
        if (Default.ExitCode != 0)
            throw std::runtime_error("lpadmin -d q: " + Default.Errors + Log());
    } catch (...) {
        if (FPid > 0)
            StopProcessGroup(FPid);
        std::error_code Ignored;
        std::filesystem::remove_all(FFolder, Ignored);
        throw;
    }
}

TCupsd::~TCupsd()
{
    if (FPid > 0)
        StopProcessGroup(FPid);
    std::error_code Ignored;
    std::filesystem::remove_all(FFolder, Ignored);
}

std::string TCupsd::Server() const
{
    return "127.0.0.1:" + std::to_string(FPort);
}

std::string TCupsd::Log() const
{
    return ReadWholeFile(FFolder + "log/stdout") + ReadWholeFile(FFolder + "log/error_log");
}

} // namespace TestSupport
