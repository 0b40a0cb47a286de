#include "controls/entry/ovcexcpt.h"

#include "controls/entry/ovcintl.h"
#include "controls/entry/ovcsrmgr.h"
#include "platform/rtl/format.h"

namespace {

std::string RangeMessage(int DataType, const std::string& Picture)
{
    struct TLimits {
        long long Low;
        long long High;
    };
    static const TLimits Integers[] = {
        {-2147483648LL, 2147483647LL}, // LongInt
        {0, 65535},                    // Word
        {-32768, 32767},               // SmallInt
        {0, 255},                      // Byte
        {-128, 127},                   // ShortInt
    };
    if (DataType >= 4 && DataType <= 8) {
        const TLimits& L = Integers[DataType - 4];
        return Format(LibraryString(30203), L.Low, L.High);
    }
    if (DataType >= 9 && DataType <= 13) // Real, Extended, Double, Single, Comp
        return LibraryString(static_cast<std::uint16_t>(30204 + (DataType - 9)));
    if (DataType == 14)
        return Format(LibraryString(30209),
                      Picture.empty() ? OvcIntlSup().DatePicture(true) : Picture);
    if (DataType == 15)
        return Format(LibraryString(30210),
                      Picture.empty() ? OvcIntlSup().TimePicture(false) : Picture);
    return LibraryString(30211);
}

} // namespace

ENoTimersAvailable::ENoTimersAvailable() : EOvcException(LibraryString(30189)) {}
ENoControllerAssigned::ENoControllerAssigned() : EControllerError(LibraryString(30172)) {}
EDuplicateCommand::EDuplicateCommand() : ECmdProcessorError(LibraryString(30169)) {}
ETableNotFound::ETableNotFound() : ECmdProcessorError(LibraryString(30170)) {}
EInvalidDataType::EInvalidDataType() : EEntryFieldError(LibraryString(30194)) {}

EInvalidPictureMask::EInvalidPictureMask(const std::string& Mask)
    : EEntryFieldError(Format(LibraryString(30202), Mask))
{
}

EInvalidRangeValue::EInvalidRangeValue(int DataType, const std::string& Picture)
    : EEntryFieldError(RangeMessage(DataType, Picture))
{
}

EInvalidLineOrCol::EInvalidLineOrCol() : EEditorError(LibraryString(30216), 0) {}
EInvalidLineOrPara::EInvalidLineOrPara() : EEditorError(LibraryString(30213), 0) {}
EInvalidTriggerHandle::EInvalidTriggerHandle() : ETimerPoolError(LibraryString(30191)) {}
EInvalidFixedFont::EInvalidFixedFont() : EFixedFontError(LibraryString(30214)) {}
