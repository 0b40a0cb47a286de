// tests/controls/entry/intlfixture.h: a test whose international settings are read from a
// registry of its own and from FormatSettings, which it gives back afterwards.
#pragma once

#include "controls/entry/ovcintl.h"
#include "platform/rtl/formatsettings.h"
#include "tests/support/tempfolder.h"

#include <cstdlib>

class IntlSettingsTest : public TestSupport::TempFolderTest {
protected:
    void SetUp() override { ::setenv("TARNWICK_REGISTRY", Folder.c_str(), 1); }
    void TearDown() override
    {
        FormatSettings = Saved;
        ::unsetenv("TARNWICK_REGISTRY");
    }
    // The settings object as it reads Settings.
    static TOvcIntlSup Read(const TFormatSettings& Settings)
    {
        FormatSettings = Settings;
        return TOvcIntlSup();
    }
    const TFormatSettings Saved = FormatSettings;
};
