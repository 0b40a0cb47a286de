// tests/gui/demofixture.h: the program's demonstration form shown on a private X server.
#pragma once

#include "tests/gui/formfixture.h"

#include "app/demoform.h"
#include "platform/stdctrls/speedbutton.h"

namespace guitest {

class DemoFormTest : public FormScreenTest<TDemoForm> {
protected:
    TDemoForm* MakeForm() override
    {
        TDemoForm* Made = nullptr;
        CreateForm(App.get(), Made);
        return Made;
    }

    void ShowPage(TDemoForm::TPage Page)
    {
        ClickAt(Form->PageButtons[Page], Middle(Form->PageButtons[Page]));
        ASSERT_TRUE(PumpUntil([&] { return Form->ActivePage() == Page && Painted(); }));
    }
};

} // namespace guitest
