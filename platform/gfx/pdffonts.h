// platform/gfx/pdffonts.h: the standard PDF fonts that the invisible text of printed pages is
// written in: which one stands for a canvas font, the WinAnsi byte of a character, and each
// font's character widths.
#pragma once

#include "platform/gfx/fontengine.h"

#include <array>
#include <string>

// The twelve standard text fonts, in the order of their resource names (/F1 .. /F12).
enum TPdfStandardFont {
    pfHelvetica,
    pfHelveticaBold,
    pfHelveticaOblique,
    pfHelveticaBoldOblique,
    pfTimesRoman,
    pfTimesBold,
    pfTimesItalic,
    pfTimesBoldItalic,
    pfCourier,
    pfCourierBold,
    pfCourierOblique,
    pfCourierBoldOblique
};
constexpr int PdfStandardFontCount = 12;

// "Helvetica-BoldOblique", "Times-Roman", ...
const char* PdfFontName(TPdfStandardFont Font);
// Courier for fixed pitch, the modern family and monospaced faces; Times for the roman family
// and serif faces; Helvetica otherwise; bold from FW_BOLD, the slanted variant for italics.
TPdfStandardFont PdfStandardFontFor(const TFontRequest& Request);
// The byte of the WinAnsi encoding for a character; '?' for what that encoding lacks (control
// characters among them).
unsigned char WinAnsiByte(char32_t Code);

constexpr int PdfFirstChar = 32;
constexpr int PdfLastChar = 255;
// The advance of each byte from PdfFirstChar to PdfLastChar in thousandths of the font size,
// measured on the face the font engine takes for the family (those faces share the standard
// fonts' metrics).
const std::array<int, PdfLastChar - PdfFirstChar + 1>& PdfFontWidths(TPdfStandardFont Font);
