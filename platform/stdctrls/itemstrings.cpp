#include "platform/stdctrls/itemstrings.h"

#include "platform/forms/control.h"

namespace {

// LB_ERR and CB_ERR.
constexpr LRESULT ItemError = -1;

std::string IndexError(int Index)
{
    return "List index out of bounds (" + std::to_string(Index) + ")";
}

} // namespace

int TItemStrings::Count() const
{
    return static_cast<int>(Control->Perform(Messages.GetCount, 0, 0));
}

std::string TItemStrings::Get(int Index) const
{
    const LRESULT Length = Control->Perform(Messages.GetTextLen, static_cast<WPARAM>(Index), 0);
    if (Length < 0)
        throw EStringListError(IndexError(Index));
    std::string Text(static_cast<std::size_t>(Length) + 1, '\0');
    Control->Perform(Messages.GetText, static_cast<WPARAM>(Index),
                     reinterpret_cast<LPARAM>(Text.data()));
    Text.resize(static_cast<std::size_t>(Length));
    return Text;
}

TObject* TItemStrings::GetObject(int Index) const
{
    const LRESULT Data = Control->Perform(Messages.GetItemData, static_cast<WPARAM>(Index), 0);
    if (Data == ItemError)
        throw EStringListError(IndexError(Index));
    return reinterpret_cast<TObject*>(Data);
}

void TItemStrings::PutObject(int Index, TObject* AObject)
{
    Control->Perform(Messages.SetItemData, static_cast<WPARAM>(Index),
                     reinterpret_cast<LPARAM>(AObject));
}

int TItemStrings::Add(const std::string& S)
{
    const LRESULT Index =
        Control->Perform(Messages.AddString, 0, reinterpret_cast<LPARAM>(S.c_str()));
    if (Index < 0)
        throw EListError(Messages.AddFailed);
    return static_cast<int>(Index);
}

int TItemStrings::AddObject(const std::string& S, TObject* AObject)
{
    const int Index = Add(S);
    PutObject(Index, AObject);
    return Index;
}

void TItemStrings::Insert(int Index, const std::string& S)
{
    if (Index < 0 || Index > Count())
        throw EStringListError(IndexError(Index));
    Control->Perform(Messages.InsertString, static_cast<WPARAM>(Index),
                     reinterpret_cast<LPARAM>(S.c_str()));
}

void TItemStrings::Delete(int Index)
{
    if (Control->Perform(Messages.DeleteString, static_cast<WPARAM>(Index), 0) == ItemError)
        throw EStringListError(IndexError(Index));
}

void TItemStrings::Clear()
{
    Control->Perform(Messages.ResetContent, 0, 0);
}

int TItemStrings::IndexOf(const std::string& S) const
{
    return static_cast<int>(Control->Perform(Messages.FindStringExact, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(S.c_str())));
}
