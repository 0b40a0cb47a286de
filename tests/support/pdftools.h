// tests/support/pdftools.h: reading printed PDF files back with poppler's tools (pdftotext,
// pdftoppm, from /usr/bin whatever PATH a test sets), started from an argument vector, never
// through a shell.
#pragma once

#include "platform/gfx/pngformat.h"
#include "platform/rtl/process.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace TestSupport {

// What the program wrote to its standard output; its exit code in ExitCode (-1: no start or a
// signal).
inline std::string ProgramOutput(const std::vector<std::string>& Argv, int* ExitCode = nullptr)
{
    int Pipe[2];
    if (::pipe2(Pipe, O_CLOEXEC) != 0)
        return {};
    TSpawnOptions Options;
    Options.Argv = Argv;
    Options.OutputFd = Pipe[1];
    Options.ErrorFd = -1;
    const TSpawnResult Started = SpawnProcess(Options);
    ::close(Pipe[1]);
    std::string Output;
    char Buffer[4096];
    for (ssize_t Got; (Got = ::read(Pipe[0], Buffer, sizeof Buffer)) != 0;) {
        if (Got < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        Output.append(Buffer, static_cast<std::size_t>(Got));
    }
    ::close(Pipe[0]);
    int Status = 0;
    const bool Reaped = Started.Pid > 0 && ::waitpid(Started.Pid, &Status, 0) == Started.Pid;
    if (ExitCode)
        *ExitCode = Reaped && WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    return Output;
}

// The text pdftotext reads from the file, pages in order ("-" writes to standard output).
inline std::string PdfText(const std::string& FileName, const std::vector<std::string>& Extra = {})
{
    std::vector<std::string> Argv = {"/usr/bin/pdftotext"};
    Argv.insert(Argv.end(), Extra.begin(), Extra.end());
    Argv.push_back(FileName);
    Argv.push_back("-");
    int Exit = 0;
    const std::string Text = ProgramOutput(Argv, &Exit);
    EXPECT_EQ(Exit, 0) << "pdftotext " << FileName;
    return Text;
}

// Page Page of the file rendered by pdftoppm at Resolution dots per inch.
inline TDibImage RenderPdfPage(const std::string& FileName, int Page, int Resolution)
{
    const std::string Prefix = FileName + ".render" + std::to_string(Page);
    int Exit = 0;
    ProgramOutput({"/usr/bin/pdftoppm", "-png", "-singlefile", "-r", std::to_string(Resolution),
                   "-f", std::to_string(Page), "-l", std::to_string(Page), FileName, Prefix},
                  &Exit);
    EXPECT_EQ(Exit, 0) << "pdftoppm " << FileName;
    const std::string Png = ReadAll(Prefix + ".png");
    std::filesystem::remove(Prefix + ".png");
    return ReadPng(reinterpret_cast<const std::uint8_t*>(Png.data()), Png.size());
}

} // namespace TestSupport
