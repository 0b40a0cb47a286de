// platform/forms/controltypes.h: the small types of the control classes: alignment and anchors,
// mouse buttons and shift states, control styles and states, the event signatures, and the
// helpers that read a shift state or an accelerator.
#pragma once

#include "platform/rtl/events.h"
#include "platform/rtl/geometry.h"
#include "platform/rtl/sets.h"
#include "platform/ui/wintypes.h"

#include <functional>
#include <string>

class TObject;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
using TCaption = std::string;
using Word = unsigned short;

enum TControlStyleItem {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents
};
using TControlStyle = TSet<TControlStyleItem>;
enum TControlStateItem {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
    csDocking
};
using TControlState = TSet<TControlStateItem>;

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
// MousePos: where the mouse is, in screen coordinates; Handled stops the wheel going on.
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                            TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent =
    std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
// MousePos in the control's client coordinates, (-1, -1) when the keyboard asked.
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// The shift state of a key message's key data (Alt from bit 29) and the key state now.
TShiftState KeyDataToShiftState(LPARAM KeyData);
TShiftState KeyboardStateToShiftState();
// The shift state of a mouse message's key flags (MK_SHIFT, MK_CONTROL and the buttons).
TShiftState KeysToShiftState(unsigned Keys);
// True when Caption marks Key with "&" (letters compared without regard to case).
bool IsAccel(unsigned Key, const std::string& Caption);

// The state of an owner-drawn item, in the order of the ODS_ bits (platform/ui/ownerdraw.h).
enum TOwnerDrawStateItem {
    odSelected,
    odGrayed,
    odDisabled,
    odChecked,
    odFocused,
    odDefault,
    odHotLight,
    odInactive,
    odNoAccel,
    odNoFocusRect,
    odReserved1,
    odReserved2,
    odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

// The state an itemState of WM_DRAWITEM stands for, and back.
TOwnerDrawState OwnerDrawStateOf(UINT ItemState);
UINT OwnerDrawStateBits(TOwnerDrawState State);
