// tests/gui/stdctrls/controlsdemo_list.cpp: the demonstration's List page: the message list as
// the filter shows it, in a report list view with a state image per message.
#include "tests/gui/stdctrls/controlsdemo.h"

#include "platform/gfx/bitmap.h"
#include "platform/gfx/imagelist.h"
#include "platform/stdctrls/listview.h"

#include <string>
#include <vector>

namespace guitest {

namespace {

// The state pictures, 16 x 16 on white (transparent): a red check (spam), a blue question mark
// (unsure) and a black check (kept).
void AddStatePictures(TCustomImageList* Images)
{
    const auto Picture = [Images](auto Draw) {
        TBitmap Bitmap;
        Bitmap.SetSize(16, 16);
        TCanvas* C = Bitmap.Canvas();
        C->Brush()->SetColor(clWhite);
        C->FillRect(Rect(0, 0, 16, 16));
        C->Pen()->SetWidth(2);
        Draw(C);
        Images->AddMasked(&Bitmap, clWhite);
    };
    const auto Check = [](TCanvas* C) { C->Polyline({{3, 8}, {6, 12}, {13, 3}}); };
    Picture([&](TCanvas* C) {
        C->Pen()->SetColor(clRed);
        Check(C);
    });
    Picture([](TCanvas* C) {
        C->Pen()->SetColor(clBlue);
        C->Polyline({{5, 5}, {6, 3}, {8, 2}, {10, 3}, {11, 5}, {10, 7}, {8, 8}, {8, 10}});
        C->Brush()->SetColor(clBlue);
        C->Pen()->SetWidth(1);
        C->Rectangle(7, 12, 10, 15);
    });
    Picture([&](TCanvas* C) {
        C->Pen()->SetColor(clBlack);
        Check(C);
    });
}

struct TSender {
    const char* Address;
    const char* RealName;
};

} // namespace

void BuildListPage(TControlsDemo& Demo, TWinControl* Page)
{
    auto* States = new TCustomImageList(Page);
    States->SetWidth(16);
    States->SetHeight(16);
    AddStatePictures(States);

    auto* List = new TListView(Page);
    List->SetParent(Page);
    List->SetAlign(alClient);
    List->SetViewStyle(vsReport);
    List->SetMultiSelect(true);
    List->SetReadOnly(true);
    List->SetHideSelection(false);
    List->SetStateImages(States);
    struct TColumn {
        const char* Caption;
        int Width;
        TAlignment Alignment;
    };
    for (const TColumn& C : std::vector<TColumn>{{"Subject", 220, taLeftJustify},
                                                 {"Sender", 140, taLeftJustify},
                                                 {"Real name", 120, taLeftJustify},
                                                 {"Size", 42, taRightJustify},
                                                 {"Date", 130, taLeftJustify}}) {
        TListColumn* Column = List->Columns()->Add();
        Column->SetCaption(C.Caption);
        Column->SetWidth(C.Width);
        Column->SetAlignment(C.Alignment);
    }

    const std::vector<const char*> Subjects = {
        "Your invoice for March",  "Cheap watches, today only", "Meeting moved to Thursday",
        "RE: the filter settings", "You have won a prize!",     "Weekly report",
        "Lunch on Friday?",        "Account verification",      "Minutes of the last meeting",
        "Limited offer inside",
    };
    const std::vector<TSender> Senders = {
        {"accounts@example.org", "Accounts"},   {"offers@shop.example", "Best Offers"},
        {"anna@example.com", "Anna Berg"},      {"tom@example.net", "Tom Lund"},
        {"winner@lucky.example", "Prize Team"}, {"reports@example.com", "Reports"},
    };
    List->Items()->BeginUpdate();
    for (int I = 0; I < 40; ++I) {
        const TSender& From = Senders[I % Senders.size()];
        TListItem* Item = List->Items()->Add();
        Item->SetCaption(Subjects[I % Subjects.size()]);
        Item->SubItems()->Add(From.Address);
        Item->SubItems()->Add(From.RealName);
        Item->SubItems()->Add(std::to_string(1 + (I * 37) % 90) + "K");
        Item->SubItems()->Add("2026-03-" + std::string(I / 2 + 1 < 10 ? "0" : "") +
                              std::to_string(I / 2 + 1) + " 1" + std::to_string(I % 10) + ":" +
                              std::to_string(10 + (I * 7) % 50));
        Item->SetStateIndex(I % 3);
    }
    List->Items()->EndUpdate();
    Demo.ListView = List;
}

} // namespace guitest
