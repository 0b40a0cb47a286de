#include "platform/rtl/properties.h"

#include "platform/rtl/component.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TGridOption { goFixedVertLine, goEditing, goTabs, goRowSelect };
using TGridOptions = TSet<TGridOption>;
using TColor = int;
using TCursor = short;

class TFont : public TPersistent {};
class TBrush : public TPersistent {};

class TSampleControl : public TComponent {
public:
    using TComponent::TComponent;

    int Left() const { return FLeft; }
    void SetLeft(int Value) { FLeft = Value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value) { FCursor = Value; }
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value) { FAlign = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions Value) { FOptions = Value; }
    double Zoom() const { return FZoom; }
    void SetZoom(double Value) { FZoom = Value; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; }
    char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char Value) { FPasswordChar = Value; }
    TFont* Font() const { return FFont; }
    void SetFont(TFont* Value) { FFont = Value; }
    Int64 MaxRecords() const { return FMaxRecords; }
    void SetMaxRecords(Int64 Value) { FMaxRecords = Value; }
    int LineCount() const { return 3; }

    TNotifyEvent OnClick;
    std::function<void(TObject* Sender, int& Key)> OnKey;

private:
    int FLeft = 0;
    TColor FColor = 0;
    TCursor FCursor = 0;
    TAlign FAlign = alNone;
    bool FVisible = true;
    TGridOptions FOptions;
    double FZoom = 1;
    std::string FCaption;
    char FPasswordChar = 0;
    TFont* FFont = nullptr;
    Int64 FMaxRecords = 0;
};

// Republishes Left under its own accessors and adds one property.
class TSampleGrid : public TSampleControl {
public:
    using TSampleControl::TSampleControl;
    int Left() const { return TSampleControl::Left() * 10; }
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value) { FRowCount = Value; }

private:
    int FRowCount = 5;
};

// Small stand-ins for the colour and cursor maps that the graphics and window layers register.
void RegisterSampleConsts(const std::string& TypeName, const std::map<std::string, int>& Map)
{
    RegisterIntegerConsts(
        TypeName,
        [Map](const std::string& Ident, int& Value) {
            for (const auto& [Name, Number] : Map)
                if (Name == Ident) {
                    Value = Number;
                    return true;
                }
            return false;
        },
        [Map](int Value, std::string& Ident) {
            for (const auto& [Name, Number] : Map)
                if (Number == Value) {
                    Ident = Name;
                    return true;
                }
            return false;
        });
}

const bool Published = [] {
    RegisterEnumeration<TAlign>({"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"});
    RegisterEnumeration<TGridOption>({"goFixedVertLine", "goEditing", "goTabs", "goRowSelect"});
    RegisterSampleConsts(
        "TColor",
        {{"clBlack", 0}, {"clRed", 0x0000FF}, {"clBtnFace", static_cast<int>(0xFF00000F)}});
    RegisterSampleConsts("TCursor", {{"crDefault", 0}, {"crHandPoint", -21}});
    TPublished<TSampleControl>()
        .Property("Left", &TSampleControl::Left, &TSampleControl::SetLeft)
        .Property("Color", &TSampleControl::Color, &TSampleControl::SetColor, "TColor")
        .Property("Cursor", &TSampleControl::Cursor, &TSampleControl::SetCursor, "TCursor")
        .Property("Align", &TSampleControl::Align, &TSampleControl::SetAlign)
        .Property("Visible", &TSampleControl::Visible, &TSampleControl::SetVisible)
        .Property("Options", &TSampleControl::Options, &TSampleControl::SetOptions, "TGridOptions")
        .Property("Zoom", &TSampleControl::Zoom, &TSampleControl::SetZoom)
        .Property("Caption", &TSampleControl::Caption, &TSampleControl::SetCaption)
        .Property("PasswordChar", &TSampleControl::PasswordChar, &TSampleControl::SetPasswordChar)
        .Property("Font", &TSampleControl::Font, &TSampleControl::SetFont)
        .Property("MaxRecords", &TSampleControl::MaxRecords, &TSampleControl::SetMaxRecords)
        .Property("LineCount", &TSampleControl::LineCount)
        .Field("OnClick", &TSampleControl::OnClick)
        .Field("OnKey", &TSampleControl::OnKey, "TKeyEvent");
    TPublished<TSampleGrid>()
        .Property("Left", &TSampleGrid::Left, &TSampleControl::SetLeft)
        .Property("RowCount", &TSampleGrid::RowCount, &TSampleGrid::SetRowCount);
    return true;
}();

} // namespace

