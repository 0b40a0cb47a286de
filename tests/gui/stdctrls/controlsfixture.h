// tests/gui/stdctrls/controlsfixture.h: one group of the demonstration on a plain form on the
// private X server; a test names the group's builder.
#pragma once

#include "tests/gui/formfixture.h"
#include "tests/gui/stdctrls/controlsdemo.h"

namespace guitest {

template <TPageForm::TBuilder Builder>
class ControlsPageTest : public FormScreenTest<TPageForm> {
protected:
    TPageForm* MakeForm() override { return new TPageForm(App.get(), Builder); }

    TControlsDemo& Demo() { return Form->Demo; }
};

} // namespace guitest
