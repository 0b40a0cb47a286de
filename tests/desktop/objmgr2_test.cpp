#include "desktop/objmgr2.h"

#include "platform/forms/form.h"
#include "platform/gfx/color.h"
#include "platform/rtl/properties.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/application.h"
#include "platform/ui/cursors.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

const std::string ProductKey = "Software\\Ombrel Corporation\\Tarnwick\\10";

// A component with a property of each kind the store knows.
class TStateProbe : public TComponent {
public:
    using TComponent::TComponent;
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value) { FCursor = Value; }
    int Count() const { return FCount; }
    void SetCount(int Value) { FCount = Value; }
    char Letter() const { return FLetter; }
    void SetLetter(char Value) { FLetter = Value; }
    std::string Text() const { return FText; }
    void SetText(const std::string& Value) { FText = Value; }
    bool Flag() const { return FFlag; }
    void SetFlag(bool Value) { FFlag = Value; }

private:
    TColor FColor = clBtnFace;
    TCursor FCursor = crDefault;
    int FCount = 0;
    char FLetter = 'a';
    std::string FText;
    bool FFlag = false;
};

const bool ProbePublished = [] {
    TPublished<TStateProbe>()
        .Property("Color", &TStateProbe::Color, &TStateProbe::SetColor, "TColor")
        .Property("Cursor", &TStateProbe::Cursor, &TStateProbe::SetCursor, "TCursor")
        .Property("Count", &TStateProbe::Count, &TStateProbe::SetCount)
        .Property("Letter", &TStateProbe::Letter, &TStateProbe::SetLetter)
        .Property("Text", &TStateProbe::Text, &TStateProbe::SetText)
        .Property("Flag", &TStateProbe::Flag, &TStateProbe::SetFlag);
    return true;
}();

class TStoreApplication : public TApplication {
public:
    TStoreApplication() : TApplication(nullptr) { Application = this; }
};

class ObjMgrTest : public TestSupport::TempFolderTest {
protected:
    void SetUp() override
    {
        (void)ProbePublished;
        ::setenv("TARNWICK_REGISTRY", Folder.c_str(), 1);
        Form = new TForm(nullptr);
        Form->SetName("frmMain");
        Probe = new TStateProbe(Form);
        Probe->SetName("Probe");
        Store = new TObjMgr(Form);
    }
    void TearDown() override
    {
        delete Form;
        ::unsetenv("TARNWICK_REGISTRY");
    }
    void Lines(const std::vector<std::string>& Items)
    {
        Store->Items()->Clear();
        for (const std::string& Item : Items)
            Store->Items()->Add(Item);
    }
    std::string Stored(const std::string& Key, const std::string& Name)
    {
        TRegistry Registry;
        if (!Registry.OpenKeyReadOnly(Key) || !Registry.ValueExists(Name))
            return "<missing>";
        return Registry.ReadString(Name);
    }
    void Put(const std::string& Key, const std::string& Name, const std::string& Value)
    {
        TRegistry Registry;
        ASSERT_TRUE(Registry.OpenKey(Key, true));
        Registry.WriteString(Name, Value);
    }

    TStoreApplication App;
    TForm* Form = nullptr;
    TStateProbe* Probe = nullptr;
    TObjMgr* Store = nullptr;
};

const std::vector<std::string> MainWindowLines = {
    "frmMain;Top;" + ProductKey + ";FormTop;10;1",
    "frmMain;Left;" + ProductKey + ";FormLeft;10;1",
    "frmMain;Width;" + ProductKey + ";FormWidth;640;1",
    "frmMain;Height;" + ProductKey + ";FormHeight;440;1",
};

TEST_F(ObjMgrTest, AFirstStartGivesTheDefaultsWithoutMakingAKey)
{
    Form->SetBounds(100, 200, 300, 250);
    Lines(MainWindowLines);
    Store->LoadFromRegistry();
    EXPECT_EQ(Form->Top(), 10);
    EXPECT_EQ(Form->Left(), 10);
    EXPECT_EQ(Form->Width(), 640);
    EXPECT_EQ(Form->Height(), 440);
    TRegistry Registry;
    EXPECT_FALSE(Registry.KeyExists(ProductKey));
    EXPECT_FALSE(Registry.KeyExists("Software"));
}

TEST_F(ObjMgrTest, SavingWritesDecimalTextsThatLoadBack)
{
    Lines(MainWindowLines);
    Form->SetBounds(-8, 33, 700, 500);
    Store->SaveToRegistry();
    EXPECT_EQ(Stored(ProductKey, "FormLeft"), "-8");
    EXPECT_EQ(Stored(ProductKey, "FormTop"), "33");
    EXPECT_EQ(Stored(ProductKey, "FormWidth"), "700");
    EXPECT_EQ(Stored(ProductKey, "FormHeight"), "500");
    Form->SetBounds(0, 0, 10, 10);
    Store->LoadFromRegistry();
    EXPECT_EQ(Form->Left(), -8);
    EXPECT_EQ(Form->Top(), 33);
    EXPECT_EQ(Form->Width(), 700);
    EXPECT_EQ(Form->Height(), 500);
}