TEST(Properties, EveryKindIsDescribed)
{
    ASSERT_TRUE(Published);
    TSampleGrid Grid(nullptr);
    struct TCase {
        std::string Name;
        TTypeKind Kind;
        std::string TypeName;
    };
    const std::vector<TCase> Cases = {
        {"Left", tkInteger, "Integer"},        {"Color", tkInteger, "TColor"},
        {"Cursor", tkInteger, "TCursor"},      {"Align", tkEnumeration, "TAlign"},
        {"Visible", tkEnumeration, "Boolean"}, {"Options", tkSet, "TGridOptions"},
        {"Zoom", tkFloat, "Double"},           {"Caption", tkString, "string"},
        {"PasswordChar", tkChar, "Char"},      {"Font", tkClass, "TFont"},
        {"MaxRecords", tkInt64, "Int64"},      {"OnClick", tkMethod, "TNotifyEvent"},
        {"OnKey", tkMethod, "TKeyEvent"},      {"RowCount", tkInteger, "Integer"},
        {"Name", tkString, "string"},          {"Tag", tkInt64, "NativeInt"},
    };
    for (const auto& Case : Cases) {
        const TPropInfo* Info = GetPropInfo(&Grid, Case.Name);
        ASSERT_NE(Info, nullptr) << Case.Name;
        EXPECT_EQ(Info->Kind, Case.Kind) << Case.Name;
        EXPECT_EQ(Info->TypeName, Case.TypeName) << Case.Name;
        EXPECT_TRUE(IsPublishedProp(&Grid, Case.Name));
    }
    EXPECT_EQ(GetPropInfo(&Grid, "Options")->ElementTypeName, "TGridOption");
    EXPECT_EQ(GetPropInfo(&Grid, "Font")->PropClass, TMetaClass::Of<TFont>());
    EXPECT_FALSE(GetPropInfo(&Grid, "LineCount")->IsWritable());
}

TEST(Properties, LookupIgnoresCaseAndWalksTheClassLine)
{
    TSampleControl Control(nullptr);
    TSampleGrid Grid(nullptr);
    EXPECT_EQ(GetPropInfo(&Control, "caption"), GetPropInfo(&Control, "CAPTION"));
    EXPECT_EQ(GetPropInfo(&Control, "RowCount"), nullptr); // only the grid has it
    EXPECT_EQ(GetPropInfo(&Grid, "Zoom"), GetPropInfo(&Control, "Zoom"));
    EXPECT_EQ(GetPropInfo(&Grid, "Name"), GetPropInfo(TMetaClass::Of<TComponent>(), "Name"));
    // The grid's own Left hides the inherited one.
    SetOrdProp(&Grid, "Left", 4);
    EXPECT_EQ(GetOrdProp(&Grid, "Left"), 40);
    EXPECT_EQ(GetOrdProp(&Grid, "RowCount"), 5);
    EXPECT_EQ(GetPropInfo(&Control, "Nothing"), nullptr);
    EXPECT_EQ(GetPropInfo(static_cast<const TObject*>(nullptr), "Name"), nullptr);
}

TEST(Properties, ListHasAncestorsFirstAndHiddenOnesReplaced)
{
    TSampleGrid Grid(nullptr);
    std::vector<std::string> Names;
    for (const TPropInfo* Info : GetPropList(&Grid))
        Names.push_back(Info->Name);
    EXPECT_EQ(Names, (std::vector<std::string>{"Name", "Tag", "Left", "Color", "Cursor", "Align",
                                               "Visible", "Options", "Zoom", "Caption",
                                               "PasswordChar", "Font", "MaxRecords", "LineCount",
                                               "OnClick", "OnKey", "RowCount"}));
    EXPECT_EQ(GetPropList(&Grid)[2], GetPropInfo(&Grid, "Left"));
}

