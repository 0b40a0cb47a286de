// controls/grid/advgridhtml.cpp: the layout of grid HTML: lines measured, then drawn or
// hit-tested, with the tags applied as they come.
#include "controls/grid/advgridhtml.h"

#include "controls/grid/advgridhtmlimages.h"
#include "controls/grid/advgridhtmlparse.h"
#include "platform/gfx/textlayout.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/strings.h"

#include <algorithm>
#include <climits>
#include <memory>

using namespace AdvGridHtml;

namespace {

constexpr unsigned BaseFormat =
    DT_SINGLELINE | DT_BOTTOM | DT_EXPANDTABS | DT_NOCLIP | DT_EXTERNALLEADING | DT_NOPREFIX;
constexpr TColor ShadowColor = 0x808080;
constexpr int ShadowOffset = 1;
constexpr int BulletWidth = 12;

// What runs across lines in one pass; the measuring and the drawing pass keep one each.
struct TPassState {
    TFont Font;
    std::unique_ptr<TFont> Unrotated; // the font before <R>
    TColor BrushColor = clWhite;
    TBrushStyle BrushStyle = bsSolid;
    bool Shadow = false;
    bool Sub = false;
    bool Sup = false;
    bool Hidden = false;
    bool TextBackground = false;
    bool BrushSaved = false; // FONT BGCOLOR remembered the brush
    TColor SavedBrushColor = clWhite;
    TBrushStyle SavedBrushStyle = bsSolid;
    bool ParaBackground = false;
    TColor ParaColor = clWhite;
    int ListLevel = 0;
    int Align = 0;
    bool InLink = false;
    std::string Link;
    // The first "<" at or after LtFrom is at LtFound: one search serves a run of pieces.
    std::size_t LtFrom = 1;
    std::size_t LtFound = 0;
};

struct TLine {
    int Width = 0;
    int Height = 0;
    int Align = 0;
    int SubExtra = 0;
    int SupExtra = 0;
    int ImageOffset = 0;
    int GhHeight = 0;
    int Bottom(int Top) const { return Top + Height + SubExtra + SupExtra; }
};

enum class TTagEffect { Continue, EndAfter, EndBefore };

class THtmlRenderer {
public:
    THtmlRenderer(TCanvas* ACanvas, const TRect& ARect, TImageList* AImages, std::string& AAnchor,
                  std::string& APlainText)
        : Canvas(ACanvas), R(ARect), Images(AImages), Anchor(AAnchor), PlainText(APlainText)
    {
    }

    TCanvas* Canvas;
    TRect R;
    TImageList* Images;
    std::string& Anchor;
    std::string& PlainText;
    int HitX = 0;
    int HitY = 0;
    bool HitTest = false;
    bool ForPrinter = false;
    bool Selected = false;
    bool BlinkVisible = true;
    bool WordWrap = true;
    double ScaleFactor = 1.0;
    TColor LinkColor = clBlue;
    TColor BaseColor = clWindowText;
    std::string BaseName;
    int BaseSize = 8;
    TColor EntryBrush = clWhite;
    unsigned Format = BaseFormat;
    std::string S;
    TPassState Measuring;
    TPassState Drawing;
    bool Result = false;

