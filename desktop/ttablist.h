// desktop/ttablist.h: TTabListBox, a list box that expands tab characters to its tab stops
// (TabWidth apart), so that items stand in columns.
#pragma once

#include "platform/stdctrls/listbox.h"

class TTabListBox : public TListBox {
public:
    using TListBox::TListBox;

protected:
    void CreateParams(TCreateParams& Params) override;
};
