// controls/entry/ovcmsgs.h: the private window messages the entry-field library's controls and
// controller post and send to each other.
#pragma once

#include "platform/ui/wintypes.h"

enum : UINT {
    OM_REPORTERROR = 0x7F00,         // to a field by itself: report error code WParam
    OM_SHOWANDFOCUS = 0x7F01,        // to the controller: show control LParam and focus it
    OM_GETDATASIZE = 0x7F03,         // to a field: answers its data size
    OM_RECREATEWND = 0x7F05,         // to a control: make its window anew
    OM_PREEDIT = 0x7F06,             // to the controller: LParam field focused, WParam lost window
    OM_POSTEDIT = 0x7F07,            // to the controller: LParam field left, WParam gained window
    OM_AFTERENTER = 0x7F08,          // to a control by itself once it has the focus
    OM_AFTEREXIT = 0x7F09,           // to a control by itself once it has lost the focus
    OM_DELAYNOTIFY = 0x7F0A,         // to the controller: LParam sender, low word of WParam code
    OM_POSITIONLABEL = 0x7F0B,       // to a control by itself once its bounds changed
    OM_RECORDLABELPOSITION = 0x7F0C, // to a control by its label: take the label's offsets
    OM_ASSIGNLABEL = 0x7F0D,         // to a control by its label: LParam is the label
};
