#include "platform/rtl/formatsettings.h"

TFormatSettings TFormatSettings::EnglishUS()
{
    return TFormatSettings{};
}

TFormatSettings TFormatSettings::FromLocale(const std::string&)
{
    return EnglishUS();
}

TFormatSettings TFormatSettings::FromEnvironment()
{
    return EnglishUS();
}

TFormatSettings FormatSettings = TFormatSettings::FromEnvironment();
