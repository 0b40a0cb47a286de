// Any text pasted into numeric fields of each of the ten data types (the way WM_SETTEXT pastes:
// the whole text selected, then the text entered as if typed): the value read back lies in the
// field's range, or the read reports an error code. Also the number clean-up FixNumberText.
#include "controls/entry/ovccontroller.h"
#include "controls/entry/ovcmisc.h"
#include "controls/entry/ovcnf.h"
#include "fuzz/fuzzinput.h"
#include "platform/forms/form.h"
#include "platform/gfx/fontengine.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Made once: an application, a form with its controller and one field per data type.
struct TFields {
    TFields()
    {
        ::setenv("TARNWICK_BACKEND", "headless", 0);
        // Fonts measure alike on every machine, and no font library is loaded.
        SetDeterministicFontMetrics(true);
        App = new TApplication(nullptr);
        Application = App;
        Form = new TForm(App);
        Controller = new TOvcController(Form);
        for (std::size_t I = 0; I < Fields.size(); ++I) {
            TOvcNumericField* F = new TOvcNumericField(Form);
            F->SetParent(Form);
            F->SetDataType(static_cast<TNumericDataType>(I));
            Fields[I] = F;
        }
        // A narrow range as the settings windows use, and a mask with parentheses.
        Fields[nftLongInt]->SetPictureMask("##########");
        Fields[nftLongInt]->SetRangeLo("2");
        Fields[nftLongInt]->SetRangeHi("600");
        Fields[nftInteger]->SetPictureMask("###,###p");
        Fields[nftWord]->SetPictureMask("KKKK");
        Fields[nftDouble]->SetPictureMask("$##,###.##");
        Form->Show();
    }

    TApplication* App = nullptr;
    TForm* Form = nullptr;
    TOvcController* Controller = nullptr;
    std::array<TOvcNumericField*, 10> Fields{};
};

template <class T>
T Stored(const std::array<Byte, 16>& Buffer)
{
    T V{};
    std::memcpy(&V, Buffer.data(), sizeof V);
    return V;
}

bool InRange(TOvcNumericField* F, const std::array<Byte, 16>& Buffer)
{
    const TRangeType& Lo = F->RawRangeLo();
    const TRangeType& Hi = F->RawRangeHi();
    switch (F->DataType()) {
    case nftLongInt:
        return Stored<std::int32_t>(Buffer) >= Lo.AsLong() &&
               Stored<std::int32_t>(Buffer) <= Hi.AsLong();
    case nftWord:
        return Stored<std::uint16_t>(Buffer) >= Lo.AsLong() &&
               Stored<std::uint16_t>(Buffer) <= Hi.AsLong();
    case nftInteger:
        return Stored<std::int16_t>(Buffer) >= Lo.AsLong() &&
               Stored<std::int16_t>(Buffer) <= Hi.AsLong();
    case nftByte:
        return Stored<std::uint8_t>(Buffer) >= Lo.AsLong() &&
               Stored<std::uint8_t>(Buffer) <= Hi.AsLong();
    case nftShortInt:
        return Stored<std::int8_t>(Buffer) >= Lo.AsLong() &&
               Stored<std::int8_t>(Buffer) <= Hi.AsLong();
    case nftReal:
        return Stored<double>(Buffer) >= Lo.AsReal() && Stored<double>(Buffer) <= Hi.AsReal();
    case nftExtended: {
        TRangeType V;
        std::memcpy(V.Bytes.data(), Buffer.data(), V.Bytes.size());
        return V.AsExtended() >= Lo.AsExtended() && V.AsExtended() <= Hi.AsExtended();
    }
    case nftDouble:
        return Stored<double>(Buffer) >= static_cast<double>(Lo.AsExtended()) &&
               Stored<double>(Buffer) <= static_cast<double>(Hi.AsExtended());
    case nftSingle:
        return Stored<float>(Buffer) >= static_cast<float>(Lo.AsExtended()) &&
               Stored<float>(Buffer) <= static_cast<float>(Hi.AsExtended());
    case nftComp:
        return static_cast<long double>(Stored<std::int64_t>(Buffer)) >=
                   std::floor(Lo.AsExtended()) &&
               static_cast<long double>(Stored<std::int64_t>(Buffer)) <= std::ceil(Hi.AsExtended());
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static TFields* Made = new TFields();
    const std::string Text = InputText(Data, Size);
    for (TOvcNumericField* F : Made->Fields) {
        F->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str()));
        Check(F->GetEditText().size() <= F->MaxLength());
        std::array<Byte, 16> Buffer{};
        const Word Code = F->ReadValue(Buffer.data());
        Check(Code == oeRangeError || Code == oeInvalidNumber || InRange(F, Buffer));
    }
    Made->App->ProcessMessages();

    // A text of digits with one decimal character converts whole once cleaned up.
    for (char Decimal : {'.', ','}) {
        const std::string Fixed = FixNumberText(Text, Decimal);
        Check(!Fixed.empty());
        const bool Plain =
            Text.find_first_not_of(std::string("0123456789") + Decimal) == std::string::npos &&
            Text.find_first_of("0123456789") != std::string::npos &&
            std::count(Text.begin(), Text.end(), Decimal) <= 1 && Text.size() < 64;
        if (Plain) {
            char* End = nullptr;
            std::strtod(Fixed.c_str(), &End);
            Check(End != nullptr && *End == 0);
        }
    }
    return 0;
}
