// platform/dialogs/filedialogs.cpp: the file dialogs' requests and what they take back.
#include "platform/dialogs/filedialogs.h"

#include "platform/gfx/graphic.h"
#include "platform/rtl/classregistry.h"
#include "platform/rtl/files.h"
#include "platform/rtl/strings.h"

TOpenDialog::TOpenDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), FFiles(std::make_unique<TStringList>())
{
}

TOpenDialog::~TOpenDialog() = default;

void TOpenDialog::SetDefaultExt(const std::string& Value)
{
    // Units write ".txt" as often as "txt".
    FDefaultExt = !Value.empty() && Value.front() == '.' ? Value.substr(1) : Value;
}

bool TOpenDialog::Execute()
{
    return DoExecute(TDialogKind::OpenFile, false);
}

bool TOpenDialog::DoExecute(TDialogKind Kind, bool Preview)
{
    TDialogRequest Request;
    Request.Kind = Kind;
    Request.Caption = FTitle;
    Request.Value = FFileName;
    Request.Filter = FFilter;
    Request.FilterIndex = FFilterIndex;
    Request.InitialDir = FInitialDir;
    Request.DefaultExt = FDefaultExt;
    Request.Options = static_cast<unsigned>(FOptions.Bits());
    Request.HelpCtx = HelpContext();
    Request.Preview = Preview;
    const TDialogAnswer Answer = Run(Request);
    if (Answer.Result != mrOk)
        return false;
    FFileName = Answer.Value;
    if (Answer.FilterIndex > 0)
        FFilterIndex = Answer.FilterIndex;
    FFiles->Clear();
    FFiles->Add(FFileName);
    // Told as the classic dialog tells it: the extension chosen is not the default one.
    if (!FDefaultExt.empty() && !SameText(ExtractFileExt(FFileName), "." + FDefaultExt))
        FOptions.Include(ofExtensionDifferent);
    else
        FOptions.Exclude(ofExtensionDifferent);
    return true;
}

bool TSaveDialog::Execute()
{
    return DoExecute(TDialogKind::SaveFile, false);
}

TOpenPictureDialog::TOpenPictureDialog(TComponent* AOwner) : TOpenDialog(AOwner)
{
    SetFilter(GraphicFilter(TMetaClass::Of<TGraphic>()));
}

bool TOpenPictureDialog::Execute()
{
    return DoExecute(TDialogKind::OpenFile, true);
}

bool TSavePictureDialog::Execute()
{
    return DoExecute(TDialogKind::SaveFile, true);
}
