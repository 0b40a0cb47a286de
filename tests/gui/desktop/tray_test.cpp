// The tray icon on a private X server: docked in trayer (drawn, animated, the pointer's enter
// and exit with the tip, clicks, the pop-up menu), the hiding and showing of the forms with the
// taskbar entry, and, without a tray, the hidden start showing the main form, a tray that comes
// later, and a tray manager of the test's own that leaves (no stray window) and comes back.
#include "tests/gui/xserver.h"

#include "desktop/pgappwnd.h"
#include "desktop/pgtray95.h"
#include "desktop/pgtray95tip.h"

#include "platform/forms/form.h"
#include "platform/forms/menus.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/icon.h"
#include "platform/gfx/pngformat.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using guitest::Pump;
using guitest::PumpUntil;
using guitest::RunTool;

constexpr TColor Red = 0x0000FF;  // TColor is 0x00BBGGRR
constexpr TColor Blue = 0xFF0000; // pure blue

// A 16 x 16 icon file of one colour (0xRRGGBB) whose corners are transparent.
std::string WriteIcon(const std::string& Path, std::uint32_t Rgb)
{
    TIconImage Image;
    Image.Width = Image.Height = 16;
    Image.HasAlpha = true;
    Image.Pixels.assign(256, 0xFF000000u | Rgb);
    Image.Mask.assign(256, 0);
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 4 - Y; ++X) {
            Image.Pixels[static_cast<std::size_t>(Y) * 16 + X] = 0;
            Image.Mask[static_cast<std::size_t>(Y) * 16 + X] = 1;
        }
    TIcon Icon;
    Icon.SetHandle(CreateIconFromImage(Image));
    Icon.SaveToFile(Path);
    return Path;
}

// A tray manager of the test's own on a connection of its own: owns the selection, announces
// itself, takes icons into its panel (keeping them in its save-set, so that its leaving hands
// them back to the root window), and leaves by closing its connection.
class TMiniTray {
public:
    explicit TMiniTray(const std::string& DisplayName)
    {
        FDisplay = XOpenDisplay(DisplayName.c_str());
        if (FDisplay == nullptr)
            return;
        const Window Root = DefaultRootWindow(FDisplay);
        Panel = XCreateSimpleWindow(FDisplay, Root, 700, 0, 120, 32, 0, 0, 0x336699);
        XSelectInput(FDisplay, Panel, SubstructureNotifyMask);
        XMapWindow(FDisplay, Panel);
        const Atom Selection = XInternAtom(FDisplay, "_NET_SYSTEM_TRAY_S0", False);
        FOpcode = XInternAtom(FDisplay, "_NET_SYSTEM_TRAY_OPCODE", False);
        XSetSelectionOwner(FDisplay, Selection, Panel, CurrentTime);
        XEvent Manager{};
        Manager.xclient.type = ClientMessage;
        Manager.xclient.window = Root;
        Manager.xclient.message_type = XInternAtom(FDisplay, "MANAGER", False);
        Manager.xclient.format = 32;
        Manager.xclient.data.l[0] = CurrentTime;
        Manager.xclient.data.l[1] = static_cast<long>(Selection);
        Manager.xclient.data.l[2] = static_cast<long>(Panel);
        XSendEvent(FDisplay, Root, False, StructureNotifyMask, &Manager);
        XFlush(FDisplay);
    }
    ~TMiniTray() { Leave(); }
    TMiniTray(const TMiniTray&) = delete;
    TMiniTray& operator=(const TMiniTray&) = delete;

    // Takes the dock requests that came.
    void Turn()
    {
        while (FDisplay != nullptr && XPending(FDisplay) > 0) {
            XEvent Event;
            XNextEvent(FDisplay, &Event);
            if (Event.type != ClientMessage || Event.xclient.message_type != FOpcode ||
                Event.xclient.data.l[1] != 0)
                continue;
            const auto Icon = static_cast<Window>(Event.xclient.data.l[2]);
            XAddToSaveSet(FDisplay, Icon);
            XReparentWindow(FDisplay, Icon, Panel, 4 + 28 * static_cast<int>(Docked.size()), 4);
            XResizeWindow(FDisplay, Icon, 24, 24);
            XMapWindow(FDisplay, Icon);
            XFlush(FDisplay);
            Docked.push_back(Icon);
        }
    }

