// platform/stdctrls/memostrings.h: TMemoStrings, the memo's Lines: a TStrings whose lines are
// the edit window's lines, each read with EM_GETLINE and changed through the selection.
#pragma once

#include "platform/rtl/stringlist.h"
#include "platform/ui/wintypes.h"

class TCustomMemo;

class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* Memo) : FMemo(Memo) {}

    int Count() const override;
    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    int Add(const std::string& S) override;
    void Insert(int Index, const std::string& S) override;
    void Delete(int Index) override;
    void Clear() override;

protected:
    void AddLine(std::string&& S) override { Add(S); }
    // Lines added during an update (SetText, LoadFromStream, Assign) go in as one change when
    // it ends: one layout of the text instead of one per line.
    void SetUpdateState(bool Updating) override;

private:
    LRESULT Send(UINT Msg, WPARAM WParam, LPARAM LParam) const;
    void Flush() const;
    int RawCount() const;
    void RawInsert(int Index, const std::string& S) const;

    TCustomMemo* FMemo;
    mutable std::string FPending; // lines added during an update, each with CR LF
    mutable int FPendingLines = 0;
    mutable int FPendingBase = 0; // the count before them
};
