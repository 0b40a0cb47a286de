// platform/stdctrls/itemstrings.h: TItemStrings, the Items of a list or combo box: every call goes
// to the box's window through its own message numbers.
#pragma once

#include "platform/rtl/stringlist.h"
#include "platform/ui/wintypes.h"

class TControl;

// The messages a box answers for its items (LB_ or CB_), and what Add reports when it fails.
struct TItemMessages {
    UINT GetCount;
    UINT GetTextLen;
    UINT GetText;
    UINT GetItemData;
    UINT SetItemData;
    UINT AddString;
    UINT InsertString;
    UINT DeleteString;
    UINT ResetContent;
    UINT FindStringExact;
    const char* AddFailed;
};

class TItemStrings : public TStrings {
public:
    TItemStrings(TControl* AControl, const TItemMessages& AMessages)
        : Control(AControl), Messages(AMessages)
    {
    }

    int Count() const override;
    std::string Get(int Index) const override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    int Add(const std::string& S) override;
    int AddObject(const std::string& S, TObject* AObject) override;
    void Insert(int Index, const std::string& S) override;
    void Delete(int Index) override;
    void Clear() override;
    int IndexOf(const std::string& S) const override;

protected:
    TControl* Control;

private:
    TItemMessages Messages;
};
