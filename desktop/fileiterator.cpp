// desktop/fileiterator.cpp: the walk, its state and the hand-over of a worker's failure to the
// main thread.
#include "desktop/fileiterator.h"

#include "platform/rtl/findfiles.h"
#include "platform/rtl/properties.h"
#include "platform/rtl/resources.h"
#include "platform/ui/application.h"

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

// What an iterator shares with the threads that walk it; it outlives both.
struct TFileWalkControl {
    std::mutex Lock;
    std::condition_variable Ended;
    TFileIterator* Iterator = nullptr; // nil once the iterator is being destroyed
    bool Destroying = false;
    int Walks = 0;         // Run calls past their start
    int ActiveThreads = 0; // worker threads inside Execute with this iterator
    std::thread::id Walker;
    bool MainWaiting = false;
    // Set when a handler freed the iterator it runs in: the walk then touches it no more.
    std::atomic<bool> Abandoned{false};

    // Under Lock: a walk or thread has ended.
    void Notify()
    {
        Ended.notify_all();
        // The main thread waits in CheckSynchronize: an empty call wakes it.
        if (MainWaiting)
            TThread::Queue(nullptr, [] {});
    }
};

namespace {

const bool Published = [] {
    RegisterEnumeration<TFileIteratorOption>({"fiPath", "fiDetails", "fiRecurseFolders"});
    TPublished<TFileIterator>()
        .Property("Options", &TFileIterator::Options, &TFileIterator::SetOptions)
        .Property("RootFolder", &TFileIterator::RootFolder, &TFileIterator::SetRootFolder)
        .Field("OnAddFile", &TFileIterator::OnAddFile, "TAddFileEvent")
        .Field("OnAddFileQuery", &TFileIterator::OnAddFileQuery, "TAddFileQueryEvent")
        .Field("OnActivate", &TFileIterator::OnActivate)
        .Field("OnTerminate", &TFileIterator::OnTerminate);
    return true;
}();

constexpr int SIteratorBusyOptions = 54260;
constexpr int SIteratorBusy = 54261;

// Runs on the main thread: the failure goes where an exception of a message handler goes.
void ReportWalkFailure(const std::exception_ptr& Error)
{
    try {
        std::rethrow_exception(Error);
    } catch (const Exception& E) {
        if (Application != nullptr)
            Application->HandleException(nullptr);
        else
            std::fprintf(stderr, "%s\n", E.Message().c_str());
    } catch (const std::exception& E) {
        if (Application != nullptr)
            Application->ShowException(Exception(E.what()));
        else
            std::fprintf(stderr, "%s\n", E.what());
    } catch (...) {
        std::fputs("The file search ended with an unknown error\n", stderr);
    }
}

} // namespace

EFileIteratorError::EFileIteratorError(int Ident) : Exception(LoadStr(Ident)) {}

TFileIterator::TFileIterator(TComponent* AOwner)
    : TComponent(AOwner), FControl(std::make_shared<TFileWalkControl>())
{
    (void)Published;
    FControl->Iterator = this;
}

TFileIterator::~TFileIterator()
{
    Destroying();
    TFileWalkControl& C = *FControl;
    std::unique_lock<std::mutex> L(C.Lock);
    C.Destroying = true;
    C.Iterator = nullptr;
    // A handler that frees its own iterator cannot wait for the walk it runs in.
    if (C.Walks > 0 && C.Walker == std::this_thread::get_id()) {
        C.Abandoned = true;
        return;
    }
    Byte Running = fiRunning;
    FRunState.compare_exchange_strong(Running, fiCancelling);
    auto Done = [&C] { return C.Walks == 0 && C.ActiveThreads == 0; };
    if (std::this_thread::get_id() != MainThreadID()) {
        C.Ended.wait(L, Done);
        return;
    }
    // A handler on the worker may be waiting in Synchronize for this very thread.
    while (!Done()) {
        C.MainWaiting = true;
        L.unlock();
        CheckSynchronize(60000);
        L.lock();
    }
    C.MainWaiting = false;
}

TFileIteratorOptions TFileIterator::Options() const
{
    std::lock_guard<std::mutex> L(FControl->Lock);
    return FOptions;
}

void TFileIterator::CheckChangeable() const
{
    if (FRunState.load() != fiIdle && !ComponentState().Contains(csLoading))
        throw EFileIteratorError(SIteratorBusyOptions);
}

void TFileIterator::SetOptions(TFileIteratorOptions Value)
{
    std::lock_guard<std::mutex> L(FControl->Lock);
    CheckChangeable();
    FOptions = Value;
}

std::string TFileIterator::RootFolder() const
{
    std::lock_guard<std::mutex> L(FControl->Lock);
    return FRootFolder;
}

void TFileIterator::SetRootFolder(const std::string& Value)
{
    std::lock_guard<std::mutex> L(FControl->Lock);
    CheckChangeable();
    FRootFolder = Value;
}

void TFileIterator::Cancel()
{
    Byte Running = fiRunning;
    FRunState.compare_exchange_strong(Running, fiCancelling);
}