    void Leave()
    {
        if (FDisplay != nullptr)
            XCloseDisplay(FDisplay);
        FDisplay = nullptr;
    }

    Window Panel = 0;
    std::vector<Window> Docked;

private:
    Display* FDisplay = nullptr;
    Atom FOpcode = None;
};

class TrayX11 : public guitest::XServerAppTest {
protected:
    void SetUp() override
    {
        guitest::XServerAppTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Main = new TForm(App.get());
        Main->SetCaption("Tray main");
        Main->SetBounds(200, 300, 320, 200);
        App->SetMainForm(Main);
        Tray = new TPGTrayIcon95(Main);
        const std::string Base = testing::TempDir() + "tray_" + std::to_string(getpid());
        Frames = {WriteIcon(Base + "_red.ico", 0xFF0000), WriteIcon(Base + "_blue.ico", 0x0000FF)};
        TIcon First;
        First.LoadFromFile(Frames[0]);
        Tray->SetIcon(&First);
        Tray->SetHint("Spam filter");
    }

    void TearDown() override
    {
        StopTrayer();
        for (const std::string& F : Frames)
            std::remove(F.c_str());
        App.reset();
        PGAppWndFinalize();
        guitest::XServerAppTest::TearDown();
    }

    void StartTrayer()
    {
        FTrayer = guitest::StartTool(Display,
                                     {"trayer", "--edge", "top", "--align", "left", "--widthtype",
                                      "pixel", "--width", "120", "--heighttype", "pixel",
                                      "--height", "32", "--transparent", "false", "--expand",
                                      "false", "--SetDockType", "false"},
                                     "");
        ASSERT_NE(FTrayer, 0) << "trayer is not installed (scripts/setup --test)";
        ASSERT_TRUE(PumpUntil([&] { return TrayOwned(); })) << "trayer did not start";
    }

    void StopTrayer()
    {
        if (FTrayer == 0)
            return;
        kill(FTrayer, SIGTERM);
        guitest::EndTool(FTrayer);
        FTrayer = 0;
    }

    bool TrayOwned()
    {
        ::Display* Dpy = XOpenDisplay(Display.c_str());
        if (Dpy == nullptr)
            return false;
        const bool Owned =
            XGetSelectionOwner(Dpy, XInternAtom(Dpy, "_NET_SYSTEM_TRAY_S0", False)) != None;
        XCloseDisplay(Dpy);
        return Owned;
    }

    // The icon's X windows in the server's tree with their depth under the root (1: a top-level
    // window), from xwininfo -tree.
    std::vector<std::pair<std::string, int>> IconWindows()
    {
        const std::string Tree = RunTool(Display, {"xwininfo", "-root", "-tree"}).Output;
        std::vector<std::pair<std::string, int>> Found;
        std::istringstream Lines(Tree);
        std::string Line;
        // A line is the indent, the id ("0x..."), then the name and class in quotes.
        while (std::getline(Lines, Line)) {
            const std::size_t Indent = Line.find_first_not_of(' ');
            if (Indent == std::string::npos || Line.compare(Indent, 2, "0x") != 0 ||
                Line.find("\"tarnwick-tray\"") == std::string::npos)
                continue;
            const std::size_t End = Line.find(' ', Indent);
            if (End == std::string::npos)
                continue;
            Found.emplace_back(Line.substr(Indent, End - Indent),
                               (static_cast<int>(Indent) - 2) / 3);
        }
        return Found;
    }

    struct TPlace {
        bool Viewable = false;
        int X = 0, Y = 0, Width = 0, Height = 0;
    };
    TPlace PlaceOf(const std::string& Id)
    {
        const std::string Info = RunTool(Display, {"xwininfo", "-id", Id}).Output;
        const auto Number = [&](const std::string& Label) {
            const auto At = Info.find(Label);
            return At == std::string::npos ? -1 : std::stoi(Info.substr(At + Label.size()));
        };
        return {Info.find("IsViewable") != std::string::npos, Number("Absolute upper-left X:"),
                Number("Absolute upper-left Y:"), Number("Width:"), Number("Height:")};
    }

    // The docked icon window: mapped, and inside another window.
    std::string WaitForDockedIcon()
    {
        std::string Id;
        PumpUntil([&] {
            const auto Windows = IconWindows();
            if (Windows.size() != 1 || Windows[0].second < 2)
                return false;
            Id = Windows[0].first;
            return PlaceOf(Id).Viewable;
        });
        return Id;
    }