    // One line from Start. Measuring (Draw false): finds its end (at most Limit) and fills Line;
    // drawing: runs to Limit over the measured Line from (Left, Top). DropRest: the text after
    // the returned end is not laid out.
    std::size_t Layout(TPassState& P, bool Draw, std::size_t Start, std::size_t Limit, TLine& Line,
                       int Left, int Top, bool& DropRest, bool& LinkMet);

private:
    int Available() const { return std::max(0, R.Right - (R.Left + 1)); }
    int PieceWidth(const std::string& Piece);
    void DrawPiece(const TPassState& P, const std::string& Piece, const TLine& Line, int X, int Top,
                   int Width);
    TTagEffect ApplyTag(TPassState& P, bool Draw, const std::string& Tag, TLine& Line, int& Width,
                        int Left, int Top, bool LineStarted, bool& ListItemSeen, bool& LinkMet);
    TTagEffect ApplyOpenTag(TPassState& P, bool Draw, const std::string& Tag, TLine& Line,
                            int& Width, int Left, int Top, bool LineStarted, bool& ListItemSeen,
                            bool& LinkMet);
    void ApplyCloseTag(TPassState& P, bool Draw, const std::string& Tag, TTagEffect& Effect);
    TTagEffect Image(bool Draw, const TPassState& P, const std::string& Tag, TLine& Line,
                     int& Width, int Left, int Top, bool LineStarted, bool& LinkMet);
    void SetBrush(TPassState& P, TColor Color, TBrushStyle Style);
    void SetStyle(TFontStyle Style, bool On);
    bool Painting(bool Draw) const { return Draw && !HitTest; }
};

int THtmlRenderer::PieceWidth(const std::string& Piece)
{
    TRect Calc{0, 0, std::max(1, Available()), 0};
    Canvas->DrawText(Piece, Calc, BaseFormat | DT_CALCRECT);
    return std::max(0, Calc.Right - Calc.Left);
}

void THtmlRenderer::SetBrush(TPassState& P, TColor Color, TBrushStyle Style)
{
    P.BrushColor = Color;
    P.BrushStyle = Style;
    Canvas->Brush()->SetColor(Color);
    Canvas->Brush()->SetStyle(Style);
}

void THtmlRenderer::SetStyle(TFontStyle Style, bool On)
{
    TFontStyles Styles = Canvas->Font()->Style();
    if (On)
        Styles.Include(Style);
    else
        Styles.Exclude(Style);
    Canvas->Font()->SetStyle(Styles);
}

void THtmlRenderer::DrawPiece(const TPassState& P, const std::string& Piece, const TLine& Line,
                              int X, int Top, int Width)
{
    int Bottom = Top + Line.SupExtra + Line.Height - Line.ImageOffset;
    if (P.Sup)
        Bottom -= Line.SupExtra;
    if (P.Sub)
        Bottom += Line.SubExtra;
    if (P.TextBackground) {
        const TBrushStyle Style = Canvas->Brush()->Style();
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->FillRect(TRect{X, Bottom - Canvas->TextHeight(Piece), X + Width, Bottom});
        Canvas->Brush()->SetStyle(Style);
    }
    if (P.Shadow) {
        const TColor Color = Canvas->Font()->Color();
        Canvas->Font()->SetColor(ShadowColor);
        TRect Shadow{X + ShadowOffset, Top + ShadowOffset, R.Right + ShadowOffset,
                     Bottom + ShadowOffset};
        Canvas->DrawText(Piece, Shadow, Format);
        Canvas->Font()->SetColor(Color);
    }
    TRect Box{X, Top, R.Right, Bottom};
    Canvas->DrawText(Piece, Box, Format);
}

std::size_t THtmlRenderer::Layout(TPassState& P, bool Draw, std::size_t Start, std::size_t Limit,
                                  TLine& Line, int Left, int Top, bool& DropRest, bool& LinkMet)
{
    Canvas->Font()->Assign(&P.Font);
    Canvas->Brush()->SetColor(P.BrushColor);
    Canvas->Brush()->SetStyle(P.BrushStyle);
    if (!Draw) {
        Line = TLine{};
        Line.GhHeight = Canvas->TextHeight("gh");
        Line.Height = Line.GhHeight;
    } else if (P.ParaBackground && !HitTest) {
        Canvas->FillRect(TRect{R.Left, Top, R.Right, Top + Canvas->TextHeight("gh")});
    }
    const int Avail = Available();
    int Width = 0;
    int TrailingBlank = 0;
    bool ListItemSeen = false;
    bool Ended = false;
    std::size_t At = Start;
    while (At < Limit && !Ended) {
        if (At < P.LtFrom || At > P.LtFound) {
            P.LtFrom = At;
            P.LtFound = S.find('<', At);
        }
        std::size_t Lt = P.LtFound;
        if (Lt == std::string::npos || Lt > Limit)
            Lt = Limit;
        std::size_t End = Lt;
        if (WordWrap)
            for (std::size_t I = At; I < Lt; ++I)
                if (S[I] == ' ') {
                    End = I + 1;
                    break;
                }
        if (End > At) {
            const std::string Piece = S.substr(At, End - At);
            const int PieceW = P.Hidden ? 0 : PieceWidth(Piece);
            bool LastOnLine = false;
            // A piece wider than the whole line stays where it starts the line; elsewhere it
            // wraps like any other, so that it does not drag the line past its edge.
            if (!Draw && Width + PieceW >= Avail && (At > Start || PieceW < Avail)) {
                if (WordWrap && At > Start) {
                    Ended = true;
                    break;
                }
                if (!WordWrap) {
                    LastOnLine = true;
                    DropRest = true;
                }
            }
            if (!Draw) {
                const int Th = Canvas->TextHeight(Piece);
                Line.Height = std::max(Line.Height, Th);
                if (P.Sub)
                    Line.SubExtra = std::max(Line.SubExtra, Th / 4);
                if (P.Sup)
                    Line.SupExtra = std::max(Line.SupExtra, Th / 4);
                PlainText += Piece;
            }
            if (!P.Hidden) {
                if (Draw) {
                    const int X = Left + Width;
                    if (P.InLink && HitX >= X && HitX < X + PieceW) {
                        LinkMet = true;
                        if (HitY > Top && HitY < Line.Bottom(Top))
                            Anchor = P.Link;
                    }
                    if (!HitTest)
                        DrawPiece(P, Piece, Line, X, Top, PieceW);
                }
                Width = std::min(Width + PieceW, INT_MAX / 4);
                TrailingBlank = Piece.back() == ' ' ? PieceWidth(" ") : 0;
            }
            At = End;
            if (LastOnLine)
                break;
            continue;
        }
        // A tag starts here.
        const std::size_t Gt = S.find('>', At);
        if (Limit - At < 3 || Gt == std::string::npos || Gt >= Limit) {
            DropRest = true;
            break;
        }
        const std::string Tag = S.substr(At, Gt - At + 1);
        const TTagEffect Effect =
            ApplyTag(P, Draw, Tag, Line, Width, Left, Top, At > Start, ListItemSeen, LinkMet);
        if (Effect == TTagEffect::EndBefore)
            break;
        At = Gt + 1;
        Ended = Effect == TTagEffect::EndAfter;
    }
    if (!Draw) {
        Line.Width = std::max(0, Width - TrailingBlank);
        Line.Align = P.Align;
    }
    P.Font.Assign(Canvas->Font());
    return At;
}

TTagEffect THtmlRenderer::ApplyTag(TPassState& P, bool Draw, const std::string& Tag, TLine& Line,
                                   int& Width, int Left, int Top, bool LineStarted,
                                   bool& ListItemSeen, bool& LinkMet)
{
    if (Tag[1] != '/')
        return ApplyOpenTag(P, Draw, Tag, Line, Width, Left, Top, LineStarted, ListItemSeen,
                            LinkMet);
    TTagEffect Effect = TTagEffect::Continue;
    ApplyCloseTag(P, Draw, Tag, Effect);
    return Effect;
}

TTagEffect THtmlRenderer::ApplyOpenTag(TPassState& P, bool Draw, const std::string& Tag,
                                       TLine& Line, int& Width, int Left, int Top, bool LineStarted,
                                       bool& ListItemSeen, bool& LinkMet)
{
    const std::string Upper = UpperCase(Tag);
    const char C1 = Upper[1];
    const char C2 = Upper.size() > 2 ? Upper[2] : '\0';
    const bool Paint = Painting(Draw);
    switch (C1) {
    case 'A':
        if (const auto Href = TagValue(Tag, "HREF")) {
            SetStyle(fsUnderline, true);
            if (!Selected)
                Canvas->Font()->SetColor(LinkColor);
            P.InLink = true;
            P.Link = *Href;
        }
        break;
    case 'B':
        if (Upper == "<B>") {
            SetStyle(fsBold, true);
        } else if (C2 == 'R') {
            if (!Draw)
                PlainText += '\r';
            return TTagEffect::EndAfter;
        } else if (C2 == 'L') {
            if (!BlinkVisible)
                Canvas->Font()->SetColor(EntryBrush);
        } else if (C2 == 'O') {
            if (const auto Background = TagValue(Tag, "BACKGROUND");
                Background && Paint && ContainsNoCase(*Background, "FILE://"))
                TileBackground(Canvas,
                               Background->substr(std::min<std::size_t>(7, Background->size())), R);
            if (const auto Color = TagValue(Tag, "BGCOLOR"); Color && Paint) {
                if (Color->find("cl") != std::string::npos)
                    SetBrush(P, ColorFromName(*Color), bsSolid);
                else if (Color->find('#') != std::string::npos)
                    SetBrush(P, ColorFromHex(*Color), bsSolid);
                else
                    break;
                Canvas->FillRect(R);
            }
        }
        break;
    case 'F':
        if (const auto Face = TagValue(Tag, "FACE"))
            Canvas->Font()->SetName(UpperCase(*Face));
        if (const auto Color = TagValue(Tag, "COLOR"); Color && !HitTest && !Selected) {
            if (!Color->empty() && (*Color)[0] == 'C')
                Canvas->Font()->SetColor(ColorFromName(*Color));
            else if (!Color->empty() && (*Color)[0] == 'c')
                Canvas->Font()->SetColor(ColorFromName(*Color));
            else if (Color->find('#') != std::string::npos)
                Canvas->Font()->SetColor(ColorFromHex(*Color));
        }
        if (const auto Color = TagValue(Tag, "BGCOLOR"); Color && !HitTest && !Selected) {
            if (!P.BrushSaved) {
                P.BrushSaved = true;
                P.SavedBrushColor = P.BrushColor;
                P.SavedBrushStyle = P.BrushStyle;
            }
            const bool Named = Color->find('#') == std::string::npos;
            SetBrush(P, Named ? ColorFromName(*Color) : ColorFromHex(*Color), bsSolid);
            P.TextBackground = true;
        }
        if (const auto Size = TagValue(Tag, "SIZE")) {
            const int Points = LeadingInt(*Size).value_or(0);
            Canvas->Font()->SetSize(std::clamp(Points, MinFontSize, MaxFontSize));
        }
        break;
    case 'H': {
        if (Paint) {
            const int Y = Line.Bottom(Top) + 1;
            Canvas->Pen()->SetColor(clBlack);
            Canvas->Pen()->SetStyle(psSolid);
            Canvas->Pen()->SetWidth(1);
            Canvas->MoveTo(R.Left + 1, Y);
            Canvas->LineTo(R.Right, Y);
        }
        return TTagEffect::EndAfter;
    }
    case 'I':
        if (Upper == "<I>") {
            SetStyle(fsItalic, true);
        } else if (C2 == 'N') {
            int X = 0;
            if (const auto Value = TagValue(Tag, "X"); Value && TryStrToInt(*Value, X) && X > Width)
                Width = std::min(X, Available());
        } else if (C2 == 'M') {
            return Image(Draw, P, Tag, Line, Width, Left, Top, LineStarted, LinkMet);
        }
        break;
    case 'L': {
        if (ListItemSeen && LineStarted && !Draw)
            return TTagEffect::EndBefore;
        ListItemSeen = true;
        Width = std::min(Width + BulletWidth * P.ListLevel, Available());
        if (Paint) {
            const std::string Name = Canvas->Font()->Name();
            Canvas->Font()->SetName("Symbol");
            TRect Box{Left + Width - BulletWidth, Top, Left + Width,
                      Top + Line.SupExtra + Line.Height - Line.ImageOffset};
            Canvas->DrawText(P.ListLevel % 2 == 1 ? std::string("\xB7") : std::string("o"), Box,
                             BaseFormat);
            Canvas->Font()->SetName(Name);
        }
        break;
    }
    case 'P': {
        if (const auto Align = TagValue(Tag, "ALIGN")) {
            const std::string Value = UpperCase(*Align);
            if (Value.find("LEFT") != std::string::npos)
                P.Align = 0;
            else if (Value.find("RIGHT") != std::string::npos)
                P.Align = 1;
            else if (Value.find("CENTER") != std::string::npos)
                P.Align = 2;
            if (!Draw)
                Line.Align = P.Align;
        }
        if (const auto Color = TagValue(Tag, "BGCOLOR"); Color && Paint) {
            TColor Value = 0;
            if (ContainsNoCase(*Color, "CL"))
                Value = ColorFromName(*Color);
            else if (Color->find('#') != std::string::npos)
                Value = ColorFromHex(*Color);
            else
                break;
            SetBrush(P, Value, bsSolid);
            P.ParaBackground = true;
            P.ParaColor = Value;
            Canvas->FillRect(TRect{R.Left, Top, R.Right, Line.Bottom(Top)});
        }
        break;
    }
    case 'R': {
        const std::size_t Quote = Tag.find('"');
        const int Angle =
            Quote == std::string::npos ? 0 : LeadingInt(Tag.substr(Quote + 1)).value_or(0) % 360;
        if (!P.Unrotated) {
            P.Unrotated = std::make_unique<TFont>();
            P.Unrotated->Assign(Canvas->Font());
        }
        Canvas->Font()->SetEscapement(Angle * 10);
        Canvas->Font()->SetOrientation(Angle * 10);
        break;
    }
    case 'S':
        if (Upper == "<S>")
            SetStyle(fsStrikeOut, true);
        else if (C2 == 'H')
            P.Shadow = true;
        else if (Upper.rfind("<SUB>", 0) == 0)
            P.Sub = true;
        else if (Upper.rfind("<SUP>", 0) == 0)
            P.Sup = true;
        break;
    case 'U':
        if (Upper == "<U>")
            SetStyle(fsUnderline, true);
        else
            P.ListLevel = std::min(P.ListLevel + 1, MaxListLevel);
        break;
    case 'Z':
        if (Upper == "<Z>")
            P.Hidden = true;
        break;
    default:
        break;
    }
    return TTagEffect::Continue;
}

void THtmlRenderer::ApplyCloseTag(TPassState& P, bool Draw, const std::string& Tag,
                                  TTagEffect& Effect)
{
    const std::string Upper = UpperCase(Tag);
    const char C1 = Upper.size() > 2 ? Upper[2] : '\0';
    const char C2 = Upper.size() > 3 ? Upper[3] : '\0';
    switch (C1) {
    case 'A':
        SetStyle(fsUnderline, false);
        if (!Selected)
            Canvas->Font()->SetColor(BaseColor);
        P.InLink = false;
        P.Link.clear();
        break;
    case 'B':
        if (Upper == "</B>")
            SetStyle(fsBold, false);
        else if (!Selected)
            Canvas->Font()->SetColor(BaseColor);
        break;
    case 'F':
        Canvas->Font()->SetName(BaseName);
        Canvas->Font()->SetSize(BaseSize);
        if (!HitTest && !Selected) {
            Canvas->Font()->SetColor(BaseColor);
            if (P.BrushSaved)
                SetBrush(P, P.SavedBrushColor, P.SavedBrushStyle);
            else
                SetBrush(P, P.BrushColor, bsClear);
            P.BrushSaved = false;
            P.TextBackground = false;
        }
        break;
    case 'I':
        if (Upper == "</I>")
            SetStyle(fsItalic, false);
        break;
    case 'P':
        Effect = TTagEffect::EndAfter;
        if (Painting(Draw)) {
            SetBrush(P, EntryBrush, P.BrushStyle);
            P.ParaBackground = false;
        }
        break;
    case 'R':
        if (P.Unrotated) {
            Canvas->Font()->Assign(P.Unrotated.get());
            P.Unrotated.reset();
        }
        break;
    case 'S':
        if (C2 == 'H')
            P.Shadow = false;
        else if (C2 == 'U')
            P.Sub = P.Sup = false;
        else
            SetStyle(fsStrikeOut, false);
        break;
    case 'U':
        if (Upper == "</U>")
            SetStyle(fsUnderline, false);
        else if (P.ListLevel > 0)
            --P.ListLevel;
        else
            SetStyle(fsUnderline, false);
        break;
    case 'Z':
        if (Upper == "</Z>")
            P.Hidden = false;
        break;
    default:
        break;
    }
}

TTagEffect THtmlRenderer::Image(bool Draw, const TPassState& P, const std::string& Tag, TLine& Line,
                                int& Width, int Left, int Top, bool LineStarted, bool& LinkMet)
{
    THtmlImageRequest Request;
    Request.Source = TagValue(Tag, "SRC").value_or("");
    if (const auto W = TagValue(Tag, "WIDTH"))
        Request.Width = std::clamp(LeadingInt(*W).value_or(0), 0, MaxImageSize);
    if (const auto H = TagValue(Tag, "HEIGHT"))
        Request.Height = std::clamp(LeadingInt(*H).value_or(0), 0, MaxImageSize);
    Request.ForPrinter = ForPrinter;
    Request.ScaleFactor = ScaleFactor;
    TSize Size;
    const int X = Left + Width;
    if (!HtmlImage(Painting(Draw) ? Canvas : nullptr, Images, Request, X, Top, Size))
        return TTagEffect::Continue;
    if (!Draw) {
        const int Avail = Available();
        if (LineStarted && Width + Size.cx > Avail && Size.cx < Avail)
            return TTagEffect::EndBefore;
        Line.Height = std::max(Line.Height, Size.cy);
        const std::string Upper = UpperCase(Tag);
        if (Upper.find("\"TOP") != std::string::npos)
            Line.ImageOffset = Line.Height - Line.GhHeight;
        else if (Upper.find("\"MIDDLE") != std::string::npos)
            Line.ImageOffset = (Line.Height - Line.GhHeight) / 2;
    } else if (P.InLink && HitX >= X && HitX < X + Size.cx && HitY > Top &&
               HitY < Line.Bottom(Top)) {
        LinkMet = true;
        Result = true;
        Anchor = P.Link;
    }
    Width = std::min(Width + Size.cx, INT_MAX / 4);
    return TTagEffect::Continue;
}

} // namespace

