// platform/dialogs/fontdialog.cpp: the font dialog's request and the font it takes back.
#include "platform/dialogs/fontdialog.h"

TFontDialog::TFontDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), FFont(std::make_unique<TFont>())
{
}

TFontDialog::~TFontDialog() = default;

TFontDescription DescribeFont(const TFont& Font)
{
    TFontDescription Description;
    Description.Name = Font.Name();
    Description.Size = Font.Size();
    Description.Style = Font.Style();
    Description.Color = Font.Color();
    Description.Charset = Font.Charset();
    Description.Pitch = Font.Pitch();
    return Description;
}

void ApplyFontDescription(const TFontDescription& Description, TFont& Font)
{
    Font.SetName(Description.Name);
    Font.SetSize(Description.Size);
    Font.SetStyle(Description.Style);
    Font.SetColor(Description.Color);
    Font.SetCharset(Description.Charset);
    Font.SetPitch(Description.Pitch);
}

bool TFontDialog::Execute()
{
    TDialogRequest Request;
    Request.Kind = TDialogKind::Font;
    Request.Font = DescribeFont(*FFont);
    Request.Options = static_cast<unsigned>(FOptions.Bits());
    Request.HelpCtx = HelpContext();
    if (FOptions.Contains(fdLimitSize)) {
        Request.MinFontSize = FMinFontSize;
        Request.MaxFontSize = FMaxFontSize;
    }
    const TDialogAnswer Answer = Run(Request);
    if (Answer.Result != mrOk)
        return false;
    TFontDescription Chosen = Answer.Font;
    // Without effects the dialog offers no colour, underline or strike-out: those stay.
    if (!FOptions.Contains(fdEffects)) {
        Chosen.Color = FFont->Color();
        Chosen.Style.Exclude(fsUnderline).Exclude(fsStrikeOut);
        Chosen.Style += FFont->Style() * TFontStyles{fsUnderline, fsStrikeOut};
    }
    ApplyFontDescription(Chosen, *FFont);
    return true;
}
