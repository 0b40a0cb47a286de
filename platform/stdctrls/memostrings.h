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
    void Insert(int Index, const std::string& S) override;
    void Delete(int Index) override;
    void Clear() override;

private:
    LRESULT Send(UINT Msg, WPARAM WParam, LPARAM LParam) const;

    TCustomMemo* FMemo;
};
