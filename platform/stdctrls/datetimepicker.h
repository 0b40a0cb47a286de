// platform/stdctrls/datetimepicker.h: TDateTimePicker, the class library's date or time picker
// on the "SysDateTimePick32" window class: a date with a drop-down calendar or up-down buttons,
// or a time, in the locale's short or long date format or a format of its own, with limits and
// an optional check box; the value is read back from the window's notifications.
#pragma once

#include "platform/forms/controls.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "platform/stdctrls/monthcalendar.h"

#include <string>

// A date set outside MinDate..MaxDate, or limits that cross.
TW_DECLARE_EXCEPTION(EDateTimeError, ECommonCalendarError);

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };
enum TDTDateFormat { dfShort, dfLong };

class TDateTimePicker : public TWinControl {
public:
    explicit TDateTimePicker(TComponent* AOwner);
    ~TDateTimePicker() override;

    TDateTime Date() const;
    void SetDate(TDateTime Value);
    TDateTime Time() const;
    void SetTime(TDateTime Value);
    TDateTime DateTime() const { return FDateTime; }
    void SetDateTime(TDateTime Value);
    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind Value);
    TDTDateMode DateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode Value);
    TDTDateFormat DateFormat() const { return FDateFormat; }
    void SetDateFormat(TDTDateFormat Value);
    // The picker's own format letters (d M y h H m s t, quoted text); empty: the locale's.
    const std::string& Format() const { return FFormat; }
    void SetFormat(const std::string& Value);
    // 0: no limit.
    TDateTime MinDate() const { return FMinDate; }
    void SetMinDate(TDateTime Value);
    TDateTime MaxDate() const { return FMaxDate; }
    void SetMaxDate(TDateTime Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    bool ShowCheckbox() const { return FShowCheckbox; }
    void SetShowCheckbox(bool Value);
    bool DroppedDown() const;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DefaultHandler(TMessage& Message) override;
    virtual void Change();
    virtual void DropDown();
    virtual void CloseUp();

    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMMouse(TMessage& Message);
    void CNNotify(TMessage& Message);
    void CMCancelMode(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMColorChanged(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    void CheckLimits(TDateTime Value) const;
    void SendValue();
    void SendRange();
    void ApplyLook();
    int FixedHeight();

    TDateTime FDateTime = 0;
    TDateTimeKind FKind = dtkDate;
    TDTDateMode FDateMode = dmComboBox;
    TDTDateFormat FDateFormat = dfShort;
    std::string FFormat;
    TDateTime FMinDate = 0;
    TDateTime FMaxDate = 0;
    bool FChecked = true;
    bool FShowCheckbox = false;
    bool FDropped = false;
};
