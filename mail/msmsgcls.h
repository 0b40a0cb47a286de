// mail/msmsgcls.h: the parts of the message model that do the work: attachment items and
// lists (msmsgattach.h), the line reader (msmsglinereader.h), the decoder of stored messages
// (msmsgdecoder.h) and the message encoder (msmsgencoder.h).
#pragma once

#include "mail/msmsgattach.h"
#include "mail/msmsgdecoder.h"
#include "mail/msmsgencoder.h"
#include "mail/msmsglinereader.h"
