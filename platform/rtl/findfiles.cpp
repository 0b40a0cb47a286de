// platform/rtl/findfiles.cpp: the folder listing over opendir/readdir, one fstatat per entry
// relative to the open folder, and the packing of local file times.
#include "platform/rtl/findfiles.h"

#include "platform/rtl/datetime.h"
#include "platform/rtl/strings.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <ctime>
#include <memory>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

struct TFindState {
    DIR* Dir = nullptr;
    int Fd = -1; // Dir's descriptor: entries are looked up relative to it
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

// Floor division, for times before 1970.
constexpr Int64 FloorDiv(Int64 A, Int64 B)
{
    return A / B - ((A % B != 0) && ((A < 0) != (B < 0)) ? 1 : 0);
}

// Year, month and day of a count of days from 1970-01-01 in the proleptic Gregorian calendar
// (counted in 400-year eras of 146097 days that start on 1 March).
void CivilDate(Int64 Days, Int64& Year, unsigned& Month, unsigned& Day)
{
    Days += 719468;
    const Int64 Era = FloorDiv(Days, 146097);
    const unsigned DayOfEra = static_cast<unsigned>(Days - Era * 146097);
    const unsigned YearOfEra =
        (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
    const unsigned DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
    const unsigned MonthIndex = (5 * DayOfYear + 2) / 153; // from March
    Day = DayOfYear - (153 * MonthIndex + 2) / 5 + 1;
    Month = MonthIndex < 10 ? MonthIndex + 3 : MonthIndex - 9;
    Year = static_cast<Int64>(YearOfEra) + Era * 400 + (Month <= 2 ? 1 : 0);
}

int PackDosTime(Int64 Year, unsigned Month, unsigned Day, unsigned Hour, unsigned Min, unsigned Sec)
{
    if (Year < 1980 || Year > 2107)
        return 0;
    const unsigned Date = (static_cast<unsigned>(Year - 1980) << 9) | (Month << 5) | Day;
    const unsigned Time = (Hour << 11) | (Min << 5) | (Sec / 2);
    return static_cast<int>((Date << 16) | Time);
}

// The zone's offset from UTC on each day (UTC) met lately, per walking thread: asking the zone
// for every file costs as much as the rest of a file's details. A day whose offset differs at
// its two ends (a change of zone time) is marked, and its files are asked one by one. The
// zone's names and offset are kept with the table, so that a new zone (tzset) empties it.
class TZoneDays {
public:
    // Dates DOS can pack, with room for any zone's offset.
    static constexpr Int64 FirstSecond = 315532800 - 2 * 86400; // 1980-01-01 less two days
    static constexpr Int64 LastSecond = 4354819200 + 2 * 86400; // 2108-01-01 and two days

    // Seconds in FirstSecond .. LastSecond: the offset, or false when it varies that day.
    bool Offset(Int64 Seconds, long& Result)
    {
        if (Name != tzname[0] || SummerName != tzname[1] || Zone != timezone) {
            std::fill(Days.begin(), Days.end(), TDay());
            Name = tzname[0];
            SummerName = tzname[1];
            Zone = timezone;
        }
        const auto Number = static_cast<std::int32_t>(Seconds / 86400);
        TDay& Day = Days[static_cast<std::size_t>(Number) % Days.size()];
        if (Day.Number != Number) {
            long First = 0, Last = 0;
            const auto Start = static_cast<time_t>(Number) * 86400;
            if (!ZoneOffset(Start, First) || !ZoneOffset(Start + 86399, Last))
                return false;
            Day.Number = Number;
            Day.Offset = First == Last ? static_cast<std::int32_t>(First) : Varies;
        }
        Result = Day.Offset;
        return Day.Offset != Varies;
    }

private:
    static constexpr std::int32_t Varies = INT32_MIN;
    struct TDay {
        std::int32_t Number = -1;
        std::int32_t Offset = Varies;
    };

    static bool ZoneOffset(time_t Seconds, long& Offset)
    {
        struct tm Local {};
        if (localtime_r(&Seconds, &Local) == nullptr)
            return false;
        Offset = Local.tm_gmtoff;
        return true;
    }

    const char* Name = nullptr;
    const char* SummerName = nullptr;
    long Zone = 0;
    std::vector<TDay> Days = std::vector<TDay>(8192); // 22 years' days
};

// The packed local time of Seconds; 0 outside 1980 to 2107 or when the zone cannot tell.
int PackedTime(time_t Seconds)
{
    if (Seconds < TZoneDays::FirstSecond || Seconds > TZoneDays::LastSecond)
        return 0;
    thread_local std::unique_ptr<TZoneDays> Zone;
    if (!Zone)
        Zone = std::make_unique<TZoneDays>();
    long Offset = 0;
    if (!Zone->Offset(Seconds, Offset)) {
        struct tm Local {};
        if (localtime_r(&Seconds, &Local) == nullptr)
            return 0;
        return PackDosTime(
            Local.tm_year + Int64(1900), static_cast<unsigned>(Local.tm_mon + 1),
            static_cast<unsigned>(Local.tm_mday), static_cast<unsigned>(Local.tm_hour),
            static_cast<unsigned>(Local.tm_min), static_cast<unsigned>(Local.tm_sec));
    }
    const Int64 Local = static_cast<Int64>(Seconds) + Offset;
    const Int64 Days = FloorDiv(Local, 86400);
    const auto Second = static_cast<unsigned>(Local - Days * 86400);
    Int64 Year = 0;
    unsigned Month = 0, MonthDay = 0;
    CivilDate(Days, Year, Month, MonthDay);
    return PackDosTime(Year, Month, MonthDay, Second / 3600, Second / 60 % 60, Second % 60);
}

// Reads entries until one matches and passes the attribute filter; false at the end.
bool NextMatch(TSearchRec& F)
{
    TFindState& State = *F.FindHandle;
    while (dirent* Entry = readdir(State.Dir)) {
        const char* Name = Entry->d_name;
        if (!State.MatchAll && !MatchesFileMask(Name, State.Mask))
            continue;
        struct stat St {};
        if (fstatat(State.Fd, Name, &St, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // gone since the folder was read
        int Attr = 0;
        if (S_ISLNK(St.st_mode)) {
            Attr |= faSymLink;
            struct stat Target {};
            // A link that leads nowhere (or round in a loop) keeps its own details.
            if (fstatat(State.Fd, Name, &Target, 0) == 0)
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
        F.Name.assign(Name); // keeps the buffer of the entry before
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
    State->Fd = dirfd(State->Dir);
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
