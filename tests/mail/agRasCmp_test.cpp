#include "mail/agRasCmp.h"

#include "mail/aghttp.h"
#include "mail/mailerrors.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/ttimer.h"
#include "tests/mail/timing.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>

using TestSupport::ReadAll;
using TestSupport::SecondsSince;
using TestSupport::ThreadCpuSeconds;
using TestSupport::WriteAll;

namespace {

// A ppp set-up in a temporary folder: peer files, the interfaces' states, pppd's pid files,
// and pon and poff scripts that log their arguments and raise or drop the link of ppp0.
// Peers named "fails", "odd", "silent" and "slow" make pon fail, fail without a known
// status, never bring the link up, or hang.
class TFakePpp {
public:
    TFakePpp()
    {
        for (const char* Sub : {"peers", "net", "run"})
            std::filesystem::create_directories(Path(Sub));
        for (const char* Peer : {"isp", "work", "fails", "odd", "silent", "slow"})
            WriteAll(Path("peers/") + Peer, "# peer\n");
        Script("pon", "case \"$1\" in\n"
                      "fails) echo 'Connect script failed' >&2; exit 8;;\n"
                      "odd) echo 'pppd: strange trouble' >&2; exit 42;;\n"
                      "silent) exit 0;;\n"
                      "slow) echo $$ > '" +
                          Path("slow.pid") +
                          "'; exec sleep 30;;\n"
                          "esac\n"
                          "mkdir -p '" +
                          Path("net/ppp0") +
                          "'\n"
                          "echo unknown > '" +
                          Path("net/ppp0/operstate") +
                          "'\n"
                          "printf '4242\\nppp0\\n' > '" +
                          Path("run/") + "'\"ppp-$1.pid\"\n");
        Script("poff", "rm -rf '" + Path("net/ppp0") + "' '" + Path("run/") + "'\"ppp-$1.pid\"\n");
    }

    std::string Path(const std::string& Name) const { return FFolder.Path() + Name; }
    // The calls of pon and poff so far, one line each.
    std::string Calls() const { return ReadAll(Path("calls")); }

    // A link of Entry on Interface in State, as pppd leaves it.
    void Link(const std::string& Entry, const std::string& Interface, const std::string& State)
    {
        std::filesystem::create_directories(Path("net/" + Interface));
        WriteAll(Path("net/" + Interface + "/operstate"), State + "\n");
        WriteAll(Path("run/ppp-" + Entry + ".pid"), "4242\n" + Interface + "\n");
    }

    // A component that looks here.
    void Configure(TagRas& Ras) const
    {
        Ras.PeersFolder = Path("peers");
        Ras.NetFolder = Path("net");
        Ras.RunFolder = Path("run");
        Ras.PonCommand = Path("pon");
        Ras.PoffCommand = Path("poff");
        Ras.SetTimeOut(5);
        Ras.GetEntries();
    }

private:
    void Script(const std::string& Name, const std::string& Body)
    {
        WriteAll(Path(Name),
                 "#!/bin/sh\necho \"" + Name + " $*\" >> '" + Path("calls") + "'\n" + Body);
        ::chmod(Path(Name).c_str(), 0755);
    }

    TestSupport::TTempFolder FFolder;
};

struct TDialed {
    std::string Error;
    int Code = 0;
};

TDialed DialOf(TagRas& Ras)
{
    TDialed Result;
    try {
        Ras.Dial();
    } catch (const ERASError& E) {
        Result.Error = E.Message();
        Result.Code = E.ErrorCode;
    } catch (const Exception& E) {
        Result.Error = E.Message();
    }
    return Result;
}

} // namespace

TEST(TagRas, TheEntriesAreThePeerFilesThatPonCanBeGiven)
{
    TFakePpp Ppp;
    std::filesystem::create_directories(Ppp.Path("peers/folder"));
    for (const char* Name : {".hidden", "isp~", "-option", "two words"})
        WriteAll(Ppp.Path("peers/") + Name, "");
    TagRas Ras(nullptr);
    Ppp.Configure(Ras);
    EXPECT_EQ(Ras.GetEntries()->CommaText(), "fails,isp,odd,silent,slow,work");
}

