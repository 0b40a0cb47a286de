// controls/entry/ovcexcpt.h: the entry-field library's exceptions, worded by its message table
// (LibraryString) when they are made.
#pragma once

#include "platform/rtl/exceptions.h"

#include <string>

class EOvcException : public Exception {
public:
    explicit EOvcException(std::string Msg) : Exception(std::move(Msg)) {}
    int ErrorCode = 0;
};

class ENoTimersAvailable : public EOvcException {
public:
    ENoTimersAvailable();
};

TW_DECLARE_EXCEPTION(EControllerError, EOvcException);
class ENoControllerAssigned : public EControllerError {
public:
    ENoControllerAssigned();
};

TW_DECLARE_EXCEPTION(ECmdProcessorError, EOvcException);
class EDuplicateCommand : public ECmdProcessorError {
public:
    EDuplicateCommand();
};
class ETableNotFound : public ECmdProcessorError {
public:
    ETableNotFound();
};

TW_DECLARE_EXCEPTION(EEntryFieldError, EOvcException);
class EInvalidDataType : public EEntryFieldError {
public:
    EInvalidDataType();
};
class EInvalidPictureMask : public EEntryFieldError {
public:
    explicit EInvalidPictureMask(const std::string& Mask);
};
// Names the limits of the entry-field data type DataType (4 LongInt ... 15 Time). The date (14)
// and time (15) messages show Picture, by default the international date picture with the
// century and the time picture without seconds.
class EInvalidRangeValue : public EEntryFieldError {
public:
    explicit EInvalidRangeValue(int DataType, const std::string& Picture = std::string());
};

class EEditorError : public EOvcException {
public:
    // CreateWithCode.
    EEditorError(std::string Msg, int Code) : EOvcException(std::move(Msg)) { ErrorCode = Code; }
};
class EInvalidLineOrCol : public EEditorError {
public:
    EInvalidLineOrCol();
};
class EInvalidLineOrPara : public EEditorError {
public:
    EInvalidLineOrPara();
};

TW_DECLARE_EXCEPTION(ETimerPoolError, EOvcException);
class EInvalidTriggerHandle : public ETimerPoolError {
public:
    EInvalidTriggerHandle();
};

TW_DECLARE_EXCEPTION(EFixedFontError, EOvcException);
class EInvalidFixedFont : public EFixedFontError {
public:
    EInvalidFixedFont();
};