TEST_F(ObjMgrTest, ABadStoredValueLeavesThePropertyAndTheOtherLinesGoOn)
{
    Lines(MainWindowLines);
    Put(ProductKey, "FormWidth", "wide");
    Put(ProductKey, "FormLeft", "-8");
    {
        TRegistry Registry;
        ASSERT_TRUE(Registry.OpenKey(ProductKey, false));
        Registry.WriteInteger("FormHeight", 999); // not a string: the read fails, no default
    }
    Form->SetBounds(5, 6, 321, 123);
    Store->LoadFromRegistry();
    EXPECT_EQ(Form->Width(), 321);
    EXPECT_EQ(Form->Height(), 123);
    EXPECT_EQ(Form->Left(), -8);
    EXPECT_EQ(Form->Top(), 10);
}

TEST_F(ObjMgrTest, EachKindHasItsTextForm)
{
    struct TCase {
        std::string Property;
        std::function<void()> Set;
        std::string Saved;
    };
    const std::vector<TCase> Cases = {
        {"Color", [this] { Probe->SetColor(clRed); }, "clRed"},
        {"Color", [this] { Probe->SetColor(0x123456); }, "1193046"},
        {"Cursor", [this] { Probe->SetCursor(crHourGlass); }, "crHourGlass"},
        {"Count", [this] { Probe->SetCount(-42); }, "-42"},
        {"Letter", [this] { Probe->SetLetter('Q'); }, "Q"},
        {"Text", [this] { Probe->SetText("caf\xC3\xA9; x"); }, "caf\xC3\xA9; x"},
        {"Flag", [this] { Probe->SetFlag(true); }, ""},
    };
    for (const TCase& Case : Cases) {
        Lines({"Probe;" + Case.Property + ";Software\\Probe;Value"});
        Case.Set();
        Store->SaveToRegistry();
        EXPECT_EQ(Stored("Software\\Probe", "Value"), Case.Saved) << Case.Property;
    }
}

TEST_F(ObjMgrTest, ColoursAndCursorsLoadFromIdentifiersOrNumbers)
{
    struct TCase {
        std::string Property;
        std::string Text;
        int Expected;
    };
    const std::vector<TCase> Cases = {
        {"Color", "clRed", clRed},
        {"Color", "255", clRed},
        {"Color", "$0000FF", clRed},
        {"Cursor", "crHourGlass", crHourGlass},
        {"Cursor", "-11", crHourGlass},
        {"Count", "$10", 16},
        {"Count", "17", 17},
    };
    for (const TCase& Case : Cases) {
        Probe->SetColor(clBtnFace);
        Probe->SetCursor(crDefault);
        Probe->SetCount(0);
        Put("Software\\Probe", "Value", Case.Text);
        Lines({" probe ; " + Case.Property + " ;Software\\Probe;Value;;extra;fields"});
        Store->LoadFromRegistry();
        const int Got = Case.Property == "Color"    ? Probe->Color()
                        : Case.Property == "Cursor" ? Probe->Cursor()
                                                    : Probe->Count();
        EXPECT_EQ(Got, Case.Expected) << Case.Property << " " << Case.Text;
    }
}

TEST_F(ObjMgrTest, OtherKindsLoadNothingAndEmptyTextsLeaveIntegers)
{
    Put("Software\\Probe", "Flag", "True");
    Put("Software\\Probe", "Count", "");
    Put("Software\\Probe", "Letter", "");
    Probe->SetCount(5);
    Lines({"Probe;Flag;Software\\Probe;Flag", "Probe;Count;Software\\Probe;Count",
           "Probe;Letter;Software\\Probe;Letter"});
    Store->LoadFromRegistry();
    EXPECT_FALSE(Probe->Flag());
    EXPECT_EQ(Probe->Count(), 5);
    EXPECT_EQ(Probe->Letter(), 'a');
}

TEST_F(ObjMgrTest, EmptyKeyAndValueNameUseTheRootsDefaultValue)
{
    Probe->SetText("at the root");
    Lines({"Probe;Text;;"});
    Store->SaveToRegistry();
    EXPECT_EQ(Stored("", ""), "at the root");
    Probe->SetText("");
    Store->LoadFromRegistry();
    EXPECT_EQ(Probe->Text(), "at the root");
}

TEST_F(ObjMgrTest, LinesThatDoNotTakePartOrNameNothingAreSkipped)
{
    Lines({"", ";;;", ";;;;9", "Nobody;Top;Software\\Probe;X;1",
           "frmMain;NoSuch;Software\\Probe;X;1", "FRMMAIN;Top;Software\\Probe;Y;77"});
    Form->SetTop(3);
    Store->SaveToRegistry();
    TRegistry Registry;
    EXPECT_FALSE(Registry.KeyExists("Software\\Probe"));
    Store->LoadFromRegistry();
    EXPECT_EQ(Form->Top(), 3); // the form's own name is matched exactly
}

TEST_F(ObjMgrTest, AnOwnerThatIsNoFormFailsOnceALineTakesPart)
{
    TComponent Owner(nullptr);
    auto* Lonely = new TObjMgr(&Owner);
    Lonely->LoadFromRegistry(); // no lines: nothing to fail
    Lonely->Items()->Add("x;Top;Software\\Probe;Top");
    EXPECT_THROW(Lonely->LoadFromRegistry(), EInvalidCast);
    EXPECT_THROW(Lonely->SaveToRegistry(), EInvalidCast);
}

TEST_F(ObjMgrTest, AssigningItemsCopiesTheLines)
{
    TStringList Source;
    Source.Add("frmMain;Top;Software\\Probe;Top;4");
    Store->SetItems(&Source);
    Source.Clear();
    ASSERT_EQ(Store->Items()->Count(), 1);
    Store->LoadFromRegistry();
    EXPECT_EQ(Form->Top(), 4);
}

} // namespace