TEST(TagRas, WithoutPppNothingIsListedAndNothingIsDialled)
{
    TFakePpp Ppp;
    TagRas Ras(nullptr);
    Ppp.Configure(Ras);
    Ras.SetService("isp");
    Ras.PonCommand = Ppp.Path("no-such-pon");
    Ras.PoffCommand = "no-such-poff-on-path";
    EXPECT_EQ(DialOf(Ras).Error, "");
    EXPECT_FALSE(Ras.IsConnected());
    Ras.EndDial();
    EXPECT_EQ(Ppp.Calls(), "");

    TagRas Bare(nullptr);
    Bare.PeersFolder = Ppp.Path("no-such-folder");
    EXPECT_EQ(Bare.GetEntries()->Count(), 0);
    TScriptedDialogs Dialogs;
    Dialogs.Answer(IDOK);
    Bare.SetService("isp");
    EXPECT_EQ(Bare.Service(), "");
    ASSERT_EQ(Dialogs.Calls().size(), 1u);
    EXPECT_EQ(Dialogs.Calls()[0].Text,
              "TagRas component was unable to detect\rRAS on your system.");
}

TEST(TagRas, TheServiceIsAnEntryAndChangesOnlyWhileNotConnected)
{
    TFakePpp Ppp;
    TagRas Ras(nullptr);
    Ppp.Configure(Ras);
    Ras.SetService("isp");
    EXPECT_EQ(Ras.Service(), "isp");
    Ras.SetService("unknown");
    EXPECT_EQ(Ras.Service(), "");

    Ras.SetService("isp");
    Ras.Dial();
    TScriptedDialogs Dialogs;
    Dialogs.Answer(IDOK);
    Ras.SetService("work");
    EXPECT_EQ(Ras.Service(), "isp");
    ASSERT_EQ(Dialogs.Calls().size(), 1u);
    EXPECT_EQ(Dialogs.Calls()[0].Text,
              "This property can be set only before\restablishing the connection");
    Ras.EndDial();
}

TEST(TagRas, DialRunsPonWaitsForTheLinkAndEndDialRunsPoff)
{
    TFakePpp Ppp;
    TagRas Ras(nullptr);
    Ppp.Configure(Ras);
    Ras.SetService("isp");
    std::vector<std::string> Events;
    Ras.OnStatusChange = [&](TObject*, const std::string& Text) { Events.push_back(Text); };
    Ras.OnDisconnected = [&](TObject*) { Events.push_back("Disconnected"); };

    Ras.Dial();
    EXPECT_TRUE(Ras.DialledHere());
    EXPECT_TRUE(Ras.IsConnected());
    // A second dial while our call is up keeps it ours.
    Ras.Dial();
    EXPECT_TRUE(Ras.DialledHere());
    Ras.EndDial();
    EXPECT_FALSE(Ras.IsConnected());
    // Nothing of ours is left to hang up.
    Ras.EndDial();
    EXPECT_EQ(Ppp.Calls(), "pon isp\npoff isp\n");
    EXPECT_EQ(Events, (std::vector<std::string>{"Initializing...", "Dialing...",
                                                "Successfully connected", "Disconnected"}));
}

TEST(TagRas, ALinkAlreadyUpIsUsedAndNeverHungUp)
{
    struct TCase {
        std::string Name;
        std::string LinkEntry;
        std::string State;
        bool ForceService;
        bool Dials;
    };
    const std::vector<TCase> Cases = {
        {"the entry's link", "isp", "unknown", true, false},
        {"the entry's link, down", "isp", "down", true, true},
        {"another entry's link", "work", "up", true, true},
        {"another entry's link, any counts", "work", "up", false, false},
        {"nothing, empty service", "", "", true, false},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TFakePpp Ppp;
        TagRas Ras(nullptr);
        Ppp.Configure(Ras);
        Ras.ForceService = Case.ForceService;
        if (!Case.LinkEntry.empty()) {
            Ppp.Link(Case.LinkEntry, "ppp3", Case.State);
            Ras.SetService("isp");
        }
        Ras.Dial();
        EXPECT_EQ(Ras.DialledHere(), Case.Dials);
        Ras.EndDial();
        EXPECT_EQ(Ppp.Calls(), Case.Dials ? "pon isp\npoff isp\n" : "");
    }
}

