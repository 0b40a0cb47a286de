// imaging/gif/gifexception.h: GIFException, the codec's error, the warning and progress handler
// types, and the exact reads every reader of the codec uses.
#pragma once

#include "platform/gfx/graphic.h"
#include "platform/rtl/geometry.h"
#include "platform/rtl/stream.h"

#include <cstdint>
#include <functional>
#include <string>

TW_DECLARE_EXCEPTION(GIFException, EInvalidGraphic);

// A non-fatal format problem: (Sender, Severity, Message). The codec always uses severity 1.
using TGIFWarning = std::function<void(TObject* Sender, int Severity, const std::string& Message)>;

enum TProgressStage { psStarting, psRunning, psEnding };
using TProgressEvent =
    std::function<void(TObject* Sender, TProgressStage Stage, std::uint8_t PercentDone,
                       bool RedrawNow, const TRect& R, const std::string& Msg)>;

// Reads exactly Count bytes; GIFException "Premature end of data" when fewer are left.
void ReadExact(TStream* Stream, void* Buffer, int64_t Count);
// One byte; false at the end of the stream.
inline bool ReadByte(TStream* Stream, std::uint8_t& Value)
{
    return Stream->Read(&Value, 1) == 1;
}
inline void WriteByte(TStream* Stream, std::uint8_t Value)
{
    Stream->WriteBuffer(&Value, 1);
}
