// platform/forms/drag.h: the class library's drag of controls inside the program: drag modes and
// states, the CM_DRAG message codes and record, the drag objects, and the event types of the
// controls' drag events (TControl::BeginDrag starts a drag; platform/forms/drag.cpp runs it).
#pragma once

#include "platform/rtl/geometry.h"
#include "platform/rtl/object.h"
#include "platform/ui/cursors.h"

#include <functional>

class TControl;

enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

// CM_DRAG: WParam one of these, LParam a pointer to a TDragRec. dmDragEnter, dmDragLeave and
// dmDragMove answer whether the control accepts the drop, dmFindTarget the control (a TControl*)
// at Pos.
enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };

class TDragObject;

struct TDragRec {
    TPoint Pos; // screen coordinates
    TDragObject* Source = nullptr;
    TControl* Target = nullptr;
    bool Docking = false;
};

// What is being dragged. The drag gives it the control under the pointer (DragTarget) and the
// pointer in that control's coordinates (DragTargetPos).
class TDragObject : public TObject {
public:
    ~TDragObject() override = default;
    // The pointer the drag shows over a control that accepts it or not.
    virtual TCursor GetDragCursor(bool Accepted, int X, int Y);
    // The drag ended; Target is null (and X, Y 0) when nothing took the drop.
    virtual void Finished(TObject* Target, int X, int Y, bool Accepted);

    TPoint DragPos;
    TControl* DragTarget = nullptr;
    TPoint DragTargetPos;
    bool Cancelling = false;
    bool Dropped = false;
};

// A drag that carries a control: the events see the control as the Source.
class TBaseDragControlObject : public TDragObject {
public:
    explicit TBaseDragControlObject(TControl* AControl) : Control(AControl) {}
    void Finished(TObject* Target, int X, int Y, bool Accepted) override;
    TControl* Control;
};

// The drag object a control makes for itself: its DragCursor while accepted.
class TDragControlObject : public TBaseDragControlObject {
public:
    using TBaseDragControlObject::TBaseDragControlObject;
    TCursor GetDragCursor(bool Accepted, int X, int Y) override;
};

using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

// The pixels the pointer moves before a drag begun without Immediate starts.
constexpr int DefaultDragThreshold = 5;

// The control being dragged, or null.
TControl* DragControl();
// Ends the drag under way, if any, without a drop (Escape does the same).
void CancelDrag();
// The control under a screen point in any of the program's windows (graphic controls included),
// or null.
TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled);
// The drag forgets a control that goes away (TControl's destructor calls it).
void DragControlGone(TControl* Control);