    TDibImage Picture(const std::string& Id)
    {
        const std::string Png = RunTool(Display, {"import", "-window", Id, "png:-"}).Output;
        return ReadPng(reinterpret_cast<const std::uint8_t*>(Png.data()), Png.size());
    }

    TColor Centre(const std::string& Id)
    {
        const TDibImage P = Picture(Id);
        return P.Width > 0 ? P.Pixel(P.Width / 2, P.Height / 2) : TColor(-1);
    }

    bool Mapped(TCustomForm* Form)
    {
        const std::string Id = std::to_string(DisplayDriver().NativeId(Form->Handle()));
        return RunTool(Display, {"xwininfo", "-id", Id}).Output.find("IsViewable") !=
               std::string::npos;
    }

    bool SkipsTaskbar(TCustomForm* Form)
    {
        const std::string Id = std::to_string(DisplayDriver().NativeId(Form->Handle()));
        return RunTool(Display, {"xprop", "-id", Id, "_NET_WM_STATE"})
                   .Output.find("_NET_WM_STATE_SKIP_TASKBAR") != std::string::npos;
    }

    TForm* Main = nullptr;
    TPGTrayIcon95* Tray = nullptr;
    std::vector<std::string> Frames;
    std::vector<std::string> Events;

private:
    pid_t FTrayer = 0;
};

TEST_F(TrayX11, TheIconDocksInTrayerAndItsFramesAlternate)
{
    StartTrayer();
    Tray->SetActive(true);
    const std::string Id = WaitForDockedIcon();
    ASSERT_FALSE(Id.empty()) << RunTool(Display, {"xwininfo", "-root", "-tree"}).Output;
    EXPECT_TRUE(Tray->Docked());
    const TPlace Place = PlaceOf(Id);
    EXPECT_GT(Place.Width, 0);

    ASSERT_TRUE(PumpUntil([&] { return Centre(Id) == Red; })) << "the icon is drawn";
    const TDibImage Shown = Picture(Id);
    // The transparent corner shows the tray, not the icon.
    EXPECT_NE(Shown.Pixel(0, 0), Red);

    auto Names = std::make_unique<TStringList>();
    Names->Add(Frames[0]);
    Names->Add(Frames[1]);
    Tray->Animation()->SetIcons(Names.get());
    Tray->Animation()->SetInterval(300);
    int Animations = 0;
    Tray->OnAnimation = [&](TObject*) { ++Animations; };
    Tray->SetState(tsAnimated);
    std::vector<TColor> Seen;
    PumpUntil([&] {
        const TColor Now = Centre(Id);
        if (Seen.empty() || Seen.back() != Now)
            Seen.push_back(Now);
        return Seen.size() >= 4;
    });
    ASSERT_GE(Seen.size(), 4u);
    for (std::size_t I = 1; I < Seen.size(); ++I) {
        EXPECT_TRUE(Seen[I] == Red || Seen[I] == Blue) << std::hex << Seen[I];
        EXPECT_NE(Seen[I], Seen[I - 1]);
    }
    EXPECT_GE(Animations, 3);
}

