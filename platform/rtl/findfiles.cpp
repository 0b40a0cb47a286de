// platform/rtl/findfiles.cpp: the folder listing over opendir/readdir, one fstatat per entry.
#include "platform/rtl/findfiles.h"

#include "platform/rtl/datetime.h"
#include "platform/rtl/strings.h"

#include <cerrno>
#include <ctime>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

struct TFindState {
    DIR* Dir = nullptr;
    std::string Mask;
    bool MatchAll = false;
    int ExcludeAttr = 0;
    uid_t User = 0;
    std::vector<gid_t> Groups; // the effective group first

    ~TFindState()
    {
        if (Dir != nullptr)
            closedir(Dir);
    }
};

namespace {

// One character at S[I]: a well-formed UTF-8 sequence, else one byte.
std::size_t CharLength(const std::string& S, std::size_t I)
{
    std::size_t Next = I;
    char32_t Code = 0;
    if (DecodeUtf8At(S, Next, Code))
        return Next - I;
    return 1;
}

bool Writable(const struct stat& St, const TFindState& State)
{
    if (State.User == 0)
        return true;
    if (St.st_uid == State.User)
        return (St.st_mode & S_IWUSR) != 0;
    for (gid_t Group : State.Groups)
        if (St.st_gid == Group)
            return (St.st_mode & S_IWGRP) != 0;
    return (St.st_mode & S_IWOTH) != 0;
}

// The local time of Seconds. Zone offsets change only at quarter hours, so the broken-down
// start of the last quarter hour met is kept (per thread) and the rest added to it: the files
// of one folder mostly share their quarter hour.
bool LocalTime(time_t Seconds, struct tm& Local)
{
    constexpr time_t Quarter = 900;
    thread_local time_t CachedStart = -1;
    thread_local struct tm Cached {
    };
    const time_t Start = Seconds - ((Seconds % Quarter) + Quarter) % Quarter;
    if (Start != CachedStart) {
        if (localtime_r(&Start, &Cached) == nullptr) {
            CachedStart = -1;
            return false;
        }
        CachedStart = Start;
    }
    const int Offset = static_cast<int>(Seconds - Start);
    Local = Cached;
    Local.tm_sec += Offset % 60;
    Local.tm_min += Offset / 60;
    if (Local.tm_sec >= 60) {
        Local.tm_sec -= 60;
        ++Local.tm_min;
    }
    // Zones whose offset is no whole quarter hour (old local mean times) get the slow way.
    if (Local.tm_min >= 60)
        return localtime_r(&Seconds, &Local) != nullptr;
    return true;
}

int PackedTime(time_t Seconds)
{
    struct tm Local {};
    if (!LocalTime(Seconds, Local))
        return 0;
    const int Year = Local.tm_year + 1900;
    if (Year < 1980 || Year > 2107)
        return 0;
    const unsigned Date = (static_cast<unsigned>(Year - 1980) << 9) |
                          (static_cast<unsigned>(Local.tm_mon + 1) << 5) |
                          static_cast<unsigned>(Local.tm_mday);
    const unsigned Time = (static_cast<unsigned>(Local.tm_hour) << 11) |
                          (static_cast<unsigned>(Local.tm_min) << 5) |
                          static_cast<unsigned>(Local.tm_sec / 2);
    return static_cast<int>((Date << 16) | Time);
}

// Reads entries until one matches and passes the attribute filter; false at the end.
bool NextMatch(TSearchRec& F)
{
    TFindState& State = *F.FindHandle;
    const int Fd = dirfd(State.Dir);
    while (dirent* Entry = readdir(State.Dir)) {
        const std::string Name = Entry->d_name;
        if (!State.MatchAll && !MatchesFileMask(Name, State.Mask))
            continue;
        struct stat St {};
        if (fstatat(Fd, Entry->d_name, &St, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // gone since the folder was read
        int Attr = 0;
        if (S_ISLNK(St.st_mode)) {
            Attr |= faSymLink;
            struct stat Target {};
            // A link that leads nowhere (or round in a loop) keeps its own details.
            if (fstatat(Fd, Entry->d_name, &Target, 0) == 0)
                St = Target;
        }
        if (S_ISDIR(St.st_mode))
            Attr |= faDirectory;
        else
            Attr |= faArchive;
        if (Name[0] == '.')
            Attr |= faHidden;
        if (!Writable(St, State))
            Attr |= faReadOnly;
        if ((Attr & State.ExcludeAttr) != 0)
            continue;
        F.Name = Name;
        F.Attr = Attr;
        F.Size = S_ISDIR(St.st_mode) ? 0 : static_cast<Int64>(St.st_size);
        F.Time = PackedTime(St.st_mtime);
        return true;
    }
    return false;
}

} // namespace

TFolderReader::TFolderReader(const std::string& Folder) : FDir(opendir(Folder.c_str())) {}

TFolderReader::~TFolderReader()
{
    if (FDir != nullptr)
        closedir(static_cast<DIR*>(FDir));
}

bool TFolderReader::Next(std::string& Name, int& Attr)
{
    if (FDir == nullptr)
        return false;
    DIR* Dir = static_cast<DIR*>(FDir);
    while (dirent* Entry = readdir(Dir)) {
        const char* N = Entry->d_name;
        if (N[0] == '.' && (N[1] == 0 || (N[1] == '.' && N[2] == 0)))
            continue;
        Name = N;
        Attr = 0;
        unsigned char Type = Entry->d_type;
        if (Type == DT_UNKNOWN || Type == DT_LNK) {
            struct stat St {};
            if (fstatat(dirfd(Dir), N, &St, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // gone since the folder was read
            if (S_ISLNK(St.st_mode)) {
                Attr |= faSymLink;
                if (fstatat(dirfd(Dir), N, &St, 0) != 0)
                    St.st_mode = S_IFLNK;
            }
            Type = S_ISDIR(St.st_mode) ? DT_DIR : DT_REG;
        }
        if (Type == DT_DIR)
            Attr |= faDirectory;
        return true;
    }
    return false;
}

bool MatchesFileMask(const std::string& Name, const std::string& Mask)
{
    if (Mask == "*" || Mask == "*.*")
        return true;
    // Greedy matching with one remembered star: on a mismatch the last star takes one more
    // character and matching resumes after it.
    std::size_t N = 0, M = 0;
    std::size_t StarMask = std::string::npos, StarName = 0;
    while (N < Name.size()) {
        if (M < Mask.size() && Mask[M] == '*') {
            StarMask = M++;
            StarName = N;
        } else if (M < Mask.size() && Mask[M] == '?') {
            ++M;
            N += CharLength(Name, N);
        } else if (M < Mask.size() && Mask[M] == Name[N]) {
            ++M;
            ++N;
        } else if (StarMask != std::string::npos) {
            M = StarMask + 1;
            StarName += CharLength(Name, StarName);
            N = StarName;
        } else {
            return false;
        }
    }
    while (M < Mask.size() && Mask[M] == '*')
        ++M;
    return M == Mask.size();
}

int FindFirst(const std::string& Path, int Attr, TSearchRec& F)
{
    FindClose(F);
    const std::size_t Slash = Path.rfind('/');
    std::string Folder;
    std::string Mask;
    if (Slash == std::string::npos) {
        Folder = ".";
        Mask = Path;
    } else {
        Folder = Slash == 0 ? "/" : Path.substr(0, Slash);
        Mask = Path.substr(Slash + 1);
    }
    auto State = std::make_shared<TFindState>();
    State->Dir = opendir(Folder.c_str());
    if (State->Dir == nullptr)
        return errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND;
    State->Mask = Mask;
    State->MatchAll = Mask == "*" || Mask == "*.*";
    State->ExcludeAttr = ~Attr & (faHidden | faSysFile | faVolumeID | faDirectory);
    State->User = geteuid();
    State->Groups.push_back(getegid());
    const int Count = getgroups(0, nullptr);
    if (Count > 0) {
        std::vector<gid_t> More(static_cast<std::size_t>(Count));
        if (getgroups(Count, More.data()) == Count)
            State->Groups.insert(State->Groups.end(), More.begin(), More.end());
    }
    F.ExcludeAttr = State->ExcludeAttr;
    F.FindHandle = std::move(State);
    if (NextMatch(F))
        return 0;
    FindClose(F);
    return ERROR_FILE_NOT_FOUND;
}

int FindNext(TSearchRec& F)
{
    if (!F.FindHandle || !NextMatch(F))
        return ERROR_NO_MORE_FILES;
    return 0;
}

void FindClose(TSearchRec& F)
{
    F.FindHandle.reset();
}

int DateTimeToFileDate(TDateTime DateTime)
{
    Word Year = 0, Month = 0, Day = 0, Hour = 0, Min = 0, Sec = 0, MSec = 0;
    DecodeDate(DateTime, Year, Month, Day);
    if (Year < 1980 || Year > 2107)
        return 0;
    DecodeTime(DateTime, Hour, Min, Sec, MSec);
    const unsigned Date = (static_cast<unsigned>(Year - 1980) << 9) | (Month << 5) | Day;
    const unsigned Time = (static_cast<unsigned>(Hour) << 11) | (Min << 5) | (Sec / 2u);
    return static_cast<int>((Date << 16) | Time);
}

TDateTime FileDateToDateTime(int FileDate)
{
    const unsigned Packed = static_cast<unsigned>(FileDate);
    const unsigned Date = Packed >> 16, Time = Packed & 0xFFFF;
    TDateTime DatePart = 0, TimePart = 0;
    if (!TryEncodeDate(static_cast<Word>((Date >> 9) + 1980), static_cast<Word>((Date >> 5) & 15),
                       static_cast<Word>(Date & 31), DatePart) ||
        !TryEncodeTime(static_cast<Word>(Time >> 11), static_cast<Word>((Time >> 5) & 63),
                       static_cast<Word>((Time & 31) * 2), 0, TimePart))
        return 0;
    return DatePart + TimePart;
}
