// desktop/fileiterator.h: TFileIterator, which walks a folder tree and reports its files through
// events, and TFileIteratorThread, which runs one walk on a worker thread and frees itself.
#pragma once

#include "platform/rtl/component.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sets.h"
#include "platform/rtl/thread.h"
#include "platform/rtl/types.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

enum TFileIteratorOption { fiPath, fiDetails, fiRecurseFolders };
using TFileIteratorOptions = TSet<TFileIteratorOption>;

// Filled only under fiDetails.
struct TFileInfo {
    std::uint32_t Size = 0; // the low 32 bits of the size in bytes
    std::uint32_t Time = 0; // packed DOS date and time, local
    std::uint32_t Attr = 0; // fa* flags (platform/rtl/findfiles.h)
};

using TAddFileEvent =
    std::function<void(TObject* Sender, const std::string& FileName, const TFileInfo& FileInfo)>;
using TAddFileQueryEvent = std::function<void(TObject* Sender, const std::string& FileName,
                                              const TFileInfo& FileInfo, bool& CanAdd)>;

// Carries one of the program's string-table messages (54260, 54261).
class EFileIteratorError : public Exception {
public:
    explicit EFileIteratorError(int Ident);
};

// RunState values.
constexpr Byte fiIdle = 0;
constexpr Byte fiRunning = 1;
constexpr Byte fiCancelling = 2;

struct TFileWalkControl;

// The events run on the thread that calls Run. A link to a folder is reported as neither file
// nor folder and never entered, so a walk always ends; folders whose name starts with "." are
// not entered either. Destroying the iterator cancels a walk and waits until it (and a worker
// thread running it) has ended; on the main thread synchronised calls run meanwhile.
class TFileIterator : public TComponent {
public:
    explicit TFileIterator(TComponent* AOwner);
    ~TFileIterator() override;

    TFileIteratorOptions Options() const;
    // Refused with EFileIteratorError 54260 while a walk runs (except while loading).
    void SetOptions(TFileIteratorOptions Value);
    std::string RootFolder() const;
    // One trailing "/" is dropped when the walk starts, except from "/" itself.
    void SetRootFolder(const std::string& Value);

    Byte RunState() const { return FRunState.load(); }
    bool IsIdle() const { return FRunState.load() == fiIdle; }

    // One walk of RootFolder. EFileIteratorError 54261 when one runs already; nothing at all
    // when neither OnAddFile nor OnAddFileQuery is bound. An exception of a handler ends the
    // walk, OnTerminate still fires, and it goes on to the caller.
    void Run();
    // Asks a running walk to end before its next entry.
    void Cancel();

    TAddFileEvent OnAddFile;
    TAddFileQueryEvent OnAddFileQuery;
    TNotifyEvent OnActivate;
    TNotifyEvent OnTerminate;

protected:
    virtual void DoAddFile(const std::string& FileName, const TFileInfo& FileInfo);
    virtual void DoAddFileQuery(const std::string& FileName, const TFileInfo& FileInfo,
                                bool& CanAdd);
    virtual void DoActivate();
    virtual void DoTerminate();

private:
    friend class TFileIteratorThread;

    void Walk(std::string& Path, TFileIteratorOptions Options);
    void CheckChangeable() const;

    std::shared_ptr<TFileWalkControl> FControl;
    TFileIteratorOptions FOptions{fiPath, fiDetails, fiRecurseFolders};
    std::string FRootFolder = "/";
    std::atomic<Byte> FRunState{fiIdle};
};

// Runs Run of its iterator once and frees itself. An exception that ends the walk reaches the
// application's exception handler on the main thread; the thread ends normally.
class TFileIteratorThread : public TThread {
public:
    // Create with TThread::Create<TFileIteratorThread>(Iterator, false) to start it at once.
    TFileIteratorThread(TFileIterator* AIterator, bool CreateSuspended);

protected:
    void Execute() override;

private:
    std::shared_ptr<TFileWalkControl> FControl;
};