bool RenderHtml(TCanvas* Canvas, const std::string& Text, TRect R, TImageList* Images, int HitX,
                int HitY, bool HitTest, bool MeasureOnly, bool ForPrinter, bool Selected,
                bool BlinkVisible, bool WordWrap, double ScaleFactor, TColor LinkColor,
                std::string& Anchor, std::string& PlainText, int& TextWidth, int& TextHeight)
{
    TextWidth = 0;
    TextHeight = 0;
    PlainText.clear();
    THtmlRenderer Html(Canvas, R, Images, Anchor, PlainText);
    Html.HitX = HitX;
    Html.HitY = HitY;
    Html.HitTest = HitTest;
    Html.ForPrinter = ForPrinter;
    Html.Selected = Selected;
    Html.BlinkVisible = BlinkVisible;
    Html.WordWrap = WordWrap;
    Html.ScaleFactor = ScaleFactor;
    Html.LinkColor = LinkColor;
    Html.S = DecodeEntities(Text);
    UnwrapHashTag(Html.S);

    // Everything the tags change comes back on return.
    TFont EntryFont;
    EntryFont.Assign(Canvas->Font());
    TBrush EntryBrush;
    EntryBrush.Assign(Canvas->Brush());
    TPen EntryPen;
    EntryPen.Assign(Canvas->Pen());
    const int EntryBkMode = Canvas->SetBkMode(TRANSPARENT);

    Html.BaseColor = EntryFont.Color();
    Html.BaseName = EntryFont.Name();
    Html.BaseSize = EntryFont.Size();
    Html.EntryBrush = EntryBrush.Color();
    if (!WordWrap)
        Html.Format |= DT_END_ELLIPSIS;
    for (TPassState* P : {&Html.Measuring, &Html.Drawing}) {
        P->Font.Assign(&EntryFont);
        P->BrushColor = EntryBrush.Color();
        P->BrushStyle = EntryBrush.Style();
    }

    long long Top = R.Top;
    long long Height = 0;
    bool LaidOut = false;
    std::size_t At = 0;
    while (At < Html.S.size()) {
        TLine Line;
        bool DropRest = false;
        bool Unused = false;
        const std::size_t End =
            Html.Layout(Html.Measuring, false, At, Html.S.size(), Line, 0, 0, DropRest, Unused);
        int Left = R.Left + 1;
        if (Line.Align == 1)
            Left = R.Right - Line.Width;
        else if (Line.Align == 2)
            Left = R.Left + (R.Right - R.Left - Line.Width) / 2;
        if (!MeasureOnly) {
            bool LinkMet = false;
            bool Ignored = false;
            const int LineTop = static_cast<int>(Top);
            Html.Layout(Html.Drawing, true, At, End, Line, Left, LineTop, Ignored, LinkMet);
            const int Bottom = Line.Bottom(LineTop) - Line.ImageOffset;
            if (LinkMet && HitY > Bottom - Line.GhHeight && HitY < Bottom)
                Html.Result = true;
        }
        const int Step = Line.Height + Line.SubExtra + Line.SupExtra;
        Top += Step;
        Height = std::min<long long>(Height + Step, INT_MAX);
        TextWidth = std::max(TextWidth, Line.Width);
        LaidOut = true;
        if (DropRest || End <= At)
            break;
        At = End;
        if (!MeasureOnly && Top + Line.Height > R.Bottom)
            break;
    }

    Canvas->Font()->Assign(&EntryFont);
    TextHeight = LaidOut ? static_cast<int>(Height) : Canvas->TextHeight("gh");
    Canvas->Brush()->Assign(&EntryBrush);
    Canvas->Pen()->Assign(&EntryPen);
    Canvas->SetBkMode(EntryBkMode);
    return Html.Result;
}

std::string HtmlToPlainText(const std::string& Text)
{
    std::string Broken;
    Broken.reserve(Text.size());
    for (std::size_t I = 0; I < Text.size();) {
        if (Text[I] == '<' && I + 4 <= Text.size()) {
            const std::string Tag = UpperCase(Text.substr(I, 4));
            if (Tag == "<BR>" || Tag == "<HR>") {
                Broken += "\r\n";
                I += 4;
                continue;
            }
        }
        Broken += Text[I++];
    }
    std::string Result;
    Result.reserve(Broken.size());
    std::size_t At = 0;
    while (At < Broken.size()) {
        const std::size_t Lt = Broken.find('<', At);
        if (Lt == std::string::npos)
            break;
        const std::size_t Gt = Broken.find('>', Lt);
        if (Gt == std::string::npos)
            break;
        Result.append(Broken, At, Lt - At);
        At = Gt + 1;
    }
    Result.append(Broken, At, std::string::npos);
    return Result;
}
