// desktop/objmgr2.h: TObjMgr, the form-state store: each line of Items binds a published
// property of a form or of a component on it to a string value under HKEY_CURRENT_USER.
#pragma once

#include "platform/rtl/component.h"
#include "platform/rtl/stringlist.h"

#include <memory>

// A line is "component;property;key path;value name;default" (fields after the fifth are
// ignored); the owner form's own Name names the form itself. Integers (colours and cursors also
// by identifier), characters and strings are stored as text; other kinds as the empty text,
// and loading assigns them nothing. A bad line never stops the others.
class TObjMgr : public TComponent {
public:
    explicit TObjMgr(TComponent* AOwner);
    ~TObjMgr() override;

    TStrings* Items() const { return FItems.get(); }
    // Copies the lines.
    void SetItems(TStrings* Value);

    // Applies each stored value, or the line's default when the key or value is missing; never
    // creates a key or value. Raises EInvalidCast when the owner is not a form.
    void LoadFromRegistry();
    // Writes each property's text form, creating the keys. Raises EInvalidCast when the owner
    // is not a form.
    void SaveToRegistry();

private:
    void ForEachLine(bool Saving);

    std::unique_ptr<TStringList> FItems;
};
