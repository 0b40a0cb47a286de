// desktop/objmgr2.cpp: the lines of the form-state store and the text forms of the property kinds.
#include "desktop/objmgr2.h"

#include "desktop/controlproperties.h"
#include "platform/forms/form.h"
#include "platform/gfx/color.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/properties.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/strings.h"
#include "platform/ui/cursors.h"

#include <vector>

namespace {

const bool Published = [] {
    TPublished<TObjMgr>().Property("Items", &TObjMgr::Items, &TObjMgr::SetItems);
    return true;
}();

std::vector<std::string> SplitFields(const std::string& Line)
{
    std::vector<std::string> Fields;
    std::size_t Start = 0;
    for (;;) {
        const std::size_t Semicolon = Line.find(';', Start);
        Fields.push_back(Trim(Line.substr(Start, Semicolon - Start)));
        if (Semicolon == std::string::npos)
            break;
        Start = Semicolon + 1;
    }
    Fields.resize(std::max<std::size_t>(Fields.size(), 5));
    return Fields;
}

bool IsIntegerKind(const TPropInfo* Info)
{
    return Info->Kind == tkInteger || Info->Kind == tkInt64;
}

// The integer a text stands for: an identifier of the property's type (exact type names
// "TColor" and "TCursor" only), else a decimal or "$" hexadecimal number.
bool TextToInteger(const TPropInfo* Info, const std::string& Text, Int64& Value)
{
    if (Info->TypeName == "TColor" || Info->TypeName == "TCursor") {
        int Ident = 0;
        const TIdentToInt IdentToInt = FindIdentToInt(Info->TypeName);
        if (IdentToInt && IdentToInt(Text, Ident)) {
            Value = Ident;
            return true;
        }
    }
    return TryStrToInt64(Text, Value);
}

std::string PropertyText(TObject* Instance, const TPropInfo* Info)
{
    if (IsIntegerKind(Info)) {
        const Int64 Value = GetOrdProp(Instance, Info);
        if (Info->TypeName == "TColor" || Info->TypeName == "TCursor") {
            std::string Ident;
            const TIntToIdent IntToIdent = FindIntToIdent(Info->TypeName);
            if (IntToIdent && IntToIdent(static_cast<int>(Value), Ident))
                return Ident;
        }
        return IntToStr(Value);
    }
    if (Info->Kind == tkChar)
        return std::string(1, static_cast<char>(GetOrdProp(Instance, Info)));
    if (Info->Kind == tkString)
        return GetStrProp(Instance, Info);
    return "";
}

void AssignText(TObject* Instance, const TPropInfo* Info, const std::string& Text)
{
    if (IsIntegerKind(Info)) {
        Int64 Value = 0;
        if (!Text.empty() && TextToInteger(Info, Text, Value))
            SetOrdProp(Instance, Info, Value);
    } else if (Info->Kind == tkChar) {
        if (!Text.empty())
            SetOrdProp(Instance, Info, static_cast<unsigned char>(Text[0]));
    } else if (Info->Kind == tkString) {
        SetStrProp(Instance, Info, Text);
    }
}

} // namespace

TObjMgr::TObjMgr(TComponent* AOwner) : TComponent(AOwner), FItems(std::make_unique<TStringList>())
{
    (void)Published;
    (void)ColorIdentsRegistered;
    RegisterCursorIdents();
    PublishControlBounds();
}

TObjMgr::~TObjMgr() = default;

void TObjMgr::SetItems(TStrings* Value)
{
    FItems->Assign(Value);
}

void TObjMgr::LoadFromRegistry()
{
    ForEachLine(false);
}

void TObjMgr::SaveToRegistry()
{
    ForEachLine(true);
}

void TObjMgr::ForEachLine(bool Saving)
{
    TRegistry Registry;
    Registry.SetRootKey(HKEY_CURRENT_USER);
    for (int I = 0; I < FItems->Count(); ++I) {
        const std::vector<std::string> Fields = SplitFields(FItems->Strings(I));
        if (Fields[0].empty() && Fields[1].empty() && Fields[2].empty() && Fields[3].empty())
            continue;
        auto* Form = dynamic_cast<TCustomForm*>(Owner());
        if (Form == nullptr)
            throw EInvalidCast("Invalid class typecast");
        TComponent* Target = Fields[0] == Form->Name() ? Form : Form->FindComponent(Fields[0]);
        if (Target == nullptr)
            continue;
        const TPropInfo* Info = GetPropInfo(Target, Fields[1]);
        if (Info == nullptr)
            continue;
        try {
            Registry.CloseKey();
            if (Saving) {
                if (Registry.OpenKey(Fields[2], true))
                    Registry.WriteString(Fields[3], PropertyText(Target, Info));
            } else if (Registry.OpenKey(Fields[2], false) && Registry.ValueExists(Fields[3])) {
                AssignText(Target, Info, Registry.ReadString(Fields[3]));
            } else {
                AssignText(Target, Info, Fields[4]);
            }
        } catch (const Exception&) {
            // A bad line leaves its property as it was and the other lines go on.
        }
    }
}
