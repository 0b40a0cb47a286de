// platform/rtl/events.h: the event types that every unit shares.
#pragma once

#include <functional>

class TObject;

using TNotifyEvent = std::function<void(TObject* Sender)>;
