// The single-instance guard on a private X server: a second process started with the same title
// gives way, and the first one's form comes out from under the window that covered it, also
// when its application was minimised.
#include "tests/gui/xserver.h"

#include "desktop/cfirstin.h"

#include "platform/forms/form.h"
#include "tests/support/processrole.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using guitest::PumpUntil;

// The later copy, on the X server DISPLAY names: TARNWICK_GUARD_TITLE is its title. It loads its
// main form with the guard and runs as the program does; 3 when the guard let it go on.
TARNWICK_PROCESS_ROLE(LaterX11Instance)
{
    const char* Title = std::getenv("TARNWICK_GUARD_TITLE");
    const auto X11 = DisplayBackEnds().Find("x11");
    if (Title == nullptr || !X11)
        return 2;
    SetDisplayDriver(X11->Create());
    bool WentOn = false;
    {
        TApplication App(nullptr);
        Application = &App;
        App.SetTitle(Title);
        auto* Form = new TForm(&App);
        Form->SetCaption(Title);
        new TFirstInstance(Form);
        App.SetMainForm(Form);
        Form->BeginLoading();
        Form->EndLoading();
        // The guard's request to end is a posted quit, seen at the loop's first turn.
        App.ProcessMessages();
        WentOn = !App.Terminated();
        if (!WentOn)
            App.Run(); // ends at once, as the program's would
    }
    SetDisplayDriver(nullptr);
    if (WentOn)
        std::fprintf(stderr, "the later copy went on running\n");
    return WentOn ? 3 : 0;
}

// A plain window of a connection of the test's own, laid over the form.
class TCover {
public:
    TCover(const std::string& DisplayName, int X, int Y, int Width, int Height)
    {
        FDisplay = XOpenDisplay(DisplayName.c_str());
        if (FDisplay == nullptr)
            return;
        Id = XCreateSimpleWindow(FDisplay, DefaultRootWindow(FDisplay), X, Y,
                                 static_cast<unsigned>(Width), static_cast<unsigned>(Height), 0, 0,
                                 0x808080);
        XMapRaised(FDisplay, Id);
        XSync(FDisplay, False);
    }
    ~TCover()
    {
        if (FDisplay != nullptr)
            XCloseDisplay(FDisplay);
    }
    TCover(const TCover&) = delete;
    TCover& operator=(const TCover&) = delete;

    // Whether this window is stacked over Other among the root's children.
    bool Over(Window Other) const
    {
        Window Root = 0, Parent = 0;
        Window* Children = nullptr;
        unsigned Count = 0;
        if (FDisplay == nullptr ||
            !XQueryTree(FDisplay, DefaultRootWindow(FDisplay), &Root, &Parent, &Children, &Count))
            return false;
        int Own = -1, Theirs = -1; // bottom first
        for (unsigned I = 0; I < Count; ++I) {
            if (Children[I] == Id)
                Own = static_cast<int>(I);
            if (Children[I] == Other)
                Theirs = static_cast<int>(I);
        }
        if (Children != nullptr)
            XFree(Children);
        return Theirs >= 0 && Own > Theirs;
    }

    Window Id = 0;

private:
    Display* FDisplay = nullptr;
};

class FirstInstanceX11 : public guitest::XServerAppTest {
protected:
    void SetUp() override
    {
        guitest::XServerAppTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Title = "Tarnwick guard " + std::to_string(getpid());
        App->SetTitle(Title);
        Main = new TForm(App.get());
        Main->SetCaption(Title);
        Main->SetBounds(100, 100, 300, 200);
        App->SetMainForm(Main);
        Main->Show();
        ASSERT_TRUE(PumpUntil([&] { return Viewable(); }));
    }

    Window FormWindow() const
    {
        return static_cast<Window>(DisplayDriver().NativeId(Main->Handle()));
    }

    bool Viewable()
    {
        return guitest::RunTool(Display, {"xwininfo", "-id", std::to_string(FormWindow())})
                   .Output.find("IsViewable") != std::string::npos;
    }

    // Starts the later copy and turns this process's loop (which carries out its request) until
    // it ends; its exit status.
    int RunLaterCopy()
    {
        const pid_t Later =
            TestSupport::StartProcessRole("LaterX11Instance", {"TARNWICK_GUARD_TITLE=" + Title});
        return Later > 0 ? guitest::EndTool(Later) : -1;
    }

    std::string Title;
    TForm* Main = nullptr;
};

TEST_F(FirstInstanceX11, ASecondCopyGivesWayAndTheFirstFormComesForward)
{
    struct TCase {
        const char* Name;
        bool Minimized;
    };
    for (const TCase& Case : std::vector<TCase>{{"covered", false}, {"minimised", true}}) {
        SCOPED_TRACE(Case.Name);
        TCover Cover(Display, 80, 80, 400, 300);
        ASSERT_NE(Cover.Id, Window(0));
        ASSERT_TRUE(Cover.Over(FormWindow()));
        if (Case.Minimized) {
            App->Minimize();
            ASSERT_TRUE(IsIconic(App->Handle()));
        }
        EXPECT_EQ(RunLaterCopy(), 0);
        EXPECT_TRUE(PumpUntil([&] { return !Cover.Over(FormWindow()); }))
            << "the first copy's form stays under the other window";
        EXPECT_FALSE(IsIconic(App->Handle()));
        EXPECT_TRUE(Viewable());
        EXPECT_FALSE(App->Terminated());
    }
}

TEST_F(FirstInstanceX11, ACopyWithAnotherTitleRuns)
{
    Title += " 2";
    EXPECT_EQ(RunLaterCopy(), 3);
}

} // namespace
