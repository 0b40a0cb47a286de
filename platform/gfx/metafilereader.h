// platform/gfx/metafilereader.h: a metafile read from our binary form (metafilewriter.h). Every
// size and value is checked: anything the form cannot hold raises EInvalidGraphic "Metafile is
// not valid". The records come out as the recording device keeps them.
#pragma once

#include "platform/gfx/metafileformat.h"
#include "platform/rtl/stream.h"

TMetafileContents ReadMetafile(TStream* Stream);
