// The shell's folder calls: item ID lists in their byte layout, the allocator that owns them,
// and the special folders, checked against xdg-user-dir on a user-dirs.dirs of the test's own.
#include "platform/ui/shellfolders.h"

#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

// An environment variable set (or unset) while the object lives.
class TEnvVar {
public:
    TEnvVar(const char* Name, const std::optional<std::string>& Value) : FName(Name)
    {
        if (const char* Old = std::getenv(Name))
            FOld = Old;
        if (Value)
            setenv(Name, Value->c_str(), 1);
        else
            unsetenv(Name);
    }
    ~TEnvVar()
    {
        if (FOld)
            setenv(FName, FOld->c_str(), 1);
        else
            unsetenv(FName);
    }
    TEnvVar(const TEnvVar&) = delete;
    TEnvVar& operator=(const TEnvVar&) = delete;

private:
    const char* FName;
    std::optional<std::string> FOld;
};

std::string Trimmed(std::string Text)
{
    while (!Text.empty() && (Text.back() == '\n' || Text.back() == '\r'))
        Text.pop_back();
    return Text;
}

// What the real xdg-user-dir answers in the current environment.
std::string XdgUserDirTool(const std::string& Name)
{
    FILE* Pipe = ::popen(("xdg-user-dir " + Name).c_str(), "r");
    if (Pipe == nullptr)
        return "(no xdg-user-dir)";
    std::string Out;
    char Buffer[512];
    while (std::fgets(Buffer, sizeof Buffer, Pipe) != nullptr)
        Out += Buffer;
    ::pclose(Pipe);
    return Trimmed(Out);
}

std::string PathOf(int Csidl)
{
    LPITEMIDLIST List = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(0, Csidl, &List)))
        return "(none)";
    char Path[MAX_PATH];
    const bool Got = SHGetPathFromIDList(List, Path);
    ILFree(List);
    return Got ? std::string(Path) : "(no path)";
}

} // namespace

TEST(ShellFolders, AnItemIdListHoldsEachComponentAfterItsSizeAndEndsWithAZeroSize)
{
    LPITEMIDLIST List = ILCreateFromPath("/home/ann/");
    ASSERT_NE(List, nullptr);
    const auto* Bytes = reinterpret_cast<const unsigned char*>(List);
    const std::vector<unsigned char> Expected = {6, 0,   'h', 'o', 'm', 'e', 5,
                                                 0, 'a', 'n', 'n', 0,   0};
    ASSERT_EQ(ILGetSize(List), Expected.size());
    EXPECT_EQ(std::vector<unsigned char>(Bytes, Bytes + Expected.size()), Expected);

    LPITEMIDLIST Copy = ILClone(List);
    EXPECT_EQ(std::memcmp(Copy, List, Expected.size()), 0);
    EXPECT_EQ(PathFromIDList(Copy), "/home/ann");
    ILFree(Copy);
    ILFree(List);
}

TEST(ShellFolders, PathsComeBackFromTheirLists)
{
    struct TCase {
        std::string Path;
        std::string Back;
    };
    const std::vector<TCase> Cases = {
        {"/", "/"},
        {"/tmp", "/tmp"},
        {"/a//b/./c/", "/a/b/c"},
        {"/a/b/../c", "/a/c"},
        {"/Grüße/ü", "/Grüße/ü"},
    };
    for (const TCase& Case : Cases) {
        LPITEMIDLIST List = ILCreateFromPath(Case.Path);
        char Path[MAX_PATH];
        ASSERT_TRUE(SHGetPathFromIDList(List, Path)) << Case.Path;
        EXPECT_EQ(std::string(Path), Case.Back) << Case.Path;
        ILFree(List);
    }
    EXPECT_EQ(ILCreateFromPath("relative/path"), nullptr);
    char Path[MAX_PATH] = "x";
    EXPECT_FALSE(SHGetPathFromIDList(nullptr, Path));
    EXPECT_STREQ(Path, "");
    // A path that does not fit the caller's MAX_PATH buffer is refused, not cut.
    LPITEMIDLIST Long = ILCreateFromPath("/" + std::string(300, 'x'));
    EXPECT_FALSE(SHGetPathFromIDList(Long, Path));
    ILFree(Long);
}

