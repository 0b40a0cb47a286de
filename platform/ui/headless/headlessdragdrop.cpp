// The headless driver's drag and drop with other programs: drop windows that tests place, which
// log every step they hear and answer at once (or never).
#include "platform/ui/headless/headlessdriver.h"

#include "platform/ui/ole.h"

namespace {

std::string EffectName(DWORD Effect)
{
    switch (Effect) {
    case DROPEFFECT_COPY:
        return "copy";
    case DROPEFFECT_MOVE:
        return "move";
    case DROPEFFECT_LINK:
        return "link";
    default:
        return "none";
    }
}

} // namespace

void THeadlessDriver::BeginForeignDrag(const std::vector<std::string>& Targets,
                                       TClipboardRenderer Render)
{
    FDragTargets = Targets;
    FDragRender = std::move(Render);
    FDragOver = -1;
    FDragDropped = false;
    FDragState = TForeignDragState();
}

bool THeadlessDriver::ForeignDragOver(TPoint Point, DWORD Effect)
{
    int Under = -1;
    for (std::size_t I = FDropWindows.size(); I-- > 0;)
        if (PtInRect(FDropWindows[I].Bounds, Point)) {
            Under = static_cast<int>(I);
            break;
        }
    if (Under != FDragOver && FDragOver >= 0)
        FDragLog.push_back(FDropWindows[static_cast<std::size_t>(FDragOver)].Name + " leave");
    if (Under < 0) {
        FDragOver = -1;
        FDragState = TForeignDragState();
        return false;
    }
    const TForeignDropWindow& Window = FDropWindows[static_cast<std::size_t>(Under)];
    if (Under != FDragOver) {
        std::string Targets;
        for (const std::string& Target : FDragTargets)
            Targets += (Targets.empty() ? "" : " ") + Target;
        FDragLog.push_back(Window.Name + " enter " + Targets);
        FDragState = TForeignDragState();
    }
    FDragOver = Under;
    FDragLog.push_back(Window.Name + " position " + EffectName(Effect));
    FDragState.Over = true;
    FDragState.Waiting = Window.Silent;
    if (!Window.Silent)
        FDragState.Effect = (Window.Accepts & Effect)            ? Effect
                            : (Window.Accepts & DROPEFFECT_COPY) ? DWORD(DROPEFFECT_COPY)
                                                                 : DWORD(DROPEFFECT_NONE);
    return true;
}

void THeadlessDriver::ForeignDrop()
{
    if (FDragOver < 0)
        return;
    const TForeignDropWindow& Window = FDropWindows[static_cast<std::size_t>(FDragOver)];
    FDragLog.push_back(Window.Name + " drop");
    FDragDropped = true;
    std::string Data;
    if (!Window.Wants.empty() && FDragRender && FDragRender(Window.Wants, Data))
        FDragLog.push_back(Window.Name + " read " + Data);
    FDragState.Waiting = Window.Silent || !Window.Finishes;
    FDragState.Finished = !FDragState.Waiting;
}

void THeadlessDriver::EndForeignDrag()
{
    if (FDragOver >= 0 && !FDragDropped)
        FDragLog.push_back(FDropWindows[static_cast<std::size_t>(FDragOver)].Name + " leave");
    FDragOver = -1;
    FDragDropped = false;
    FDragTargets.clear();
    FDragRender = nullptr;
    FDragState = TForeignDragState();
}
