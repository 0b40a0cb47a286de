// platform/gfx/metafilewriter.h: a metafile written in our binary form: a versioned header with
// the size and frame, then each record the form keeps, its length first (metafilereader.h reads
// it back).
#pragma once

#include "platform/gfx/metafileformat.h"
#include "platform/rtl/stream.h"

void WriteMetafile(TStream* Stream, const TMetafileContents& Contents);
