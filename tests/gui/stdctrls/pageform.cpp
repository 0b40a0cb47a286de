// tests/gui/stdctrls/pageform.cpp: a plain form holding one group of the demonstration.
#include "tests/gui/stdctrls/controlsdemo.h"

namespace guitest {

TPageForm::TPageForm(TComponent* AOwner, TBuilder Builder) : TForm(AOwner)
{
    SetCaption("Controls");
    SetClientWidth(PageWidth);
    SetClientHeight(PageHeight);
    Builder(Demo, this);
}

} // namespace guitest
