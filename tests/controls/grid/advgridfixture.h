// tests/controls/grid/advgridfixture.h: a grid on a form, the registry in a folder of its own,
// and an application that records the exceptions it is handed.
#pragma once

#include "controls/grid/advgrid.h"
#include "platform/forms/form.h"
#include "platform/ui/application.h"
#include "tests/support/tempfolder.h"

#include <cstdlib>
#include <string>
#include <vector>

class TRecordingApplication : public TApplication {
public:
    TRecordingApplication() : TApplication(nullptr)
    {
        Application = this;
        OnException = [this](TObject*, const Exception& E) { Messages.push_back(E.Message()); };
    }
    ~TRecordingApplication() override { Application = nullptr; }
    std::vector<std::string> Messages;
};

class AdvGridTest : public TestSupport::TempFolderTest {
protected:
    void SetUp() override
    {
        ::setenv("TARNWICK_REGISTRY", Folder.c_str(), 1);
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 640, 480);
        Grid = new TAdvStringGrid(Form);
        Grid->SetParent(Form);
    }
    void TearDown() override
    {
        delete Form;
        ::unsetenv("TARNWICK_REGISTRY");
    }
    // A grid of its own on the form, columns of the given widths.
    TAdvStringGrid* MakeGrid(const std::vector<int>& Widths)
    {
        auto G = new TAdvStringGrid(Form);
        G->SetParent(Form);
        G->SetColCount(static_cast<int>(Widths.size()));
        for (std::size_t I = 0; I < Widths.size(); ++I)
            G->SetColWidths(static_cast<int>(I), Widths[I]);
        return G;
    }

    TRecordingApplication App;
    TForm* Form = nullptr;
    TAdvStringGrid* Grid = nullptr;
};
