// platform/ui/backends.h: registries of back ends. Each back-end folder (platform/ui/x11/, ...)
// registers itself with the registry of its kind: a name, an order, a probe that tells whether it
// can run on this machine, and a factory. The code that picks one asks the registry and names
// none of them; a back end left out of the build is simply not registered.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// What a probe found. Absent: this machine does not offer the back end at all (no display named),
// which is said only when it was asked for by name; Failed: it should have run and did not (the
// display named cannot be reached), which is always said.
enum class TProbeOutcome { Runs, Absent, Failed };

struct TProbeResult {
    TProbeOutcome Outcome = TProbeOutcome::Runs;
    std::string Why; // why it cannot run
};

template <class TInterface>
class TBackEndRegistry {
public:
    using TProbe = std::function<TProbeResult()>;
    using TFactory = std::function<std::unique_ptr<TInterface>()>;

    struct TBackEnd {
        std::string Name;
        int Order = 0;   // lower is tried first; equal orders go by name
        TProbe Probe;    // null: runs anywhere
        TFactory Create; // null from a factory: it could not start after all
    };

    // Kind names the back ends in messages ("display", "sound").
    explicit TBackEndRegistry(std::string Kind) : FKind(std::move(Kind)) {}
    TBackEndRegistry(const TBackEndRegistry&) = delete;
    TBackEndRegistry& operator=(const TBackEndRegistry&) = delete;

    // Replaces a back end of the same name.
    void Add(TBackEnd BackEnd)
    {
        std::lock_guard<std::mutex> Lock(FMutex);
        Erase(BackEnd.Name);
        FBackEnds.push_back(std::move(BackEnd));
        std::stable_sort(FBackEnds.begin(), FBackEnds.end(), [](const auto& A, const auto& B) {
            return A.Order != B.Order ? A.Order < B.Order : A.Name < B.Name;
        });
    }

    void Remove(const std::string& Name)
    {
        std::lock_guard<std::mutex> Lock(FMutex);
        Erase(Name);
    }

    // The names in the order they are tried.
    std::vector<std::string> Names() const
    {
        std::lock_guard<std::mutex> Lock(FMutex);
        std::vector<std::string> Result;
        for (const TBackEnd& BackEnd : FBackEnds)
            Result.push_back(BackEnd.Name);
        return Result;
    }

    std::optional<TBackEnd> Find(const std::string& Name) const
    {
        std::lock_guard<std::mutex> Lock(FMutex);
        for (const TBackEnd& BackEnd : FBackEnds)
            if (BackEnd.Name == Name)
                return BackEnd;
        return std::nullopt;
    }

    // The back end to use: Wanted when it names one that can run here, else the first in order
    // whose probe succeeds; none when none can run. Log hears about a wanted back end that is
    // unknown or cannot run, about one that failed, and then which one is used instead.
    std::optional<TBackEnd> Select(const std::string& Wanted, std::ostream& Log) const
    {
        return Choose(Wanted, Log, [](const TBackEnd&) { return true; });
    }

    // Selects a back end and makes it; one whose factory gives null is passed over as failed.
    std::unique_ptr<TInterface> Create(const std::string& Wanted, std::ostream& Log) const
    {
        std::unique_ptr<TInterface> Made;
        Choose(Wanted, Log, [&](const TBackEnd& BackEnd) {
            Made = BackEnd.Create ? BackEnd.Create() : nullptr;
            return Made != nullptr;
        });
        return Made;
    }

private:
    void Erase(const std::string& Name)
    {
        std::erase_if(FBackEnds, [&](const TBackEnd& BackEnd) { return BackEnd.Name == Name; });
    }

    // Start: makes the back end once its probe succeeded; false when that fails.
    template <class F>
    std::optional<TBackEnd> Choose(const std::string& Wanted, std::ostream& Log, F Start) const
    {
        std::vector<TBackEnd> Candidates;
        {
            std::lock_guard<std::mutex> Lock(FMutex);
            Candidates = FBackEnds;
        }
        bool Told = false;
        const auto Try = [&](const TBackEnd& BackEnd, bool Named) {
            TProbeResult Probe = BackEnd.Probe ? BackEnd.Probe() : TProbeResult{};
            if (Probe.Outcome == TProbeOutcome::Runs && !Start(BackEnd))
                Probe = {TProbeOutcome::Failed, "it did not start"};
            if (Probe.Outcome == TProbeOutcome::Runs)
                return true;
            if (Named || Probe.Outcome == TProbeOutcome::Failed) {
                Log << "tarnwick: " << FKind << " back end \"" << BackEnd.Name
                    << "\" cannot run here" << (Probe.Why.empty() ? "" : ": ") << Probe.Why << "\n";
                Told = true;
            }
            return false;
        };
        auto Named = std::find_if(Candidates.begin(), Candidates.end(),
                                  [&](const TBackEnd& BackEnd) { return BackEnd.Name == Wanted; });
        if (Named != Candidates.end()) {
            if (Try(*Named, true))
                return *Named;
            Candidates.erase(Named);
        } else if (!Wanted.empty()) {
            Log << "tarnwick: there is no " << FKind << " back end \"" << Wanted << "\"";
            for (std::size_t I = 0; I < Candidates.size(); ++I)
                Log << (I == 0 ? " (there are " : ", ") << "\"" << Candidates[I].Name << "\""
                    << (I + 1 == Candidates.size() ? ")" : "");
            Log << "\n";
            Told = true;
        }
        for (const TBackEnd& BackEnd : Candidates)
            if (Try(BackEnd, false)) {
                if (Told)
                    Log << "tarnwick: using " << FKind << " back end \"" << BackEnd.Name << "\"\n";
                return BackEnd;
            }
        if (Told)
            Log << "tarnwick: no " << FKind << " back end can run here\n";
        return std::nullopt;
    }

    const std::string FKind;
    mutable std::mutex FMutex;
    std::vector<TBackEnd> FBackEnds; // in the order they are tried
};

// Defines the symbol that makes the linker take the object file of a back end's registration out
// of its archive (see platform/ui/CMakeLists.txt); one per back-end folder, next to the
// registration.
#define TARNWICK_BACKEND_ANCHOR(Folder) extern "C" const char tarnwick_backend_##Folder = 0

// Registers a back end for as long as it lives: a back end's folder keeps one at namespace
// scope, a test one on the stack.
template <class TInterface>
class TBackEndRegistration {
public:
    TBackEndRegistration(TBackEndRegistry<TInterface>& Registry,
                         typename TBackEndRegistry<TInterface>::TBackEnd BackEnd)
        : FRegistry(Registry), FName(BackEnd.Name)
    {
        FRegistry.Add(std::move(BackEnd));
    }
    ~TBackEndRegistration() { FRegistry.Remove(FName); }
    TBackEndRegistration(const TBackEndRegistration&) = delete;
    TBackEndRegistration& operator=(const TBackEndRegistration&) = delete;

private:
    TBackEndRegistry<TInterface>& FRegistry;
    std::string FName;
};
