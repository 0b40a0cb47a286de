// tests/desktop/walktree.h: a temporary folder tree with the awkward cases a walk meets (hidden
// files and folders, links to folders and files, a dangling link, a link loop, names that are
// not UTF-8) and what `find` lists of it, the walk's peer.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace WalkTree {

inline void MakeFile(const std::string& Path, const std::string& Contents = "x")
{
    std::ofstream(Path, std::ios::binary) << Contents;
}

// Root ends without "/". Every entry a walk with all options reports or skips for a reason.
inline void Build(const std::string& Root)
{
    const char* Folders[] = {"/a", "/a/b", "/a/b/c", "/.hidden", "/empty", "/d\xC3\xA9j\xC3\xA0"};
    for (const char* F : Folders)
        ASSERT_EQ(mkdir((Root + F).c_str(), 0755), 0) << F;
    const char* Files[] = {"/top.txt",
                           "/.dotfile",
                           "/a/one.exe",
                           "/a/b/two.EXE",
                           "/a/b/c/three",
                           "/.hidden/inside",
                           "/d\xC3\xA9j\xC3\xA0/caf\xC3\xA9",
                           "/bad\xFFname"};
    for (const char* F : Files)
        MakeFile(Root + F, F);
    MakeFile(Root + "/a/b/big", std::string(5000, 'z'));
    ASSERT_EQ(symlink("..", (Root + "/a/b/up").c_str()), 0);        // a loop back up
    ASSERT_EQ(symlink("a/b", (Root + "/tob").c_str()), 0);          // a link to a folder
    ASSERT_EQ(symlink("top.txt", (Root + "/totop").c_str()), 0);    // a link to a file
    ASSERT_EQ(symlink("nowhere", (Root + "/dangling").c_str()), 0); // leads nowhere
    ASSERT_EQ(symlink("self", (Root + "/self").c_str()), 0);        // a loop on itself
}

// What the walk reports, as find lists it: every entry that is no folder and no link to one,
// hidden folders not entered; sorted. Recurse false keeps to the root; Bare gives names only.
inline std::vector<std::string> FindListing(const std::string& Root, bool Recurse, bool Bare)
{
    std::string Command = "find '" + Root + "' -mindepth 1";
    if (!Recurse)
        Command += " -maxdepth 1";
    Command += " \\( -type d -name '.*' -prune \\) -o -type d -o -xtype d -o";
    Command += Bare ? " -printf '%f\\n'" : " -print";
    Command += " 2>/dev/null";
    std::vector<std::string> Lines;
    FILE* Pipe = popen(Command.c_str(), "r");
    if (Pipe == nullptr)
        return Lines;
    std::string Line;
    int C = 0;
    while ((C = std::fgetc(Pipe)) != EOF) {
        if (C == '\n') {
            Lines.push_back(Line);
            Line.clear();
        } else {
            Line += static_cast<char>(C);
        }
    }
    pclose(Pipe);
    std::sort(Lines.begin(), Lines.end());
    return Lines;
}

} // namespace WalkTree
