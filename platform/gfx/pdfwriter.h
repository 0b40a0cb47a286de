// platform/gfx/pdfwriter.h: TPdfWriter, a small PDF writer for printed pages: each page is one
// RGB picture (8 bits a sample, deflated) drawn over the whole page, with the page's text over it
// as invisible text, so that viewers find, select and copy it. The output depends only on what is
// written (no dates, no random identifiers), so that the same pages give the same bytes.
#pragma once

#include "platform/gfx/pdffonts.h"
#include "platform/rtl/stream.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A run of text on a page, in a standard font.
struct TPdfTextRun {
    TPdfStandardFont Font = pfHelvetica;
    double Size = 0; // the font size in points (the em)
    double X = 0;    // the base line's origin in points from the page's bottom-left corner
    double Y = 0;
    double Angle = 0;  // of the base line, degrees counter-clockwise
    std::string Bytes; // WinAnsi
    // Where each character's successor starts, in points from that character's start.
    std::vector<double> Advances;
};

class TPdfWriter {
public:
    // Fills Row (3 bytes a pixel: red, green, blue) with the pixels of row Y, top row first.
    using TRowSource = std::function<void(int Y, std::uint8_t* Row)>;

    // The file goes to Stream (not owned), starting with the header right away.
    explicit TPdfWriter(TStream* Stream);
    TPdfWriter(const TPdfWriter&) = delete;
    TPdfWriter& operator=(const TPdfWriter&) = delete;

    // The document information; an empty text is left out.
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    const std::string& Creator() const { return FCreator; }
    void SetCreator(const std::string& Value) { FCreator = Value; }

    // A page of PageWidth x PageHeight points (1/72 inch, written to 1/100) covered by a
    // picture of PixelWidth x PixelHeight pixels whose rows come from Rows, with Text over it
    // invisible (render mode 3), each character where its advance puts it. EInvalidOperation
    // for sizes below 1 or after Finish.
    void AddImagePage(int PixelWidth, int PixelHeight, double PageWidth, double PageHeight,
                      const TRowSource& Rows, const std::vector<TPdfTextRun>& Text = {});
    // Pages tree, catalogue, information, cross-reference table and trailer.
    void Finish();

    int PageCount() const { return static_cast<int>(FPageObjects.size()); }

private:
    int NewObject();
    void BeginObject(int Number);
    void Write(const std::string& Text);
    void WriteStreamObject(int Number, const std::string& Dictionary, const std::string& Data);
    // The object of a font, written the first time a page uses it.
    int FontObject(TPdfStandardFont Font);

    TStream* FStream;
    std::string FTitle;
    std::string FCreator = "Tarnwick";
    std::int64_t FOffset = 0;            // bytes written so far
    std::vector<std::int64_t> FObjectAt; // offset of object N at N - 1; -1: not written yet
    std::vector<int> FPageObjects;
    int FFontObjects[PdfStandardFontCount] = {}; // 0: not written yet
    bool FFinished = false;
};

// A number as PDF writes it: at most two decimals, no trailing zeros ("595.2", "612").
std::string PdfNumber(double Value);
// A PDF text string: a literal "(...)" with its specials escaped when the text is plain
// printable ASCII, otherwise UTF-16 with a byte-order mark in hexadecimal (bytes that are not
// UTF-8 read as Windows-1252).
std::string PdfTextString(const std::string& Text);
