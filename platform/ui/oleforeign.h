// platform/ui/oleforeign.h: drag and drop with other programs on the object layer's side: what a
// drag of this program offers them, and the time a silent one is waited for.
#pragma once

#include "platform/ui/clipboardtargets.h"
#include "platform/ui/ole.h"

#include <string>
#include <vector>

// How long another program may leave a step of a drag unanswered before the drag ends.
constexpr UINT ForeignDragTimeoutMs = 4000;

// The data object's text, files and rich text as another program reads them, and the targets
// they travel under (files first, then text, then rich text); no targets when it has none.
std::vector<std::string> ForeignDragTargets(IDataObject* DataObj, TClipboardSnapshot& Snapshot);