TEST(Properties, EveryTextKindRoundTripsByName)
{
    TSampleControl Control(nullptr);
    struct TCase {
        std::string Name;
        std::string Written;
        std::string Read;
    };
    const std::vector<TCase> Cases = {
        {"Left", "-8", "-8"},
        {"Left", " $1F ", "31"},
        {"Left", "0x10", "16"},
        {"Align", "alClient", "alClient"},
        {"Align", "ALTOP", "alTop"},
        {"Visible", "False", "False"},
        {"Visible", "true", "True"},
        {"Options", "[goEditing,goTabs]", "[goEditing,goTabs]"},
        {"Options", " goRowSelect , goFixedVertLine ", "[goFixedVertLine,goRowSelect]"},
        {"Options", "[]", "[]"},
        {"Zoom", "0.1", "0.1"},
        {"Zoom", "-2.5e-300", "-2.5e-300"},
        {"Zoom", "3", "3"},
        {"Caption", "Tarnwick;10", "Tarnwick;10"},
        {"Caption", "", ""},
        {"PasswordChar", "*", "*"},
        {"PasswordChar", "", ""},
        {"MaxRecords", "9007199254740993", "9007199254740993"},
        {"Name", "edtServer", "edtServer"},
        {"Tag", "-1", "-1"},
    };
    for (const auto& Case : Cases) {
        SetPropValue(&Control, Case.Name, Case.Written);
        EXPECT_EQ(GetPropValue(&Control, Case.Name), Case.Read)
            << Case.Name << " = " << Case.Written;
    }
}

TEST(Properties, ColourAndCursorIdentifiersRoundTrip)
{
    TSampleControl Control(nullptr);
    struct TCase {
        std::string Name;
        std::string Written;
        Int64 Value;
        std::string Read;
    };
    const std::vector<TCase> Cases = {
        {"Color", "clRed", 255, "clRed"},
        {"Color", "255", 255, "clRed"},
        {"Color", "$0000FF", 255, "clRed"},
        {"Color", "clBtnFace", -16777201, "clBtnFace"},
        {"Color", "$FF00000F", -16777201, "clBtnFace"},
        {"Color", "1193046", 0x123456, "1193046"},
        {"Cursor", "crHandPoint", -21, "crHandPoint"},
        {"Cursor", "-21", -21, "crHandPoint"},
        {"Cursor", "crDefault", 0, "crDefault"},
        {"Cursor", "7", 7, "7"},
    };
    for (const auto& Case : Cases) {
        SetPropValue(&Control, Case.Name, Case.Written);
        EXPECT_EQ(GetOrdProp(&Control, Case.Name), Case.Value) << Case.Written;
        EXPECT_EQ(GetPropValue(&Control, Case.Name), Case.Read) << Case.Written;
    }
    // Other integer types do not take identifiers.
    EXPECT_THROW(SetPropValue(&Control, "Left", "clRed"), EPropertyConvertError);
}

TEST(Properties, TypedAccessorsReadAndWriteEveryKind)
{
    TSampleControl Control(nullptr);
    SetOrdProp(&Control, "Left", 12);
    EXPECT_EQ(Control.Left(), 12);
    SetEnumProp(&Control, "Align", "alRight");
    EXPECT_EQ(Control.Align(), alRight);
    EXPECT_EQ(GetOrdProp(&Control, "Align"), 4);
    EXPECT_EQ(GetEnumProp(&Control, "Visible"), "True");
    SetOrdProp(&Control, "Visible", 0);
    EXPECT_FALSE(Control.Visible());
    SetSetProp(&Control, "Options", "[goTabs]");
    EXPECT_EQ(Control.Options(), TGridOptions{goTabs});
    SetOrdProp(&Control, "Options", 0b1010);
    EXPECT_EQ(GetSetProp(&Control, "Options"), "[goEditing,goRowSelect]");
    SetFloatProp(&Control, "Zoom", 1.25);
    EXPECT_EQ(GetFloatProp(&Control, "Zoom"), 1.25);
    SetStrProp(&Control, "Caption", "Inbox");
    EXPECT_EQ(Control.Caption(), "Inbox");
    EXPECT_EQ(GetStrProp(&Control, "Caption"), "Inbox");
    SetOrdProp(&Control, "PasswordChar", '#');
    EXPECT_EQ(Control.PasswordChar(), '#');
    SetOrdProp(&Control, "MaxRecords", Int64{1} << 40);
    EXPECT_EQ(GetOrdProp(&Control, "MaxRecords"), Int64{1} << 40);

    TFont Font;
    SetObjectProp(&Control, "Font", &Font);
    EXPECT_EQ(Control.Font(), &Font);
    EXPECT_EQ(GetObjectProp(&Control, "Font"), &Font);
    SetObjectProp(&Control, "Font", nullptr);
    EXPECT_EQ(Control.Font(), nullptr);
    EXPECT_EQ(GetOrdProp(&Control, "LineCount"), 3);
}