TEST(ShellFolders, TheAllocatorKnowsItsBlocksAndLeavesOthersAlone)
{
    IMalloc* Malloc = nullptr;
    ASSERT_EQ(SHGetMalloc(&Malloc), S_OK);
    const std::size_t Before = ShellAllocatorBlocks();
    void* Block = Malloc->Alloc(40);
    EXPECT_EQ(Malloc->DidAlloc(Block), 1);
    EXPECT_EQ(Malloc->GetSize(Block), 40u);
    Block = Malloc->Realloc(Block, 100);
    EXPECT_EQ(Malloc->GetSize(Block), 100u);
    int NotOurs = 0;
    EXPECT_EQ(Malloc->DidAlloc(&NotOurs), 0);
    Malloc->Free(&NotOurs); // ignored, not handed to free()
    Malloc->Free(Block);
    EXPECT_EQ(ShellAllocatorBlocks(), Before);
    void* Iface = nullptr;
    EXPECT_EQ(Malloc->QueryInterface(IID_IMalloc, &Iface), S_OK);
    EXPECT_EQ(Iface, Malloc);
    Malloc->Release();
    Malloc->Release();
}

TEST(ShellFolders, SpecialFoldersAgreeWithXdgUserDirAndTheXdgHomes)
{
    TestSupport::TTempFolder Home;
    const std::string H = Home.Path().substr(0, Home.Path().size() - 1);
    TEnvVar HomeVar("HOME", H);
    TEnvVar Config("XDG_CONFIG_HOME", H + "/cfg");
    TEnvVar Data("XDG_DATA_HOME", H + "/data");
    std::filesystem::create_directories(H + "/cfg");
    TestSupport::WriteAll(H + "/cfg/user-dirs.dirs", "# written by the test\n"
                                                     "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                                                     "XDG_DOCUMENTS_DIR=\"$HOME/Docs with space\"\n"
                                                     "XDG_TEMPLATES_DIR=\"/srv/templates\"\n"
                                                     "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");

    struct TCase {
        int Csidl;
        std::string Expected;
    };
    const std::vector<TCase> Cases = {
        {CSIDL_DESKTOP, "/"},
        {CSIDL_DRIVES, "/"},
        {0xFEFE, "/"},
        {CSIDL_PERSONAL, XdgUserDirTool("DOCUMENTS")},
        {CSIDL_DESKTOPDIRECTORY, XdgUserDirTool("DESKTOP")},
        {CSIDL_TEMPLATES, XdgUserDirTool("TEMPLATES")},
        {CSIDL_FONTS, H + "/data/fonts"},
        {CSIDL_PROGRAMS, H + "/data/applications"},
        {CSIDL_STARTMENU, H + "/data/applications"},
        {CSIDL_BITBUCKET, H + "/data/Trash/files"},
        {CSIDL_STARTUP, H + "/cfg/autostart"},
        {CSIDL_APPDATA, H + "/cfg"},
        {CSIDL_COMMON_PROGRAMS, "/usr/share/applications"},
        {CSIDL_COMMON_STARTMENU, "/usr/share/applications"},
        {CSIDL_COMMON_STARTUP, "/etc/xdg/autostart"},
        {CSIDL_INTERNET, "(none)"},
        {CSIDL_CONTROLS, "(none)"},
        {CSIDL_PRINTERS, "(none)"},
        {CSIDL_FAVORITES, "(none)"},
        {CSIDL_RECENT, "(none)"},
        {CSIDL_COMMON_DESKTOPDIRECTORY, "(none)"},
        {28, "(none)"},
    };
    EXPECT_EQ(XdgUserDirTool("DOCUMENTS"), H + "/Dokumente"); // the last line wins
    for (const TCase& Case : Cases)
        EXPECT_EQ(PathOf(Case.Csidl), Case.Expected) << "CSIDL " << Case.Csidl;

    // Without the file, and without the XDG homes, the tool's and the freedesktop defaults.
    std::filesystem::remove(H + "/cfg/user-dirs.dirs");
    TEnvVar NoConfig("XDG_CONFIG_HOME", std::nullopt);
    TEnvVar NoData("XDG_DATA_HOME", std::nullopt);
    EXPECT_EQ(PathOf(CSIDL_PERSONAL), XdgUserDirTool("DOCUMENTS"));
    EXPECT_EQ(PathOf(CSIDL_DESKTOPDIRECTORY), XdgUserDirTool("DESKTOP"));
    EXPECT_EQ(PathOf(CSIDL_DESKTOPDIRECTORY), H + "/Desktop");
    EXPECT_EQ(PathOf(CSIDL_FONTS), H + "/.local/share/fonts");
    EXPECT_EQ(PathOf(CSIDL_APPDATA), H + "/.config");
}

TEST(ShellFolders, AFolderWithoutAListGivesNone)
{
    LPITEMIDLIST List = reinterpret_cast<LPITEMIDLIST>(&List);
    EXPECT_EQ(SHGetSpecialFolderLocation(0, CSIDL_NETWORK, &List), E_INVALIDARG);
    EXPECT_EQ(List, nullptr);
}