TEST(TagRas, DialFailuresHangUpAndCarryTheirCode)
{
    struct TCase {
        std::string Service;
        int Code;
        std::string Error;
        std::string Calls;
    };
    const std::vector<TCase> Cases = {
        {"fails", 8, "The connect script failed", "pon fails\npoff fails\n"},
        {"odd", 42, "pppd: strange trouble", "pon odd\npoff odd\n"},
        {"gone", ERROR_CANNOT_FIND_PHONEBOOK_ENTRY,
         "The phone book entry for this connection does not exist", ""},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Service);
        TFakePpp Ppp;
        WriteAll(Ppp.Path("peers/gone"), "");
        TagRas Ras(nullptr);
        Ppp.Configure(Ras);
        Ras.SetService(Case.Service);
        std::filesystem::remove(Ppp.Path("peers/gone"));
        const TDialed Dialed = DialOf(Ras);
        EXPECT_EQ(Dialed.Code, Case.Code);
        EXPECT_EQ(Dialed.Error, Case.Error);
        EXPECT_EQ(Ppp.Calls(), Case.Calls);
        EXPECT_FALSE(Ras.IsConnected());
        EXPECT_EQ(Ras.LastResult(), Case.Code);
    }
}

TEST(TagRas, ADialThatDoesNotCompleteTimesOutWithoutSpinningAndIsAbandoned)
{
    for (const std::string Service : {"silent", "slow"}) {
        SCOPED_TRACE(Service);
        TFakePpp Ppp;
        TagRas Ras(nullptr);
        Ppp.Configure(Ras);
        Ras.SetService(Service);
        Ras.SetTimeOut(1);
        const auto Start = std::chrono::steady_clock::now();
        const double Cpu = ThreadCpuSeconds();
        EXPECT_EQ(DialOf(Ras).Error, "Operation timed out");
        EXPECT_LT(SecondsSince(Start), 4.0);
        EXPECT_LT(ThreadCpuSeconds() - Cpu, 0.5);
        EXPECT_EQ(Ppp.Calls(), "pon " + Service + "\npoff " + Service + "\n");
        if (Service == "slow") {
            // The hanging dialler was ended and reaped.
            const int Pid = std::stoi(ReadAll(Ppp.Path("slow.pid")));
            EXPECT_EQ(::kill(Pid, 0), -1);
            EXPECT_EQ(errno, ESRCH);
        }
    }
}

TEST(TagRas, EndDialFromAHandlerCancelsAWaitingDial)
{
    TFakePpp Ppp;
    TagRas Ras(nullptr);
    Ppp.Configure(Ras);
    Ras.SetService("silent");
    TTimer Later(nullptr);
    Later.SetInterval(200);
    Later.OnTimer = [&](TObject*) {
        Later.SetEnabled(false);
        Ras.EndDial();
    };
    Later.SetEnabled(true);
    const auto Start = std::chrono::steady_clock::now();
    EXPECT_EQ(DialOf(Ras).Error, "Operation has been canceled");
    EXPECT_LT(SecondsSince(Start), 3.0);
    EXPECT_EQ(Ppp.Calls(), "pon silent\npoff silent\n");
}

TEST(TagRas, AFailedRequestEndsTheCallItsSocketDialled)
{
    TFakePpp Ppp;
    TagRas Ras(nullptr);
    Ppp.Configure(Ras);
    Ras.SetService("isp");
    TagHTTP Http(nullptr);
    Http.SetRAS(&Ras);
    Http.SetURL("http://127.0.0.1:1/");
    EXPECT_THROW(Http.Get(), ESocketError);
    EXPECT_EQ(Ppp.Calls(), "pon isp\npoff isp\n");
    EXPECT_FALSE(Ras.IsConnected());
}

TEST(TagRas, StatesAndResultsHaveTexts)
{
    EXPECT_EQ(RasStatusText(RASCS_Connected), "Successfully connected");
    EXPECT_EQ(RasStatusText(3), "Dialing...");
    EXPECT_EQ(RasStatusText(7), "");
    EXPECT_EQ(RasErrorText(11), "The peer did not authenticate itself");
    EXPECT_EQ(RasErrorText(700), "RAS error no 700");
}
