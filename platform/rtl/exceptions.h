// platform/rtl/exceptions.h: Exception and the runtime's exception classes.
// Every failure the system reports is one of these, carrying an English Message().
#pragma once

#include <exception>
#include <string>
#include <typeinfo>

class Exception : public std::exception {
public:
    explicit Exception(std::string Msg) : FMessage(std::move(Msg)) {}

    const std::string& Message() const { return FMessage; }
    void SetMessage(const std::string& Value) { FMessage = Value; }
    int HelpContext = 0;

    const char* what() const noexcept override { return FMessage.c_str(); }
    // The dynamic class name ("EConvertError"), as a message box or log shows it.
    std::string ClassName() const;

private:
    std::string FMessage;
};

#define TW_DECLARE_EXCEPTION(Name, Base)                                                           \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
    }

// Silent exception: unwinds without a message box.
TW_DECLARE_EXCEPTION(EAbort, Exception);
[[noreturn]] void Abort();

TW_DECLARE_EXCEPTION(EOutOfMemory, Exception);
TW_DECLARE_EXCEPTION(EConvertError, Exception);
TW_DECLARE_EXCEPTION(EInvalidOperation, Exception);
TW_DECLARE_EXCEPTION(EInvalidPointer, Exception);
TW_DECLARE_EXCEPTION(EInvalidCast, Exception);
TW_DECLARE_EXCEPTION(EVariantError, Exception);
TW_DECLARE_EXCEPTION(EAssertionFailed, Exception);

TW_DECLARE_EXCEPTION(EIntError, Exception);
TW_DECLARE_EXCEPTION(EDivByZero, EIntError);
TW_DECLARE_EXCEPTION(ERangeError, EIntError);
TW_DECLARE_EXCEPTION(EIntOverflow, EIntError);
TW_DECLARE_EXCEPTION(EMathError, Exception);
TW_DECLARE_EXCEPTION(EInvalidOp, EMathError);
TW_DECLARE_EXCEPTION(EZeroDivide, EMathError);
TW_DECLARE_EXCEPTION(EOverflow, EMathError);
TW_DECLARE_EXCEPTION(EUnderflow, EMathError);

TW_DECLARE_EXCEPTION(EListError, Exception);
TW_DECLARE_EXCEPTION(EStringListError, EListError);
TW_DECLARE_EXCEPTION(EBitsError, Exception);
TW_DECLARE_EXCEPTION(EStreamError, Exception);
TW_DECLARE_EXCEPTION(EFCreateError, EStreamError);
TW_DECLARE_EXCEPTION(EFOpenError, EStreamError);
TW_DECLARE_EXCEPTION(EFilerError, EStreamError);
TW_DECLARE_EXCEPTION(EReadError, EFilerError);
TW_DECLARE_EXCEPTION(EWriteError, EFilerError);

// A failed file or OS operation with its error number (errno).
class EInOutError : public Exception {
public:
    EInOutError(std::string Msg, int Code) : Exception(std::move(Msg)), ErrorCode(Code) {}
    int ErrorCode;
};

class EOSError : public Exception {
public:
    EOSError(std::string Msg, int Code) : Exception(std::move(Msg)), ErrorCode(Code) {}
    int ErrorCode;
};

// Raises EOSError for errno Code, worded "<What>: <strerror text>".
[[noreturn]] void RaiseLastOSError(const std::string& What, int Code);

// The class name of any polymorphic object, without namespaces or template arguments.
std::string DemangledClassName(const std::type_info& Type);
