#include "platform/gfx/graphicsobjects.h"

#include "platform/rtl/exceptions.h"

#include <gtest/gtest.h>

TEST(GraphicsObjects, ChangesNotifyOnlyWhenAValueChanges)
{
    TPen Pen;
    int Count = 0;
    Pen.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &Pen);
        ++Count;
    };
    Pen.SetColor(clBlack); // unchanged
    Pen.SetWidth(1);
    EXPECT_EQ(Count, 0);
    Pen.SetColor(clRed);
    Pen.SetMode(pmXor);
    Pen.SetStyle(psDot);
    EXPECT_EQ(Count, 3);
}

TEST(GraphicsObjects, FontHeightFollowsSizeAtItsResolution)
{
    TFont Font;
    EXPECT_EQ(Font.Name(), "MS Sans Serif");
    EXPECT_EQ(Font.Height(), -11);
    EXPECT_EQ(Font.Size(), 8);
    Font.SetSize(10);
    EXPECT_EQ(Font.Height(), -13);
    Font.SetPixelsPerInch(600); // a printer keeps the size in points
    EXPECT_EQ(Font.Size(), 10);
    EXPECT_EQ(Font.Height(), -83);
    Font.SetStyle(TFontStyles{fsBold, fsUnderline});
    EXPECT_TRUE(Font.Style().Contains(fsBold));
    EXPECT_FALSE(Font.Style().Contains(fsItalic));
}

TEST(GraphicsObjects, AssignCopiesAndConvertsTheSizeToTheTargetResolution)
{
    TFont Screen;
    Screen.SetName("Arial");
    Screen.SetSize(12);
    Screen.SetColor(clNavy);
    Screen.SetEscapement(900);
    TFont Printer;
    Printer.SetPixelsPerInch(300);
    int Count = 0;
    Printer.OnChange = [&](TObject*) { ++Count; };
    Printer.Assign(&Screen);
    EXPECT_EQ(Count, 1);
    EXPECT_EQ(Printer.Name(), "Arial");
    EXPECT_EQ(Printer.Size(), 12);
    EXPECT_EQ(Printer.Height(), -50);
    EXPECT_EQ(Printer.Color(), clNavy);
    EXPECT_EQ(Printer.Escapement(), 900);
    TPen Pen;
    EXPECT_THROW(Printer.Assign(&Pen), EConvertError);
}

TEST(GraphicsObjects, ABrushColourTurnsAClearBrushSolid)
{
    TBrush Brush;
    Brush.SetStyle(bsClear);
    Brush.SetColor(clYellow);
    EXPECT_EQ(Brush.Style(), bsSolid);
    Brush.SetStyle(bsCross);
    Brush.SetColor(clRed);
    EXPECT_EQ(Brush.Style(), bsCross);
}

TEST(GraphicsObjects, PenModesMapToTheirMixCodes)
{
    struct TCase {
        TPenMode Mode;
        int Rop2;
    };
    const std::vector<TCase> Cases = {
        {pmBlack, R2_BLACK},    {pmWhite, R2_WHITE},       {pmNop, R2_NOP},
        {pmNot, R2_NOT},        {pmCopy, R2_COPYPEN},      {pmNotCopy, R2_NOTCOPYPEN},
        {pmXor, R2_XORPEN},     {pmNotXor, R2_NOTXORPEN},  {pmMask, R2_MASKPEN},
        {pmMerge, R2_MERGEPEN}, {pmNotMask, R2_NOTMASKPEN}};
    for (const TCase& C : Cases) {
        EXPECT_EQ(PenModeToRop2(C.Mode), C.Rop2);
        EXPECT_EQ(Rop2ToPenMode(C.Rop2), C.Mode);
    }
}