TEST(Properties, EventsPassAsOpaqueMethods)
{
    TSampleControl Control(nullptr);
    EXPECT_FALSE(GetMethodProp(&Control, "OnClick").Assigned());
    TObject* Clicked = nullptr;
    SetMethodProp(&Control, "OnClick",
                  TMethod{TNotifyEvent([&](TObject* Sender) { Clicked = Sender; })});
    ASSERT_TRUE(Control.OnClick);
    TMethod Handler = GetMethodProp(&Control, "onclick");
    ASSERT_NE(Handler.As<TNotifyEvent>(), nullptr);
    (*Handler.As<TNotifyEvent>())(&Control);
    EXPECT_EQ(Clicked, &Control);
    // A handler of another event type is refused; an empty one clears the event.
    EXPECT_THROW(SetMethodProp(&Control, "OnKey", Handler), EPropertyConvertError);
    SetMethodProp(&Control, "OnClick", TMethod{});
    EXPECT_FALSE(Control.OnClick);
}

TEST(Properties, BadAccessRaisesAndChangesNothing)
{
    TSampleControl Control(nullptr);
    Control.SetLeft(7);
    Control.SetAlign(alTop);
    try {
        GetOrdProp(&Control, "Width");
        FAIL() << "no exception";
    } catch (const EPropertyError& E) {
        EXPECT_EQ(E.Message(), "Unknown property: 'Width'");
    }
    EXPECT_THROW(SetPropValue(&Control, "Width", "1"), EPropertyError);

    struct TCase {
        std::string Name;
        std::string Text;
    };
    const std::vector<TCase> NotConvertible = {
        {"Left", "abc"},   {"Left", ""},       {"Left", "12px"},
        {"Left", "$"},     {"Left", "--1"},    {"Align", "alNowhere"},
        {"Align", "2"},    {"Visible", "yes"}, {"Options", "[goEditing,goNone]"},
        {"Zoom", "1,5"},   {"Zoom", ""},       {"PasswordChar", "ab"},
        {"Font", "Arial"}, {"OnClick", "Foo"}, {"MaxRecords", "99999999999999999999"},
    };
    for (const auto& Case : NotConvertible) {
        std::string Before =
            Case.Name == "Font" || Case.Name == "OnClick" ? "" : GetPropValue(&Control, Case.Name);
        EXPECT_THROW(SetPropValue(&Control, Case.Name, Case.Text), EPropertyConvertError)
            << Case.Name << " = " << Case.Text;
        if (!Before.empty()) {
            EXPECT_EQ(GetPropValue(&Control, Case.Name), Before) << Case.Name;
        }
    }

    EXPECT_THROW(GetStrProp(&Control, "Left"), EPropertyConvertError);
    EXPECT_THROW(SetFloatProp(&Control, "Caption", 1), EPropertyConvertError);
    EXPECT_THROW(GetEnumProp(&Control, "Options"), EPropertyConvertError);
    TBrush Brush;
    EXPECT_THROW(SetObjectProp(&Control, "Font", &Brush), EPropertyConvertError);

    // Ordinals beyond the property's type or enumeration.
    EXPECT_THROW(SetOrdProp(&Control, "Align", 6), ERangeError);
    EXPECT_THROW(SetOrdProp(&Control, "Visible", 2), ERangeError);
    EXPECT_THROW(SetOrdProp(&Control, "Cursor", 70000), ERangeError);
    EXPECT_THROW(SetPropValue(&Control, "Left", "$1FFFFFFFF"), ERangeError);
    EXPECT_EQ(Control.Align(), alTop);
    EXPECT_EQ(Control.Left(), 7);

    try {
        SetOrdProp(&Control, "LineCount", 4);
        FAIL() << "no exception";
    } catch (const EPropertyError& E) {
        EXPECT_EQ(E.Message(), "Property LineCount is read-only");
    }
}

TEST(Properties, ComponentNameWrittenByNameIsValidated)
{
    TComponent Form(nullptr);
    auto First = new TSampleControl(&Form);
    auto Second = new TSampleControl(&Form);
    SetStrProp(First, "Name", "btnOK");
    EXPECT_EQ(Form.FindComponent("btnok"), First);
    EXPECT_THROW(SetStrProp(Second, "Name", "BtnOk"), EComponentError);
    EXPECT_THROW(SetPropValue(Second, "Name", "1st"), EComponentError);
}
