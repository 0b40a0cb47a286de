// platform/dialogs/boxicons.h: the four pictures of the boxes (stop, question, warning,
// information), drawn in code, and which one a box shows.
#pragma once

#include "platform/gfx/bitmap.h"
#include "platform/ui/dialogservice.h"

#include <memory>

enum class TBoxIcon { None, Stop, Question, Warning, Information };

// Size of each picture, square.
constexpr int BoxIconSize = 32;

// MessageBox by its MB_ICON flag, MessageDlg by its type; the other boxes show none.
TBoxIcon BoxIconOf(const TDialogRequest& Request);

// Draws Icon with its top-left corner at (X, Y).
void DrawBoxIcon(TCanvas* Canvas, int X, int Y, TBoxIcon Icon);

// The picture on a ground of Ground, for an image control (null for TBoxIcon::None).
std::unique_ptr<TBitmap> BoxIconBitmap(TBoxIcon Icon, TColor Ground);
