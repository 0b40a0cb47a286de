// mail/dialogs/msaddred.h: TMailAddressDlg, the small modal dialog that edits one mailbox's
// display name and address, and the start-up call that makes it ZevMailAddress's editor.
#pragma once

#include "mail/mspars.h"
#include "platform/forms/form.h"

#include <memory>
#include <string>

class TBevel;
class TButton;
class TEdit;
class TLabel;

class TMailAddressDlg : public TForm {
public:
    explicit TMailAddressDlg(TComponent* AOwner);
    ~TMailAddressDlg() override;

    TBevel* Bevel1;
    TLabel* Label2;
    TEdit* NameEdit;
    TLabel* Label1;
    TEdit* AddressEdit;
    TButton* OKButton;
    TButton* CancelButton;

    void FormCreate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    // Stores the two fields, each cut to 255 bytes without splitting a character.
    void OKButtonClick(TObject* Sender);

    // Copies Address into the dialog's own address and fills the two fields from it.
    void SetAddress(const ZevMailAddress* Address);
    // The dialog's own address (null before FormCreate and after FormDestroy).
    ZevMailAddress* Address() const { return FAddress.get(); }

private:
    std::unique_ptr<ZevMailAddress> FAddress;
};

// Makes ZevMailAddress::Edit show the dialog: it copies the address in, runs modally and on OK
// hands the edited values back; the dialog is freed in every case.
void InstallMailAddressEditor();