TEST_F(TrayX11, ThePointerOverTheIconEntersShowsTheTipClicksAndOpensTheMenu)
{
    StartTrayer();
    auto* Menu = new TPopupMenu(Main);
    auto* Item = new TMenuItem(Menu);
    Item->SetCaption("Main screen");
    Item->OnClick = [&](TObject*) { Events.push_back("item"); };
    Menu->Items()->Add(Item);
    Tray->SetPopupMenu(Menu);
    Tray->SetAutoPopup(true);
    Tray->OnMouseEnter = [&](TObject*, TShiftState, int, int) { Events.push_back("enter"); };
    Tray->OnMouseExit = [&](TObject*, TShiftState, int, int) { Events.push_back("exit"); };
    Tray->OnClick = [&](TObject*) { Events.push_back("click"); };
    Tray->SetActive(true);
    const std::string Id = WaitForDockedIcon();
    ASSERT_FALSE(Id.empty());
    const TPlace Place = PlaceOf(Id);
    const int X = Place.X + Place.Width / 2, Y = Place.Y + Place.Height / 2;
    const auto Has = [&](const char* What) {
        return std::find(Events.begin(), Events.end(), What) != Events.end();
    };

    RunTool(Display, {"xdotool", "mousemove", std::to_string(X), std::to_string(Y)});
    ASSERT_TRUE(PumpUntil([&] { return Has("enter"); }));
    ASSERT_TRUE(PumpUntil([&] { return Tray->Tip()->Showing(); })) << "the tip comes";
    EXPECT_EQ(Tray->Tip()->Text(), "Spam filter");

    RunTool(Display, {"xdotool", "mousemove", "600", "600"});
    ASSERT_TRUE(PumpUntil([&] { return Has("exit"); }));
    EXPECT_FALSE(Tray->Tip()->Showing());

    RunTool(Display, {"xdotool", "mousemove", std::to_string(X), std::to_string(Y)});
    RunTool(Display, {"xdotool", "click", "1"});
    EXPECT_TRUE(PumpUntil([&] { return Has("click"); }));

    // The menu's loop runs inside the press: the tool picks the item while it is up.
    const pid_t Picker = guitest::StartTool(Display,
                                            {"xdotool", "click", "3", "sleep", "1",
                                             "mousemove_relative", "--", "20", "10", "click", "1"},
                                            "");
    ASSERT_TRUE(PumpUntil([&] { return Has("item"); }));
    guitest::EndTool(Picker);
    EXPECT_EQ(Menu->PopupPoint(), (TPoint{X, Y})) << "at the pointer";
}

TEST_F(TrayX11, HidingUnmapsEveryFormAndShowingMapsTheMainOneWithItsTaskbarEntry)
{
    StartTrayer();
    Tray->SetActive(true);
    ASSERT_FALSE(WaitForDockedIcon().empty());
    auto* Other = new TForm(App.get());
    Other->SetCaption("Other");
    Other->SetBounds(500, 300, 200, 150);
    Main->Show();
    Other->Show();
    ASSERT_TRUE(PumpUntil([&] { return Mapped(Main) && Mapped(Other); }));

    Tray->HideApplication();
    Pump(200);
    EXPECT_FALSE(Mapped(Main));
    EXPECT_FALSE(Mapped(Other));

    Tray->ShowApplication();
    ASSERT_TRUE(PumpUntil([&] { return Mapped(Main); }));
    EXPECT_FALSE(SkipsTaskbar(Main)) << "the application window carries the entry";

    Tray->HideApplication();
    Pump(200);
    EXPECT_FALSE(Mapped(Main));
    Tray->SetOptions(Tray->Options() + TPGTrayIconOptions{toHideTaskBarIconOnShowApp});
    Tray->ShowApplication();
    ASSERT_TRUE(PumpUntil([&] { return Mapped(Main); }));
    EXPECT_TRUE(SkipsTaskbar(Main));
}

TEST_F(TrayX11, WithoutATrayTheMainFormShowsAndTraysThatComeAndGoAreFollowed)
{
    Tray->SetActive(true);
    EXPECT_TRUE(Tray->Active());
    EXPECT_FALSE(Tray->Docked());
    PostQuitMessage(0);
    RunApplicationHidden();
    ASSERT_TRUE(PumpUntil([&] { return Mapped(Main); })) << "the hidden start shows the form";
    EXPECT_TRUE(IconWindows().empty());

    // trayer started later docks the icon.
    StartTrayer();
    ASSERT_FALSE(WaitForDockedIcon().empty());
    StopTrayer();
    Pump(300);

    // The test's own tray: the icon docks into its panel; its leaving hands the icon back to the
    // root window, where it must not stay.
    const auto Docked = [&](TMiniTray& Mini) {
        return PumpUntil([&] {
            Mini.Turn();
            const auto Windows = IconWindows();
            return Mini.Docked.size() == 1 && Windows.size() == 1 && Windows[0].second >= 2;
        });
    };
    {
        TMiniTray Mini(Display);
        ASSERT_NE(Mini.Panel, 0u);
        ASSERT_TRUE(Docked(Mini));
        Mini.Leave();
    }
    EXPECT_TRUE(PumpUntil([&] { return IconWindows().empty(); }))
        << RunTool(Display, {"xwininfo", "-root", "-tree"}).Output;
    EXPECT_FALSE(Tray->Docked());
    Pump(300);
    EXPECT_TRUE(IconWindows().empty()) << "no stray window";

    TMiniTray Back(Display);
    EXPECT_TRUE(Docked(Back)) << "a returning tray gets the icon again";
    EXPECT_TRUE(Tray->Docked());
}

} // namespace
