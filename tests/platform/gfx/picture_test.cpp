#include "platform/gfx/graphic.h"

#include "platform/gfx/bitmap.h"
#include "platform/gfx/pngformat.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

namespace {

// A graphic kind of the test's own, registered for ".tst".
class TTestGraphic : public TBitmap {
public:
    TTestGraphic() = default;
};

} // namespace

TEST(Picture, PicksTheGraphicClassByExtension)
{
    TestSupport::TTempFolder Folder;
    TBitmap Source;
    Source.SetSize(2, 2);
    Source.Canvas()->SetPixels(1, 1, clRed);
    struct Case {
        const char* Name;
        TGraphicClass Class;
    };
    const std::vector<Case> Cases = {{"a.bmp", TMetaClass::Of<TBitmap>()},
                                     {"b.PNG", TMetaClass::Of<TPngImage>()}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        const std::string Name = Folder.Path() + C.Name;
        TPicture Written;
        Written.SetGraphic(&Source);
        if (C.Class == TMetaClass::Of<TPngImage>()) {
            TPngImage Png;
            Png.Assign(&Source);
            Written.SetGraphic(&Png);
        }
        Written.SaveToFile(Name);
        TPicture P;
        int Changes = 0;
        P.OnChange = [&](TObject*) { ++Changes; };
        P.LoadFromFile(Name);
        EXPECT_EQ(Changes, 1);
        ASSERT_NE(P.Graphic(), nullptr);
        EXPECT_EQ(P.Graphic()->ClassType(), C.Class);
        EXPECT_EQ(P.Width(), 2);
        EXPECT_EQ(P.Bitmap()->Canvas()->Pixels(1, 1), clRed);
    }
    // The PNG file really is PNG.
    const std::string Bytes = TestSupport::ReadAll(Folder.Path() + "b.PNG");
    EXPECT_TRUE(IsPng(reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size()));
}

TEST(Picture, UnknownExtensionAndBadFilesKeepThePicture)
{
    TestSupport::TTempFolder Folder;
    TPicture P;
    P.Bitmap()->SetSize(3, 3);
    try {
        P.LoadFromFile(Folder.Path() + "x.xyz");
        ADD_FAILURE() << "accepted";
    } catch (const EInvalidGraphic& E) {
        EXPECT_EQ(E.Message(), "Unknown picture file extension (.xyz)");
    }
    TestSupport::WriteAll(Folder.Path() + "bad.png", "not a png");
    EXPECT_THROW(P.LoadFromFile(Folder.Path() + "bad.png"), EInvalidGraphic);
    EXPECT_EQ(P.Width(), 3);
}

TEST(Picture, RegistryTakesAndDropsClasses)
{
    EXPECT_EQ(TPicture::FileFormatClass("tst"), nullptr);
    TPicture::RegisterFileFormat("TST", "Test pictures", TMetaClass::Of<TTestGraphic>());
    EXPECT_EQ(TPicture::FileFormatClass(".tst"), TMetaClass::Of<TTestGraphic>());
    EXPECT_EQ(GraphicFilter(TMetaClass::Of<TTestGraphic>()), "Test pictures (*.tst)|*.tst");
    EXPECT_EQ(GraphicExtension(TMetaClass::Of<TTestGraphic>()), "tst");
    const std::string All = GraphicFilter(TMetaClass::Of<TGraphic>());
    EXPECT_EQ(All.rfind("All (*.bmp;*.png;", 0), 0u) << All;
    EXPECT_NE(All.find("|Bitmaps (*.bmp)|*.bmp"), std::string::npos);
    TPicture::UnregisterGraphicClass(TMetaClass::Of<TTestGraphic>());
    EXPECT_EQ(TPicture::FileFormatClass("tst"), nullptr);
    EXPECT_EQ(TPicture::FileFormatClass("bmp"), TMetaClass::Of<TBitmap>());
}

TEST(Picture, BitmapIsMadeOnDemandAndAssignCopies)
{
    TPicture P;
    EXPECT_EQ(P.Graphic(), nullptr);
    EXPECT_EQ(P.Width(), 0);
    TBitmap* B = P.Bitmap();
    ASSERT_NE(B, nullptr);
    EXPECT_EQ(P.Bitmap(), B);
    int Changes = 0;
    P.OnChange = [&](TObject*) { ++Changes; };
    B->SetSize(4, 1);
    EXPECT_GT(Changes, 0); // the graphic's changes reach the picture
    TPicture Q;
    Q.Assign(&P);
    EXPECT_NE(Q.Graphic(), P.Graphic());
    EXPECT_EQ(Q.Width(), 4);
    TBitmap Out;
    Out.Assign(&Q);
    EXPECT_EQ(Out.Width(), 4);
}

TEST(Picture, ClipboardFormatsLoadThroughTheRegistry)
{
    TBitmap A;
    A.SetSize(2, 1);
    A.Canvas()->SetPixels(0, 0, clGreen);
    UINT Format = 0;
    HANDLE Data = 0;
    HPALETTE Palette = nullptr;
    A.SaveToClipboardFormat(Format, Data, Palette);
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(CF_BITMAP));
    TPicture P;
    P.LoadFromClipboardFormat(Format, Data, Palette);
    EXPECT_EQ(P.Bitmap()->Canvas()->Pixels(0, 0), clGreen);
    EXPECT_THROW(P.LoadFromClipboardFormat(CF_TEXT, 1, nullptr), EInvalidGraphic);
    EXPECT_TRUE(DeleteObject(reinterpret_cast<HBITMAP>(Data)));
}