void TFileIterator::Run()
{
    if (FRunState.load() != fiIdle)
        throw EFileIteratorError(SIteratorBusy);
    if (!OnAddFile && !OnAddFileQuery)
        return;
    std::string Root;
    TFileIteratorOptions Opts;
    const std::shared_ptr<TFileWalkControl> Control = FControl; // outlives a freed iterator
    TFileWalkControl& C = *Control;
    {
        // Under the lock, so that the settings cannot change between the start and the copy.
        std::lock_guard<std::mutex> L(C.Lock);
        if (C.Destroying)
            return;
        Byte Idle = fiIdle;
        if (!FRunState.compare_exchange_strong(Idle, fiRunning))
            throw EFileIteratorError(SIteratorBusy);
        Root = FRootFolder;
        Opts = FOptions;
        ++C.Walks;
        C.Walker = std::this_thread::get_id();
    }
    std::exception_ptr Error;
    try {
        DoActivate();
        if (Root.size() > 1 && Root.back() == '/')
            Root.pop_back();
        if (Root != "/")
            Root.push_back('/'); // "" walks "/" too
        Walk(Root, Opts);
    } catch (...) {
        Error = std::current_exception();
    }
    if (!C.Abandoned) {
        try {
            DoTerminate();
        } catch (...) {
            if (!Error)
                Error = std::current_exception();
        }
    }
    {
        std::lock_guard<std::mutex> L(C.Lock);
        if (!C.Abandoned)
            FRunState.store(fiIdle);
        --C.Walks;
        C.Walker = std::thread::id();
        C.Notify();
    }
    if (Error)
        std::rethrow_exception(Error);
}

void TFileIterator::Walk(std::string& Path, TFileIteratorOptions Options)
{
    // Path is the folder with a "/" after it; each entry's path is built on the end of it and
    // cut back afterwards, so the walk keeps one buffer for all its paths.
    const std::size_t FolderLength = Path.size();
    const TFileWalkControl& C = *FControl;
    // One entry; false once the walk is to end.
    auto Visit = [&](const std::string& EntryName, int Attr, const TSearchRec* Details) {
        if (C.Abandoned || FRunState.load() == fiCancelling)
            return false;
        if (Attr & faDirectory) {
            if (Options.Contains(fiRecurseFolders) && EntryName[0] != '.' && !(Attr & faSymLink)) {
                Path.append(EntryName).push_back('/');
                Walk(Path, Options);
                Path.resize(FolderLength);
            }
        } else if (!(Attr & faVolumeID)) {
            TFileInfo Info;
            if (Details != nullptr) {
                Info.Size = static_cast<std::uint32_t>(Details->Size);
                Info.Time = static_cast<std::uint32_t>(Details->Time);
                Info.Attr = static_cast<std::uint32_t>(Details->Attr);
            }
            const bool WithPath = Options.Contains(fiPath);
            if (WithPath)
                Path.append(EntryName);
            // A handler may keep a copy of the name, not the buffer it is lent.
            const std::string& Name = WithPath ? Path : EntryName;
            bool CanAdd = true;
            DoAddFileQuery(Name, Info, CanAdd);
            if (CanAdd && !C.Abandoned)
                DoAddFile(Name, Info);
            Path.resize(FolderLength);
        }
        return true;
    };
    if (!Options.Contains(fiDetails)) {
        // Without details only the kind of each entry matters, which the folder itself tells.
        TFolderReader Reader(Path);
        std::string Name;
        int Attr = 0;
        while (Reader.Next(Name, Attr))
            if (!Visit(Name, Attr, nullptr))
                break;
        return;
    }
    TSearchRec Search; // closes the listing however the walk leaves
    Path.append("*.*");
    const int Found = FindFirst(Path, faAnyFile, Search);
    Path.resize(FolderLength);
    if (Found != 0)
        return;
    do {
        if (!Visit(Search.Name, Search.Attr, &Search))
            break;
    } while (FindNext(Search) == 0);
}

void TFileIterator::DoAddFile(const std::string& FileName, const TFileInfo& FileInfo)
{
    if (OnAddFile)
        OnAddFile(this, FileName, FileInfo);
}

void TFileIterator::DoAddFileQuery(const std::string& FileName, const TFileInfo& FileInfo,
                                   bool& CanAdd)
{
    if (OnAddFileQuery)
        OnAddFileQuery(this, FileName, FileInfo, CanAdd);
}

void TFileIterator::DoActivate()
{
    if (OnActivate)
        OnActivate(this);
}

void TFileIterator::DoTerminate()
{
    if (OnTerminate)
        OnTerminate(this);
}

TFileIteratorThread::TFileIteratorThread(TFileIterator* AIterator, bool CreateSuspended)
    : TThread(CreateSuspended), FControl(AIterator != nullptr ? AIterator->FControl : nullptr)
{
    SetFreeOnTerminate(true);
}

void TFileIteratorThread::Execute()
{
    if (!FControl)
        return;
    TFileWalkControl& C = *FControl;
    TFileIterator* Iterator = nullptr;
    {
        std::lock_guard<std::mutex> L(C.Lock);
        if (C.Iterator == nullptr)
            return; // the iterator went before the thread started
        Iterator = C.Iterator;
        ++C.ActiveThreads;
    }
    try {
        Iterator->Run();
    } catch (...) {
        // Not tied to this thread, which frees itself before the main thread runs the call.
        const std::exception_ptr Error = std::current_exception();
        TThread::Queue(nullptr, [Error] { ReportWalkFailure(Error); });
    }
    std::lock_guard<std::mutex> L(C.Lock);
    --C.ActiveThreads;
    C.Notify();
}
