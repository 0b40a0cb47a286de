// mail/dialogs/msaddred.cpp: the address dialog.
#include "mail/dialogs/msaddred.h"

#include "platform/rtl/strings.h"
#include "platform/stdctrls/bevel.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/label.h"

namespace {

constexpr std::size_t MaxFieldBytes = 255;

// At most Limit bytes of Text, ending on a whole character: a UTF-8 sequence that does not fit
// is left out entirely; bytes that are not UTF-8 count one each and are kept as they are.
std::string CutToWholeCharacters(const std::string& Text, std::size_t Limit)
{
    std::size_t End = 0;
    while (End < Text.size()) {
        std::size_t Next = End;
        char32_t Code = 0;
        if (!DecodeUtf8At(Text, Next, Code))
            Next = End + 1;
        if (Next > Limit)
            break;
        End = Next;
    }
    return Text.substr(0, End);
}

template <class T>
T* Put(TMailAddressDlg* Form, const char* Name, int Left, int Top, int Width, int Height)
{
    T* Control = new T(Form);
    Control->SetName(Name);
    Control->SetParent(Form);
    Control->SetBounds(Left, Top, Width, Height);
    return Control;
}

} // namespace

TMailAddressDlg::TMailAddressDlg(TComponent* AOwner) : TForm(AOwner)
{
    SetName("MailAddressDlg");
    SetCaption("Address");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(240);
    SetClientHeight(124);

    Bevel1 = Put<TBevel>(this, "Bevel1", 8, 8, 225, 73);
    Label2 = Put<TLabel>(this, "Label2", 24, 24, 0, 0);
    Label2->SetCaption("Name");
    NameEdit = Put<TEdit>(this, "NameEdit", 64, 16, 161, 21);
    NameEdit->SetTabOrder(0);
    Label1 = Put<TLabel>(this, "Label1", 16, 56, 0, 0);
    Label1->SetCaption("Address");
    AddressEdit = Put<TEdit>(this, "AddressEdit", 64, 48, 161, 21);
    AddressEdit->SetTabOrder(1);
    // Below the bevel, right-aligned with it.
    OKButton = Put<TButton>(this, "OKButton", 75, 89, 75, 25);
    OKButton->SetCaption("OK");
    OKButton->SetDefault(true);
    OKButton->SetModalResult(mrOk);
    OKButton->SetTabOrder(2);
    OKButton->OnClick = [this](TObject* Sender) { OKButtonClick(Sender); };
    CancelButton = Put<TButton>(this, "CancelButton", 158, 89, 75, 25);
    CancelButton->SetCaption("Cancel");
    CancelButton->SetCancel(true);
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetTabOrder(3);

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnDestroy = [this](TObject* Sender) { FormDestroy(Sender); };
    AfterConstruction();
}

TMailAddressDlg::~TMailAddressDlg()
{
    // The base class would run OnDestroy once this part of the object is gone: run it now.
    if (OnDestroy) {
        const TNotifyEvent Handler = std::move(OnDestroy);
        OnDestroy = nullptr;
        Handler(this);
    }
}

void TMailAddressDlg::FormCreate(TObject*)
{
    FAddress = std::make_unique<ZevMailAddress>();
}

void TMailAddressDlg::FormDestroy(TObject*)
{
    FAddress.reset();
}

void TMailAddressDlg::SetAddress(const ZevMailAddress* Address)
{
    FAddress->Assign(Address);
    NameEdit->SetText(FAddress->Name);
    AddressEdit->SetText(FAddress->Address);
}

void TMailAddressDlg::OKButtonClick(TObject*)
{
    FAddress->Name = CutToWholeCharacters(NameEdit->Text(), MaxFieldBytes);
    FAddress->Address = CutToWholeCharacters(AddressEdit->Text(), MaxFieldBytes);
}

void InstallMailAddressEditor()
{
    ZevMailAddress::Editor = [](ZevMailAddress* Address) {
        auto Dialog = std::make_unique<TMailAddressDlg>(nullptr);
        Dialog->SetAddress(Address);
        if (Dialog->ShowModal() != mrOk)
            return false;
        Address->Assign(Dialog->Address());
        return true;
    };
}
