// desktop/encryp.h: TKessEncryption, the light cipher that keeps mailbox passwords in the
// registry as printable text: a random seed byte, then one byte per character, all as upper-case
// hexadecimal pairs.
#pragma once

#include "platform/rtl/component.h"
#include "platform/rtl/exceptions.h"

#include <string>

enum TActionType { atEncryption, atDecryption };

// A text that no seed lets come back unchanged through the cipher (a character of code 0 that
// no preceding byte of 255 can carry, or a code 255 after one); it is refused, not stored wrong.
TW_DECLARE_EXCEPTION(EKessEncryptionError, Exception);

class TKessEncryption : public TComponent {
public:
    explicit TKessEncryption(TComponent* AOwner);

    const std::string& Input() const { return FInput; }
    void SetInput(const std::string& Value) { FInput = Value; }
    const std::string& Output() const { return FOutput; }
    void SetOutput(const std::string& Value) { FOutput = Value; }
    // Empty means the built-in key.
    const std::string& Key() const { return FKey; }
    void SetKey(const std::string& Value) { FKey = Value; }
    TActionType Action() const { return FAction; }
    void SetAction(TActionType Value) { FAction = Value; }

    // Transforms Input as Action says into Output. An empty Input gives an empty Output.
    // Deciphering a pair that is not two hexadecimal digits raises EConvertError naming it;
    // enciphering a text that cannot come back raises EKessEncryptionError. Output keeps its
    // value on failure.
    void Execute();

    // The two directions on their own. Encipher tries the seeds from Seed on (256 at most).
    static std::string Encipher(const std::string& Plain, const std::string& Key, int Seed);
    static std::string Decipher(const std::string& Cipher, const std::string& Key);

private:
    std::string FInput;
    std::string FOutput;
    std::string FKey;
    TActionType FAction = atEncryption;
};
